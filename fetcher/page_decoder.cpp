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

// One source of the charset, as it reads the page.
struct PageStreamDecoder::Candidate {
  std::string label{};  // as the source names it, for the result
  std::string source{};
  bool fits = true;       // false: a label no charset can have
  bool asIs = false;      // the bytes stay (Shift-JIS, or no charset found)
  std::string charset{};  // the converter's name of it otherwise
  size_t markBytes = 0;   // a byte-order mark of the charset itself: not content
  bool askStop = true;    // when it does not fit: has time run out meanwhile?
};

namespace {

using Candidate = PageStreamDecoder::Candidate;

// How `label` reads a page that starts with `head`.
Candidate candidateFor(std::string label, std::string_view head, std::string source) {
  Candidate c{label, std::move(source)};
  if (label.empty() || !std::all_of(label.begin(), label.end(), isLabelChar)) {
    c.fits = false;
    return c;
  }
  if (isShiftJisName(label)) {
    c.asIs = true;
    return c;
  }
  if (label == "utf8") label = "utf-8";
  if (const Bom* bom = findBom(head)) {
    // A mark of the charset itself is not content; it also tells the byte
    // order where the label does not.
    std::string_view mark = bom->charset;
    if (mark == label || (label == "utf-16" && mark.starts_with("utf-16")) ||
        (label == "utf-32" && mark.starts_with("utf-32"))) {
      label = mark;
      c.markBytes = bom->bytes.size();
    }
  }
  c.charset = label == "utf-8" ? "UTF-8" : iconvName(label);
  return c;
}

// Every source that applies to the page, in the order they are tried.
std::vector<Candidate> candidatesFor(std::string_view contentType, std::string_view head) {
  std::vector<Candidate> all;
  if (auto label = charsetFromContentType(contentType))
    all.push_back(candidateFor(*label, head, "Content-Type"));
  if (const Bom* bom = findBom(head)) all.push_back(candidateFor(bom->charset, head, "BOM"));
  if (auto label = charsetFromMarkup(head)) {
    // Markup that can be read as ASCII is not UTF-16 or UTF-32, whatever it
    // says; browsers read such a page as UTF-8.
    if (label->starts_with("utf-16") || label->starts_with("utf-32")) *label = "utf-8";
    all.push_back(candidateFor(*label, head, "meta"));
  }
  // Not valid UTF-8 only means there is no charset to go by.
  Candidate utf8{"utf-8", "UTF-8 check"};
  utf8.charset = "UTF-8";
  utf8.askStop = false;
  all.push_back(utf8);
  Candidate received{"", "as received"};
  received.asIs = true;
  all.push_back(received);
  return all;
}

}  // namespace

// The page read in one candidate's charset.
class PageStreamDecoder::Attempt {
 public:
  using Result = platform::Cp932Stream::Result;

  Attempt(const Candidate& candidate, DecodedOutput& out, const platform::StopCheck& stop)
      : out_(out), skip_(candidate.markBytes) {
    if (!candidate.fits) state_ = Result::DoesNotFit;
    if (candidate.fits && !candidate.asIs)
      stream_ = std::make_unique<platform::Cp932Stream>(candidate.charset, stop);
  }

  Result add(std::string_view bytes) {
    const size_t skipped = std::min(skip_, bytes.size());
    skip_ -= skipped;
    bytes.remove_prefix(skipped);
    if (state_ != Result::Fits) return state_;
    if (!stream_) {
      out_.write(bytes);
      return state_;
    }
    state_ = stream_->add(bytes, converted_);
    return flush();
  }

  Result finish() {
    if (state_ == Result::Fits && stream_) state_ = stream_->finish(converted_);
    return flush();
  }

 private:
  Result flush() {
    if (state_ == Result::Fits) out_.write(converted_);
    converted_.clear();
    return state_;
  }

  DecodedOutput& out_;
  size_t skip_;
  std::unique_ptr<platform::Cp932Stream> stream_;  // none: the bytes stay
  std::string converted_;
  Result state_ = Result::Fits;
};

PageStreamDecoder::PageStreamDecoder(std::string_view contentType, DecodedOutput& out,
                                     PageReplay replay, platform::StopCheck stop)
    : contentType_(contentType), out_(out), replay_(std::move(replay)), stop_(std::move(stop)) {}

PageStreamDecoder::~PageStreamDecoder() = default;

void PageStreamDecoder::choose() {
  candidates_ = candidatesFor(contentType_, head_);
  start(0);
}

void PageStreamDecoder::start(size_t index) {
  current_ = index;
  attempt_ = std::make_unique<Attempt>(candidates_[index], out_, stop_);
}

void PageStreamDecoder::add(std::string_view piece) {
  if (givenUp_) return;
  if (candidates_.empty()) {
    const size_t n = std::min(piece.size(), kMarkupScanBytes - head_.size());
    head_.append(piece.substr(0, n));
    piece.remove_prefix(n);
    if (head_.size() < kMarkupScanBytes) return;
    choose();
    if (!push(head_)) return;
  }
  push(piece);
}

// False when the piece was not taken as it is: the charset changed (and
// the page so far, the piece with it, was read again) or time ran out.
bool PageStreamDecoder::push(std::string_view bytes) {
  switch (attempt_->add(bytes)) {
    case Attempt::Result::Fits:
      return true;
    case Attempt::Result::Stopped:
      givenUp_ = true;
      return false;
    case Attempt::Result::DoesNotFit:
      advance();
      return false;
  }
  return false;
}

// The candidate tried does not fit: on to the next that does, the page so
// far read again for it.
void PageStreamDecoder::advance() {
  while (current_ + 1 < candidates_.size()) {
    // A conversion that finds no result because time ran out must not make
    // way for the next hint: the page is given up.
    if (candidates_[current_].askStop && stop_ && stop_()) {
      givenUp_ = true;
      return;
    }
    start(current_ + 1);
    out_.restart();
    Attempt::Result result = Attempt::Result::Fits;
    const bool read = replay_([&](std::string_view piece) {
      if (result == Attempt::Result::Fits) result = attempt_->add(piece);
    });
    if (result == Attempt::Result::Stopped) {
      givenUp_ = true;
      return;
    }
    if (read && result == Attempt::Result::Fits) return;
  }
}

DecodedPage PageStreamDecoder::finish() {
  if (!givenUp_ && candidates_.empty()) {
    choose();
    push(head_);
  }
  while (!givenUp_) {
    switch (attempt_->finish()) {
      case Attempt::Result::Fits: {
        const Candidate& c = candidates_[current_];
        return {{}, c.label, c.source};
      }
      case Attempt::Result::Stopped:
        givenUp_ = true;
        break;
      case Attempt::Result::DoesNotFit:
        // The last candidate keeps the bytes as they are: it always fits.
        if (current_ + 1 == candidates_.size()) return {{}, {}, {}, true};
        advance();
        break;
    }
  }
  return {{}, {}, {}, true};
}

namespace {

struct TextOutput : DecodedOutput {
  void write(std::string_view bytes) override { text.append(bytes); }
  void restart() override { text.clear(); }
  std::string text;
};

}  // namespace

DecodedPage decodePage(std::string_view body, std::string_view contentType,
                       const platform::StopCheck& stop) {
  TextOutput out;
  PageStreamDecoder decoder(
      contentType, out,
      [body](const std::function<void(std::string_view)>& take) {
        take(body);
        return true;
      },
      stop);
  decoder.add(body);
  DecodedPage page = decoder.finish();
  if (!page.givenUp) page.bytes = std::move(out.text);
  return page;
}

}  // namespace orvis::fetcher
