#pragma once
// The monitor's system log: one line per event in the day file of
// "syslog/" under the data folder, tagged with the program name.

#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/day_log.h"

namespace orvis {

class SysLog {
 public:
  SysLog(const std::string& dataFolder, const platform::Clock& clock);

  void write(std::string_view message) const { log_.write(message); }

  const std::string& folder() const { return log_.folder(); }

 private:
  platform::DayLog log_;
};

// Deletes the first-listed files of "syslog/" that match `mask` beyond the
// number to keep (`keep` as text; 10 when empty or not a whole number), and
// logs what it does. The day files are named by their date, so the listing
// runs oldest first.
void deleteOldLogFiles(const SysLog& log, const std::string& mask, const std::string& keep);

// Deletes what writes cut off by a crash left behind in the folders the
// monitor writes whole files to (see platform::removeLeftTemporaries), older
// than ten minutes, and logs each one.
void deleteLeftTemporaries(const SysLog& log, const std::string& dataFolder);

}  // namespace orvis
