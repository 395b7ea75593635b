#pragma once
// Postiva's own writer of the day-log line form (see platform/day_log.h):
// "yyyy/mm/dd,hh:nn:ss.mmm,(tag),message", trimmed, cut to 512 bytes, CR LF,
// one file "yyyymmdd.txt" per day. A run writes some fifteen lines per
// message, so the day file stays open between lines instead of being opened
// and locked again for each. Every line still goes out in one append that no
// other writer can split, and is in the file when the call returns; a new day
// starts a new file, and a file removed meanwhile is created afresh within
// the second.

#include <string>
#include <string_view>

#include "platform/clock.h"

namespace orvis::postiva {

class MailDayLog {
 public:
  // `folder` with a trailing '/', created with its parents when missing.
  // An empty tag writes the untagged form.
  MailDayLog(std::string folder, std::string tag, const platform::Clock& clock);
  ~MailDayLog();
  MailDayLog(const MailDayLog&) = delete;
  MailDayLog& operator=(const MailDayLog&) = delete;

  // A line that cannot be written goes to the standard error (UTF-8): the
  // log never stops the work it records.
  void write(std::string_view message);

  const std::string& folder() const { return folder_; }

 private:
  bool open(const std::string& day);
  void close();

  std::string folder_;
  std::string tag_;
  const platform::Clock& clock_;
  int fd_ = -1;
  std::string day_;         // the day of the open file
  int checkedSecond_ = -1;  // when the open file was last found in its folder
};

}  // namespace orvis::postiva
