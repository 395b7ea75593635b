#pragma once
// Postiva's two day logs, one subfolder per work folder: the system log
// (program folder + "syslog/" + argument, tag "MAIL") records every step,
// the send log (program folder + "sendlog/" + argument, untagged) records
// the results that operators look for.

#include <string>
#include <string_view>

#include "mail_day_log.h"
#include "platform/clock.h"

namespace orvis::postiva {

class MailLogs {
 public:
  // `programFolder` with a trailing '/'; `argument` is the work folder name
  // as given on the command line.
  MailLogs(const std::string& programFolder, const std::string& argument,
           const platform::Clock& clock);

  void writeSystemLog(std::string_view message) const { system_.write(message); }
  void writeSendLog(std::string_view message) const { send_.write(message); }

  // Keeps the newest day files of both folders by the VALIDDAY setting of
  // the data folder's ORVIS.ini, as the monitor keeps its own; what goes is
  // logged in the system log.
  void deleteOldFiles(const std::string& dataFolder) const;

 private:
  // Writing a line changes no state the callers can see.
  mutable MailDayLog system_;
  mutable MailDayLog send_;
};

}  // namespace orvis::postiva
