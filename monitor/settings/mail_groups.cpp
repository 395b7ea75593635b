#include "mail_groups.h"

#include "mail/recipient_list.h"
#include "monitor/catalogue/job_paths.h"
#include "platform/bytes.h"
#include "platform/files.h"

namespace orvis {

std::string MailGroups::name(int group) const {
  return platform::trim(platform::readFirstLine(mailGroupFile(dataFolder_, std::to_string(group))));
}

bool MailGroups::writeName(int group, const std::string& name) const {
  platform::makeFolders(dataFolder_ + "mail");
  return platform::writeFileAtomic(mailGroupFile(dataFolder_, std::to_string(group)),
                                   platform::joinLinesCrLf({name}));
}

void MailGroups::removeName(int group) const {
  platform::removeFile(mailGroupFile(dataFolder_, std::to_string(group)));
}

void MailGroups::createEmptyListIfMissing() const {
  if (platform::pathExists(listPath())) return;
  platform::makeFolders(dataFolder_ + "mail");
  platform::writeFileAtomic(listPath(), "");
}

std::vector<std::string> MailGroups::recipients(int group) const {
  auto list = mail::RecipientList::load(listPath());
  if (!list) {
    createEmptyListIfMissing();
    return {};
  }
  return list->addresses(std::to_string(group));
}

bool MailGroups::storeRecipients(int group, const std::vector<std::string>& addresses) const {
  const std::string n = std::to_string(group);
  createEmptyListIfMissing();
  auto list = mail::RecipientList::load(listPath());
  // A list that exists but cannot be read is not replaced: the other
  // groups' recipients would be lost with it.
  if (!list) return false;
  std::vector<std::string> lines = list->otherGroupLines(n);
  for (const std::string& address : addresses) {
    // A blank line is no recipient; written out it would read as an empty
    // address of the group.
    if (!platform::trim(address).empty()) lines.push_back(address + "," + n);
  }
  return platform::writeFileAtomic(listPath(), platform::joinLinesCrLf(lines));
}

}  // namespace orvis
