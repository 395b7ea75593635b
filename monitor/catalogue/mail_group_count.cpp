#include "mail_group_count.h"

#include <algorithm>

#include "platform/bytes.h"

namespace orvis {

MailGroupsOffered mailGroupsOffered(const std::string& stored) {
  const auto count = platform::parseInt(stored);
  if (!count || *count < 1) return {1, false};
  return {std::min(*count, kMaxMailGroups), *count <= kMaxMailGroups};
}

}  // namespace orvis
