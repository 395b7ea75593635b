#include "group_recipients.h"

#include <algorithm>

#include "platform/bytes.h"

namespace orvis::alertmail {

namespace {

// One mailbox, one spelling: the domain is case-blind, the local part is
// not (the receiving server alone may decide that A@x.jp is a@x.jp).
std::string mailboxKey(std::string_view address) {
  size_t at = address.rfind('@');
  if (at == std::string_view::npos) return std::string(address);
  return std::string(address.substr(0, at + 1)) + platform::asciiLower(address.substr(at + 1));
}

}  // namespace

GroupRecipients selectGroupRecipients(const mail::RecipientList& list, std::string_view group) {
  GroupRecipients selected;
  std::vector<std::string> keys;
  for (const mail::RecipientLine& member : list.members(group)) {
    // A quoted address keeps its blanks in the list; they are no part of it.
    const std::string address = platform::trim(member.address);
    if (address.empty()) {
      ++selected.emptyAddresses;
      continue;
    }
    // One alert per mailbox, however often the list names it.
    std::string key = mailboxKey(address);
    if (std::find(keys.begin(), keys.end(), key) != keys.end()) {
      ++selected.duplicates;
      continue;
    }
    keys.push_back(std::move(key));
    selected.addresses.push_back(address);
  }
  return selected;
}

}  // namespace orvis::alertmail
