#pragma once
// Whom one alert goes to: the addresses of the group's lines in the
// recipient list, each once, with the lines passed over counted for the log.

#include <string>
#include <string_view>
#include <vector>

#include "mail/recipient_list.h"

namespace orvis::alertmail {

struct GroupRecipients {
  std::vector<std::string> addresses;  // in list order, each once
  int emptyAddresses = 0;              // group lines with nothing before the comma
  int duplicates = 0;  // addresses listed again for the group (the domain's case aside)
};

GroupRecipients selectGroupRecipients(const mail::RecipientList& list, std::string_view group);

}  // namespace orvis::alertmail
