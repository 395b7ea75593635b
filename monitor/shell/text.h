#pragma once

#include <string>
#include <string_view>

namespace orvis {

// The text with every half-width blank (0x20) removed; tabs, full-width
// blanks and everything else stay, in order.
std::string removeBlanks(std::string_view text);

}  // namespace orvis
