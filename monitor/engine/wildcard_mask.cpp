#include "wildcard_mask.h"

#include <cstdint>

namespace orvis {
namespace {

// Stand-ins for the DOS wildcards that the Windows listing turns some '*',
// '?' and '.' into, outside the range of real characters.
constexpr char32_t kAnyRun = 0x110000;        // '*'
constexpr char32_t kRunToLastDot = 0x110001;  // '*' before '.'
constexpr char32_t kOneOrNone = 0x110002;     // '?': also nothing at a '.' or the end
constexpr char32_t kDotOrEnd = 0x110003;      // '.' before '*', '?' or the end

char32_t lowerAscii(char32_t c) { return (c >= U'A' && c <= U'Z') ? c + 32 : c; }

// Code points of UTF-8 text; a byte that starts no valid sequence stands for
// itself, apart from every real character.
std::vector<char32_t> decode(std::string_view s) {
  std::vector<char32_t> out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    size_t len = c < 0x80             ? 1
                 : (c & 0xE0) == 0xC0 ? 2
                 : (c & 0xF0) == 0xE0 ? 3
                 : (c & 0xF8) == 0xF0 ? 4
                                      : 0;
    char32_t v = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
    bool ok = len > 0 && i + len <= s.size();
    for (size_t k = 1; ok && k < len; ++k) {
      unsigned char t = static_cast<unsigned char>(s[i + k]);
      ok = (t & 0xC0) == 0x80;
      v = (v << 6) | (t & 0x3F);
    }
    if (!ok) {
      out.push_back(0x120000 + c);
      ++i;
      continue;
    }
    out.push_back(lowerAscii(v));
    i += len;
  }
  return out;
}

}  // namespace

WildcardMask::WildcardMask(std::string_view utf8Mask) {
  std::vector<char32_t> raw = decode(utf8Mask);
  for (size_t i = 0; i < raw.size(); ++i) {
    char32_t next = i + 1 < raw.size() ? raw[i + 1] : 0;
    char32_t c = raw[i];
    if (c == U'?')
      c = kOneOrNone;
    else if (c == U'*')
      c = next == U'.' ? kRunToLastDot : kAnyRun;
    else if (c == U'.' && (next == U'*' || next == U'?' || next == 0))
      c = kDotOrEnd;
    pattern_.push_back(c);
  }
  everything_ = pattern_.size() == 1 && pattern_[0] == kAnyRun;
  dotNames_ = !raw.empty() && raw.front() == U'.';
}

bool WildcardMask::matches(std::string_view utf8Name) const {
  if (everything_) return true;
  const std::vector<char32_t> name = decode(utf8Name);
  const size_t m = pattern_.size(), n = name.size();
  size_t lastDot = n;
  for (size_t j = 0; j < n; ++j)
    if (name[j] == U'.') lastDot = j;
  // at(i, j): pattern from i matches name from j. Filled from the end, so
  // every case reads only cells already known.
  std::vector<uint8_t> table((m + 1) * (n + 1), 0);
  auto at = [&](size_t i, size_t j) -> uint8_t& { return table[i * (n + 1) + j]; };
  at(m, n) = 1;
  for (size_t i = m; i-- > 0;) {
    for (size_t j = n + 1; j-- > 0;) {
      const bool more = j < n;
      const char32_t p = pattern_[i];
      bool r = false;
      if (p == kAnyRun) {
        r = at(i + 1, j) || (more && at(i, j + 1));
      } else if (p == kRunToLastDot) {
        r = at(i + 1, j) || (more && j != lastDot && at(i, j + 1));
      } else if (p == kOneOrNone) {
        r = (more && name[j] != U'.' && at(i + 1, j + 1)) ||
            ((!more || name[j] == U'.') && at(i + 1, j));
      } else if (p == kDotOrEnd) {
        r = (more && name[j] == U'.' && at(i + 1, j + 1)) || (!more && at(i + 1, j));
      } else {
        r = more && name[j] == p && at(i + 1, j + 1);
      }
      at(i, j) = r;
    }
  }
  return at(0, 0);
}

}  // namespace orvis
