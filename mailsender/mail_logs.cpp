#include "mail_logs.h"

namespace orvis::postiva {

MailLogs::MailLogs(const std::string& programFolder, const std::string& argument,
                   const platform::Clock& clock)
    : system_(programFolder + "syslog/" + argument + "/", "MAIL", clock),
      send_(programFolder + "sendlog/" + argument + "/", "", clock) {}

}  // namespace orvis::postiva
