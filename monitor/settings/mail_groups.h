#pragma once
// The mail groups on disk: a group file "mail/Group-n.txt" whose first line
// is the group's name, and the group's recipients in the recipient list
// "mail/list.txt" (an address, a comma and n on each line).

#include <string>
#include <vector>

namespace orvis {

class MailGroups {
 public:
  explicit MailGroups(const std::string& dataFolder) : dataFolder_(dataFolder) {}

  // The first line of the group file, trimmed; empty without a file.
  std::string name(int group) const;
  // The group file with the name as its only line.
  bool writeName(int group, const std::string& name) const;
  void removeName(int group) const;

  // The addresses of the group, in list order. A missing list is created
  // empty (with "mail/"), so that the sender finds one.
  std::vector<std::string> recipients(int group) const;
  // Replaces the group's recipients: the other groups' lines stay as they
  // are and in their order, the group's new lines (address + "," + n)
  // follow them. Lines that belong to no group are dropped.
  bool storeRecipients(int group, const std::vector<std::string>& addresses) const;

  std::string listPath() const { return dataFolder_ + "mail/list.txt"; }

 private:
  void createEmptyListIfMissing() const;

  std::string dataFolder_;
};

}  // namespace orvis
