#pragma once

#include <string_view>

namespace orvis {

// A proxy address as the settings accept it: four whole numbers from 0 to
// 254 joined by points. The points are read as the commas of a recipient
// list line (and a comma typed in the address as no separator at all), so
// blanks around the numbers are passed over as there.
bool isValidIpAddress(std::string_view text);

}  // namespace orvis
