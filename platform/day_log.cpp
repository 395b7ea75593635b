#include "day_log.h"

#include <cstdio>

#include "bytes.h"
#include "files.h"
#include "open_file.h"

namespace orvis::platform {

std::string formatLogLine(const LocalTime& t, std::string_view tag, std::string_view message) {
  char stamp[40];
  std::snprintf(stamp, sizeof stamp, "%s,%s.%03d,", formatDate(t).c_str(), formatTime(t).c_str(),
                t.millisecond % 1000);
  std::string line = stamp;
  if (!tag.empty()) {
    line += "(";
    line += tag;
    line += "),";
  }
  line += message;
  line = trim(line);
  if (line.size() > 512) line.resize(512);
  line += "\r\n";
  return line;
}

DayLog::DayLog(std::string folder, std::string tag, const Clock& clock)
    : folder_(std::move(folder)), tag_(std::move(tag)), clock_(clock) {
  if (!folder_.empty() && folder_.back() != '/') folder_ += '/';
}

void DayLog::write(std::string_view message) const {
  LocalTime t = clock_.now();
  std::string line = formatLogLine(t, tag_, message);
  if (!folderExists(folder_)) makeFolders(folder_);
  // A line that cannot be written (a full disk, a log held elsewhere, a
  // pipe in place of the day file) goes to the standard error, which a
  // service manager keeps in its journal.
  if (!appendExclusive(folder_ + formatDay(t) + ".txt", line)) writeLostLine(line);
}

}  // namespace orvis::platform
