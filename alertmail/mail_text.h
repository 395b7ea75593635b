#pragma once
// Making a CP932 text fit a 7-bit ISO-2022-JP message: ISO-2022-JP has no
// half-width katakana, and mail lines may not exceed 998 bytes.

#include <string>
#include <string_view>
#include <vector>

namespace orvis::alertmail {

// Half-width katakana become their full-width forms (a following voiced or
// semi-voiced mark joins its kana where such a character exists). Single
// bytes that no 7-bit charset can carry (0x80, 0xA0, 0xFD-0xFF) and the
// bytes ESC and NUL, which would break the encoding, become '?'. Two-byte
// characters and ASCII stay as they are.
std::string widenHalfwidthKana(std::string_view sjis);

// Cuts a CP932 line into pieces whose ISO-2022-JP form is at most maxBytes
// long, never inside a character; a piece ends after the last blank or '>'
// in its second half where there is one, so words and HTML tags stay whole.
// A line that fits comes back as the only piece.
std::vector<std::string> foldLine(std::string_view sjis, size_t maxBytes);

}  // namespace orvis::alertmail
