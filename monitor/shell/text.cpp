#include "text.h"

namespace orvis {

std::string removeBlanks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text)
    if (c != ' ') out += c;
  return out;
}

}  // namespace orvis
