#pragma once
// The files an alert is made of, under the data folder: the group files
// "mail/Group-n.txt", the job's own mail "userMail/<no>.sub" and ".bdy",
// the recipient list "mail/list.txt", and the two files the mailer reads,
// "mail/Subject-0.txt" and "mail/Body-0.txt" (rewritten by every alert).

#include <string>
#include <vector>

#include "monitor/catalogue/job_files.h"
#include "monitor/shell/sys_log.h"

namespace orvis {

class MailFiles {
 public:
  MailFiles(const SysLog& log, const std::string& dataFolder, const JobFiles& jobFiles)
      : log_(log), dataFolder_(dataFolder), jobFiles_(jobFiles) {}

  std::string listPath() const { return dataFolder_ + "mail/list.txt"; }
  std::string subjectPath() const { return dataFolder_ + "mail/Subject-0.txt"; }
  std::string bodyPath() const { return dataFolder_ + "mail/Body-0.txt"; }

  // The first line of the group's file as stored (not trimmed); empty when
  // the file is missing or holds no line.
  std::string groupName(const std::string& group) const;
  // The job's own subject (the first line of its ".sub" file) and body
  // (the lines of its ".bdy" file); empty when the files are missing.
  std::string userSubject(const std::string& jobNumber) const {
    return jobFiles_.readSubject(jobNumber);
  }
  std::vector<std::string> userBody(const std::string& jobNumber) const {
    return jobFiles_.readBody(jobNumber);
  }

  // The number of recipient lines of the group; 0 without a list.
  int recipientCount(const std::string& group) const;

  // Write the subject as the only line, and replace the body. Both create
  // "mail/" first. A file that cannot be written is logged and gives false:
  // the mailer must not send what an earlier alert left there.
  bool writeSubject(const std::string& subject) const;
  bool writeBody(const std::vector<std::string>& lines) const;

 private:
  bool write(const std::string& path, const std::vector<std::string>& lines) const;

  const SysLog& log_;
  std::string dataFolder_;
  const JobFiles& jobFiles_;
};

}  // namespace orvis
