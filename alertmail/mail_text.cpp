#include "mail_text.h"

#include "mail/iso2022jp.h"
#include "platform/codec.h"

namespace orvis::alertmail {

namespace {

// The full-width forms of the half-width bytes 0xA1 to 0xDF, in order.
constexpr std::string_view kFullWidth =
    "。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノ"
    "ハヒフヘホマミムメモヤユヨラリルレロワン゛゜";

// Every character above is three bytes of UTF-8.
std::vector<std::string> cp932Characters(std::string_view utf8) {
  std::vector<std::string> out;
  for (size_t i = 0; i + 3 <= utf8.size(); i += 3)
    out.push_back(platform::toCp932(utf8.substr(i, 3)));
  return out;
}

const std::vector<std::string>& fullWidthTable() {
  static const std::vector<std::string> table = cp932Characters(kFullWidth);
  return table;
}

// The kana that take the voiced mark 0xDE: ｳ, ｶ to ﾄ, ﾊ to ﾎ.
std::string voiced(unsigned char c) {
  static const std::vector<std::string> ka = cp932Characters("ガギグゲゴザジズゼゾダヂヅデド");
  static const std::vector<std::string> ha = cp932Characters("バビブベボ");
  static const std::string vu = platform::toCp932("ヴ");
  if (c == 0xB3) return vu;
  if (c >= 0xB6 && c <= 0xC4) return ka[c - 0xB6];
  if (c >= 0xCA && c <= 0xCE) return ha[c - 0xCA];
  return {};
}

// The kana that take the semi-voiced mark 0xDF: ﾊ to ﾎ.
std::string semiVoiced(unsigned char c) {
  static const std::vector<std::string> ha = cp932Characters("パピプペポ");
  if (c >= 0xCA && c <= 0xCE) return ha[c - 0xCA];
  return {};
}

bool isHalfwidthKana(unsigned char c) { return c >= 0xA1 && c <= 0xDF; }

}  // namespace

std::string widenHalfwidthKana(std::string_view sjis) {
  std::string out;
  out.reserve(sjis.size());
  for (size_t i = 0; i < sjis.size();) {
    auto c = static_cast<unsigned char>(sjis[i]);
    size_t len = mail::characterLength(sjis, i);
    if (len == 2) {
      out.append(sjis.substr(i, 2));
    } else if (isHalfwidthKana(c)) {
      auto next = i + 1 < sjis.size() ? static_cast<unsigned char>(sjis[i + 1]) : 0;
      std::string joined = next == 0xDE ? voiced(c) : next == 0xDF ? semiVoiced(c) : std::string();
      if (!joined.empty()) {
        out += joined;
        ++i;
      } else {
        out += fullWidthTable()[c - 0xA1];
      }
    } else if (c >= 0x80 || c == 0x1B || c == 0x00) {
      out += '?';
    } else {
      out += static_cast<char>(c);
    }
    i += len;
  }
  return out;
}

std::vector<std::string> foldLine(std::string_view sjis, size_t maxBytes) {
  std::vector<std::string> pieces;
  while (true) {
    size_t end = mail::fittingHead(sjis, maxBytes);
    if (end >= sjis.size()) {
      pieces.emplace_back(sjis);
      return pieces;
    }
    size_t lastBreak = 0;  // end of the piece after the last blank or '>'
    for (size_t i = 0; i < end; i += mail::characterLength(sjis, i)) {
      if (sjis[i] == ' ' || sjis[i] == '>') lastBreak = i + 1;
    }
    if (lastBreak > end / 2) end = lastBreak;
    pieces.emplace_back(sjis.substr(0, end));
    sjis.remove_prefix(end);
  }
}

}  // namespace orvis::alertmail
