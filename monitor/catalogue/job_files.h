#pragma once
// The files of one check job: the job file "info/<no>.ini" and the job's
// own alert subject "userMail/<no>.sub" and body "userMail/<no>.bdy"; its
// baseline "src/<no>.ini" goes with it when it is deleted. CP932 text with
// CR LF.

#include <string>
#include <vector>

#include "job_mail.h"
#include "job_record.h"
#include "monitor/shell/ini_access.h"

namespace orvis {

// The outcome of a write that the editor does not handle itself: empty
// when it succeeded, else the error's own text.
using WriteError = std::string;

class JobFiles {
 public:
  JobFiles(const IniAccess& ini, const std::string& dataFolder)
      : ini_(ini), dataFolder_(dataFolder) {}

  // The files of a job; empty when the number cannot name a file inside
  // its folder (see usableAsFileName).
  std::string jobFile(const std::string& trimmedNo) const;
  std::string subjectFile(const std::string& trimmedNo) const;
  std::string bodyFile(const std::string& trimmedNo) const;

  // A new job: the whole file in one piece, keys in their order.
  WriteError create(const JobRecord& job);
  // An existing job: key by key through the retrying writer, in the update
  // order, the result and baseline state emptied; the mail files are
  // written between MAILGROUP and CHKKOBETSU.
  WriteError update(const JobRecord& job, const JobMail& mail);
  // The two mail files, whether or not the job's own mail is on.
  WriteError writeMailFiles(const std::string& trimmedNo, const JobMail& mail);
  // The job file, its baseline and its mail files; failures are silent.
  void remove(const std::string& trimmedNo);

  // The subject (first line) and body of a job's own mail; empty when the
  // files are missing.
  std::string readSubject(const std::string& trimmedNo) const;
  std::vector<std::string> readBody(const std::string& trimmedNo) const;

 private:
  std::string path(const char* folder, const std::string& no, const char* ext) const;
  WriteError unusable(const std::string& no, const char* ext) const;

  const IniAccess& ini_;
  std::string dataFolder_;
};

}  // namespace orvis
