#include "ip_address.h"

#include "platform/bytes.h"

namespace orvis {

bool isValidIpAddress(std::string_view text) {
  if (text.empty()) return false;
  const std::string asList = platform::replaceAll(platform::replaceAll(text, ",", "#"), ".", ",");
  const std::vector<std::string> fields = platform::splitCommaList(asList);
  if (fields.size() != 4) return false;
  for (const std::string& field : fields) {
    const auto number = platform::parseInt(field);
    if (!number || *number < 0 || *number > 254) return false;
  }
  return true;
}

}  // namespace orvis
