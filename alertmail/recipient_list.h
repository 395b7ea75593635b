#pragma once
// The recipients of one mail group in mail/list.txt: the lines that split,
// by the comma-list rules, into exactly two fields whose second is the group
// number as given.

#include <string>
#include <string_view>
#include <vector>

namespace orvis::alertmail {

struct RecipientSelection {
  std::vector<std::string> addresses;  // in list order, each once
  int emptyAddresses = 0;              // group lines with nothing before the comma
  int duplicates = 0;                  // addresses listed again for the group
};

RecipientSelection selectRecipients(std::string_view listText, std::string_view group);

}  // namespace orvis::alertmail
