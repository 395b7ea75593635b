#pragma once
// Lowercasing as the comparison does it: the ASCII letters A to Z only.

#include <cstddef>
#include <string_view>

namespace orvis {

inline char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
inline char upperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

// True when `text`, lowercased, begins with `lowerStart`.
inline bool beginsWithLower(std::string_view text, std::string_view lowerStart) {
  if (text.size() < lowerStart.size()) return false;
  for (std::size_t i = 0; i < lowerStart.size(); ++i)
    if (lowerAscii(text[i]) != lowerStart[i]) return false;
  return true;
}

}  // namespace orvis
