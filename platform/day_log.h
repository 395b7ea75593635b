#pragma once
// The line-oriented day log that every program of the system writes: one
// file per local calendar day, "yyyymmdd.txt", lines only ever appended,
// each line complete on disk when the call returns.
//
// Line form: "yyyy/mm/dd,hh:nn:ss.mmm," then "(tag)," when there is a tag,
// then the message. The line is trimmed of blanks and control characters,
// cut to its first 512 bytes and ended by CR LF.

#include <string>
#include <string_view>

#include "clock.h"

namespace orvis::platform {

std::string formatLogLine(const LocalTime& t, std::string_view tag, std::string_view message);

class DayLog {
 public:
  // `folder` with a trailing '/'; created with its parents on the first
  // write that finds it missing. An empty tag writes the untagged form.
  DayLog(std::string folder, std::string tag, const Clock& clock);

  // Appends one line to today's file. A line that cannot be written goes to
  // the standard error instead, in UTF-8: the log never stops the work it
  // records.
  void write(std::string_view message) const;

  const std::string& folder() const { return folder_; }
  const std::string& tag() const { return tag_; }

 private:
  std::string folder_;
  std::string tag_;
  const Clock& clock_;
};

}  // namespace orvis::platform
