#include "recipient_list.h"

#include <algorithm>

#include "mail/recipient_list.h"
#include "platform/bytes.h"

namespace orvis::alertmail {

RecipientSelection selectRecipients(std::string_view listText, std::string_view group) {
  RecipientSelection selection;
  for (const std::string& line : platform::splitLines(listText)) {
    std::optional<RecipientLine> recipient = splitRecipientLine(line);
    if (!recipient || recipient->group != group) continue;
    const std::string& address = recipient->address;
    if (address.empty()) {
      ++selection.emptyAddresses;
      continue;
    }
    // One alert per person, however often the list names them.
    auto& seen = selection.addresses;
    if (std::find(seen.begin(), seen.end(), address) != seen.end()) {
      ++selection.duplicates;
      continue;
    }
    seen.push_back(address);
  }
  return selection;
}

}  // namespace orvis::alertmail
