#pragma once
// Shift-JIS (CP932) text to 7-bit ISO-2022-JP, as mail goes out.

#include <cstddef>
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
JisChar jisCharOf(unsigned char lead, unsigned char trail);

// Runs of two-byte characters become ESC $ B ... ESC ( B with their JIS
// bytes; every single byte (ASCII, half-width katakana) is copied as it is.
// A lead byte at the very end is taken with a trail byte of 0.
std::string toIso2022Jp(std::string_view sjis);

// The bytes of the character at `at`: 2 for a lead byte with a byte after
// it, else 1.
size_t characterLength(std::string_view sjis, size_t at);

// The length in bytes of the longest head of `sjis`, in whole characters,
// whose ISO-2022-JP form is at most `maxBytes` long; never less than one
// character of a text that has one, so that cutting a text into such heads
// always ends.
size_t fittingHead(std::string_view sjis, size_t maxBytes);

}  // namespace orvis::mail
