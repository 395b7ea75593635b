#include "group_recipients.h"

#include <algorithm>

namespace orvis::alertmail {

GroupRecipients selectGroupRecipients(const mail::RecipientList& list, std::string_view group) {
  GroupRecipients selected;
  for (const mail::RecipientLine& member : list.members(group)) {
    const std::string& address = member.address;
    if (address.empty()) {
      ++selected.emptyAddresses;
      continue;
    }
    // One alert per person, however often the list names them.
    auto& seen = selected.addresses;
    if (std::find(seen.begin(), seen.end(), address) != seen.end()) {
      ++selected.duplicates;
      continue;
    }
    seen.push_back(address);
  }
  return selected;
}

}  // namespace orvis::alertmail
