#pragma once
// Searching CP932 text character by character: a match must begin where a
// character begins, so that the trail byte of one two-byte character and
// the lead byte of the next are never taken for a character of their own.

#include <cstddef>
#include <string_view>

namespace orvis {

// The position of the first occurrence of `needle` in `text` that starts at
// a character boundary, counted from the start of `text`; npos when there
// is none. An empty needle is never found.
std::size_t findAtCharacter(std::string_view text, std::string_view needle);

// Whether any line of `text` (lines end at CR, LF or CR LF) holds `needle`
// at a character boundary. An empty needle is never found.
bool anyLineContains(std::string_view text, std::string_view needle);

}  // namespace orvis
