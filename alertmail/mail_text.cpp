#include "mail_text.h"

#include <array>

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

size_t characterLength(std::string_view s, size_t i) {
  if (!platform::isLeadByte(static_cast<unsigned char>(s[i]))) return 1;
  return i + 1 < s.size() ? 2 : 1;
}

}  // namespace

std::string widenHalfwidthKana(std::string_view sjis) {
  std::string out;
  out.reserve(sjis.size());
  for (size_t i = 0; i < sjis.size();) {
    auto c = static_cast<unsigned char>(sjis[i]);
    size_t len = characterLength(sjis, i);
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

namespace {

// Tracks the ISO-2022-JP length of a growing CP932 text.
struct IsoLength {
  size_t bytes = 0;
  bool twoByteMode = false;

  // The length after appending a character of `len` bytes.
  size_t with(size_t len) const { return bytes + cost(len); }
  size_t cost(size_t len) const {
    if (len == 2) return twoByteMode ? 2 : 5;  // ESC $ B before a run
    return twoByteMode ? 4 : 1;                // ESC ( B after a run
  }
  void add(size_t len) {
    bytes = with(len);
    twoByteMode = len == 2;
  }
  // Including the escape that closes an open run.
  size_t closed() const { return bytes + (twoByteMode ? 3 : 0); }
};

}  // namespace

size_t iso2022JpLength(std::string_view sjis) {
  IsoLength length;
  for (size_t i = 0; i < sjis.size(); i += characterLength(sjis, i))
    length.add(characterLength(sjis, i));
  return length.closed();
}

std::vector<std::string> foldLine(std::string_view sjis, size_t maxBytes) {
  std::vector<std::string> pieces;
  size_t start = 0;
  while (true) {
    IsoLength length;
    size_t end = start;
    size_t lastBreak = 0;  // end of the piece after the last blank or '>'
    while (end < sjis.size()) {
      size_t len = characterLength(sjis, end);
      size_t closedAfter = length.with(len) + (len == 2 ? 3 : 0);
      if (closedAfter > maxBytes && end > start) break;
      length.add(len);
      end += len;
      if (len == 1 && (sjis[end - 1] == ' ' || sjis[end - 1] == '>')) lastBreak = end;
    }
    if (end >= sjis.size()) {
      pieces.emplace_back(sjis.substr(start));
      return pieces;
    }
    if (lastBreak > start + (end - start) / 2) end = lastBreak;
    pieces.emplace_back(sjis.substr(start, end - start));
    start = end;
  }
}

}  // namespace orvis::alertmail
