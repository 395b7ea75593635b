#include "iso2022jp.h"

#include "platform/codec.h"

namespace orvis::mail {
namespace {
constexpr JisChar kGeta{0x22, 0x2E};
constexpr char kToJis[] = "\x1b$B";
constexpr char kToAscii[] = "\x1b(B";
constexpr size_t kEscapeLength = 3;

bool isTrail(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }
bool isLead(std::string_view s, size_t at) {
  return platform::isLeadByte(static_cast<unsigned char>(s[at]));
}
}  // namespace

JisChar jisCharOf(unsigned char lead, unsigned char trail) {
  if (!platform::isLeadByte(lead) || !isTrail(trail)) return kGeta;
  unsigned int h = lead - (lead >= 0xA0 ? 0xC1u : 0x81u);
  unsigned int code;
  if (trail >= 0x9F) {
    code = ((h << 9) + 0x2200u) | (trail - 0x7Eu);
  } else {
    code = ((h << 9) + 0x2100u) | (trail - (trail <= 0x7E ? 0x1Fu : 0x20u));
  }
  unsigned int high = code >> 8, low = code & 0xFF;
  // The user-defined area (lead 0xF0 on) lies beyond the JIS rows.
  if (high < 0x21 || high > 0x7E || low < 0x21 || low > 0x7E) return kGeta;
  return JisChar{static_cast<unsigned char>(high), static_cast<unsigned char>(low)};
}

std::string toIso2022Jp(std::string_view sjis) {
  std::string out;
  out.reserve(sjis.size() + 8);
  bool twoByte = false;
  for (size_t i = 0; i < sjis.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(sjis[i]);
    if (platform::isLeadByte(c)) {
      if (!twoByte) {
        out += kToJis;
        twoByte = true;
      }
      unsigned char trail = i + 1 < sjis.size() ? static_cast<unsigned char>(sjis[i + 1]) : 0;
      JisChar j = jisCharOf(c, trail);
      out += static_cast<char>(j.high);
      out += static_cast<char>(j.low);
      ++i;
    } else {
      if (twoByte) {
        out += kToAscii;
        twoByte = false;
      }
      out += static_cast<char>(c);
    }
  }
  if (twoByte) out += kToAscii;
  return out;
}

size_t characterLength(std::string_view sjis, size_t at) {
  return isLead(sjis, at) && at + 1 < sjis.size() ? 2 : 1;
}

size_t fittingHead(std::string_view sjis, size_t maxBytes) {
  // The ISO-2022-JP length grows with every character, so the first one
  // that does not fit ends the head. A lone lead byte at the end counts as
  // the two-byte character it becomes.
  size_t isoBytes = 0;
  bool twoByte = false;
  size_t end = 0;
  while (end < sjis.size()) {
    bool lead = isLead(sjis, end);
    size_t grown = isoBytes + (lead == twoByte ? 0 : kEscapeLength) + (lead ? 2 : 1);
    size_t closed = grown + (lead ? kEscapeLength : 0);
    if (closed > maxBytes && end > 0) break;
    isoBytes = grown;
    twoByte = lead;
    end += characterLength(sjis, end);
  }
  return end;
}

}  // namespace orvis::mail
