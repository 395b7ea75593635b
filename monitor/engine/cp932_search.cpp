#include "cp932_search.h"

#include "platform/codec.h"

namespace orvis {

std::size_t findAtCharacter(std::string_view text, std::string_view needle) {
  if (needle.empty()) return std::string_view::npos;
  // `boundary` walks the characters and never passes a candidate, so the
  // whole search stays linear.
  std::size_t boundary = 0;
  for (std::size_t at = text.find(needle); at != std::string_view::npos;
       at = text.find(needle, at + 1)) {
    while (boundary < at)
      boundary += platform::isLeadByte(static_cast<unsigned char>(text[boundary])) ? 2 : 1;
    if (boundary == at) return at;
  }
  return std::string_view::npos;
}

bool anyLineContains(std::string_view text, std::string_view needle) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    if (findAtCharacter(text.substr(start, end - start), needle) != std::string_view::npos)
      return true;
    // CR LF ends one line, not two.
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return false;
}

}  // namespace orvis
