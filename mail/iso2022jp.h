#pragma once
// Shift-JIS (CP932) text to 7-bit ISO-2022-JP, as mail goes out.

#include <cstdint>
#include <string>
#include <string_view>

namespace orvis::mail {

// The JIS X 0208 bytes of one two-byte Shift-JIS character (the standard
// arithmetic mapping); the geta mark 0x22 0x2E when the lead byte is not in
// 0x81-0x9F/0xE0-0xFC, the trail byte not in 0x40-0x7E/0x80-0xFC, or the
// result falls outside the JIS rows.
struct JisChar {
  unsigned char high, low;
};
JisChar ToJisChar(unsigned char lead, unsigned char trail);

// Runs of two-byte characters become ESC $ B ... ESC ( B with their JIS
// bytes; every single byte (ASCII, half-width katakana) is copied as it is.
// A lead byte at the very end is taken with a trail byte of 0.
std::string ToIso2022Jp(std::string_view sjis);

}  // namespace orvis::mail
