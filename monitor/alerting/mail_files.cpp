#include "mail_files.h"

#include "mail/recipient_list.h"
#include "monitor/catalogue/job_paths.h"
#include "platform/bytes.h"
#include "platform/codec.h"
#include "platform/files.h"

namespace orvis {

std::string MailFiles::groupName(const std::string& group) const {
  return platform::readFirstLine(mailGroupFile(dataFolder_, group));
}

int MailFiles::recipientCount(const std::string& group) const {
  std::optional<mail::RecipientList> list = mail::RecipientList::load(listPath());
  return list ? list->count(group) : 0;
}

bool MailFiles::write(const std::string& path, const std::vector<std::string>& lines) const {
  if (platform::makeFolders(dataFolder_ + "mail/") &&
      platform::writeFileAtomic(path, platform::joinLinesCrLf(lines)))
    return true;
  log_.write(SJIS("メールファイルを書き込めません。メール送信を中止します:") +
             platform::toCp932(path));
  return false;
}

bool MailFiles::writeSubject(const std::string& subject) const {
  return write(subjectPath(), {subject});
}

bool MailFiles::writeBody(const std::vector<std::string>& lines) const {
  platform::removeFile(bodyPath());
  return write(bodyPath(), lines);
}

}  // namespace orvis
