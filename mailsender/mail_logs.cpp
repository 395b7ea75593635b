#include "mail_logs.h"

#include "platform/log_cleanup.h"

namespace orvis::postiva {

MailLogs::MailLogs(const std::string& programFolder, const std::string& argument,
                   const platform::Clock& clock)
    : system_(programFolder + "syslog/" + argument + "/", "MAIL", clock),
      send_(programFolder + "sendlog/" + argument + "/", "", clock) {}

void MailLogs::deleteOldFiles(const std::string& dataFolder) const {
  platform::tidyLogFolders({system_.folder(), send_.folder()}, dataFolder,
                           [this](const std::string& line) { writeSystemLog(line); });
}

}  // namespace orvis::postiva
