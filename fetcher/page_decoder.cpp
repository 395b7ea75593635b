#include "page_decoder.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "platform/bytes.h"
#include "platform/codec.h"

namespace orvis::fetcher {
namespace {

constexpr size_t kMarkupScanBytes = 4096;

bool isLabelChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == '.' ||
         c == ':';
}

// The label after "charset" (or "encoding") at `pos`: optional blanks, '=',
// optional blanks and quote, then the name.
std::optional<std::string> labelAfter(std::string_view text, size_t pos) {
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  if (pos >= text.size() || text[pos] != '=') return std::nullopt;
  ++pos;
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  if (pos < text.size() && (text[pos] == '"' || text[pos] == '\'')) ++pos;
  size_t end = pos;
  while (end < text.size() && isLabelChar(text[end])) ++end;
  if (end == pos) return std::nullopt;
  return std::string(text.substr(pos, end - pos));
}

struct Bom {
  std::string_view bytes;
  const char* charset;
};

// Longest first: the UTF-32 little-endian mark starts like UTF-16's.
constexpr std::array<Bom, 5> kBoms{{
    {std::string_view("\xFF\xFE\x00\x00", 4), "utf-32le"},
    {std::string_view("\x00\x00\xFE\xFF", 4), "utf-32be"},
    {std::string_view("\xEF\xBB\xBF", 3), "utf-8"},
    {std::string_view("\xFF\xFE", 2), "utf-16le"},
    {std::string_view("\xFE\xFF", 2), "utf-16be"},
}};

const Bom* findBom(std::string_view body) {
  for (const Bom& bom : kBoms) {
    if (body.starts_with(bom.bytes)) return &bom;
  }
  return nullptr;
}

// Labels that browsers read as another charset than iconv would.
std::string iconvName(const std::string& label) {
  if (label == "iso-8859-1" || label == "latin1" || label == "us-ascii" || label == "ascii") {
    return "WINDOWS-1252";
  }
  if (label == "x-euc-jp") return "EUC-JP";
  if (label == "utf-16") return "UTF-16LE";  // no mark left to tell: the web's default
  return label;
}

// The page in CP932 when `label` names a charset that fits the bytes.
std::optional<std::string> convert(std::string_view body, std::string label,
                                   const platform::StopCheck& stop) {
  if (label.empty() || !std::all_of(label.begin(), label.end(), isLabelChar)) return std::nullopt;
  if (isShiftJisName(label)) return std::string(body);
  if (label == "utf8") label = "utf-8";
  if (const Bom* bom = findBom(body)) {
    // A mark of the charset itself is not content; it also tells the byte
    // order where the label does not.
    std::string_view mark = bom->charset;
    if (mark == label || (label == "utf-16" && mark.starts_with("utf-16")) ||
        (label == "utf-32" && mark.starts_with("utf-32"))) {
      label = mark;
      body.remove_prefix(bom->bytes.size());
    }
  }
  if (label == "utf-8") {
    if (!platform::isValidUtf8(body)) return std::nullopt;
    return platform::charsetToCp932(body, "UTF-8", stop);
  }
  return platform::charsetToCp932(body, iconvName(label), stop);
}

}  // namespace

bool isShiftJisName(std::string_view label) {
  static const std::array<std::string_view, 11> names{
      "shift_jis", "shift-jis", "sjis",       "x-sjis",       "windows-31j", "cp932",
      "ms932",     "ms_kanji",  "csshiftjis", "cswindows31j", "x-ms-cp932"};
  std::string lower = platform::asciiLower(label);
  return std::find(names.begin(), names.end(), lower) != names.end();
}

std::optional<std::string> charsetFromContentType(std::string_view contentType) {
  std::string lower = platform::asciiLower(contentType);
  for (size_t pos = lower.find("charset"); pos != std::string::npos;
       pos = lower.find("charset", pos + 1)) {
    // A parameter name: at the start of a parameter, not inside another word.
    size_t before = lower.find_last_not_of(" \t", pos == 0 ? std::string::npos : pos - 1);
    if (pos != 0 && (before == std::string::npos || lower[before] != ';')) continue;
    if (auto label = labelAfter(lower, pos + 7)) return label;
  }
  return std::nullopt;
}

std::optional<std::string> charsetFromMarkup(std::string_view body) {
  std::string head = platform::asciiLower(body.substr(0, std::min(body.size(), kMarkupScanBytes)));
  for (size_t tag = head.find("<meta"); tag != std::string::npos;
       tag = head.find("<meta", tag + 5)) {
    size_t end = head.find('>', tag);
    std::string_view attributes = std::string_view(head).substr(
        tag, end == std::string::npos ? std::string::npos : end - tag);
    for (size_t pos = attributes.find("charset"); pos != std::string_view::npos;
         pos = attributes.find("charset", pos + 7)) {
      if (auto label = labelAfter(attributes, pos + 7)) return label;
    }
  }
  if (head.starts_with("<?xml")) {
    size_t end = head.find("?>");
    std::string_view declaration = std::string_view(head).substr(0, end);
    size_t pos = declaration.find("encoding");
    if (pos != std::string_view::npos) return labelAfter(declaration, pos + 8);
  }
  return std::nullopt;
}

DecodedPage decodePage(std::string_view body, std::string_view contentType,
                       const platform::StopCheck& stop) {
  // A conversion that finds no result because time ran out must not make
  // way for the next hint: the page is given up.
  auto givenUp = [&stop] { return stop && stop(); };
  if (auto label = charsetFromContentType(contentType)) {
    if (auto bytes = convert(body, *label, stop))
      return {std::move(*bytes), *label, "Content-Type"};
    if (givenUp()) return {{}, {}, {}, true};
  }
  if (const Bom* bom = findBom(body)) {
    if (auto bytes = convert(body, bom->charset, stop))
      return {std::move(*bytes), bom->charset, "BOM"};
    if (givenUp()) return {{}, {}, {}, true};
  }
  if (auto label = charsetFromMarkup(body)) {
    // Markup that can be read as ASCII is not UTF-16 or UTF-32, whatever it
    // says; browsers read such a page as UTF-8.
    if (label->starts_with("utf-16") || label->starts_with("utf-32")) *label = "utf-8";
    if (auto bytes = convert(body, *label, stop)) return {std::move(*bytes), *label, "meta"};
    if (givenUp()) return {{}, {}, {}, true};
  }
  if (platform::isValidUtf8(body)) {
    if (auto bytes = platform::charsetToCp932(body, "UTF-8", stop))
      return {std::move(*bytes), "utf-8", "UTF-8 check"};
    return {{}, {}, {}, true};
  }
  return {std::string(body), "", "as received"};
}

}  // namespace orvis::fetcher
