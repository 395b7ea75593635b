#pragma once
// The parts of one line of a FILE listing: a 19-character stamp, "@" and
// the path. A line too short for them has what it holds of the stamp and
// an empty path.

#include <cstddef>
#include <string_view>

namespace orvis::listing_line {

inline constexpr std::size_t kStampLength = 19;
inline constexpr std::size_t kPathStart = kStampLength + 1;  // after the stamp and "@"

inline std::string_view stampOf(std::string_view line) { return line.substr(0, kStampLength); }
inline std::string_view pathOf(std::string_view line) {
  return line.size() > kPathStart ? line.substr(kPathStart) : std::string_view();
}
// "@" is the listing of nothing; an empty line names no file either.
inline bool namesAFile(std::string_view line) { return !line.empty() && line != "@"; }

}  // namespace orvis::listing_line
