#pragma once
// The alert mail of a check job: subject and body composed into the mail
// files from the job's row of the job table, then the group mailer run to
// its end, but only when the job's mail group has recipients.

#include <optional>
#include <string>

#include "alert_sender.h"
#include "mail_files.h"
#include "mail_launcher.h"
#include "monitor/catalogue/job_table.h"
#include "monitor/shell/sys_log.h"
#include "platform/clock.h"

namespace orvis {

class AlertMail : public AlertSender {
 public:
  AlertMail(const SysLog& log, const platform::Clock& clock, const JobTable& jobs,
            MailLauncher& launcher, const MailFiles& files)
      : log_(log), clock_(clock), jobs_(jobs), launcher_(launcher), files_(files) {}

  void sendAlert(int jobIndex, const std::string& target, const std::string& systemMessage,
                 const std::string& jobName, const std::string& differenceText) override;
  void sendResponseErrorAlert(int jobIndex) override;

 private:
  // A copy of the job of the row: the mailer lets messages run, and
  // nothing they do may pull the row away.
  std::optional<JobRecord> job(int jobIndex) const;
  // Subject file and recipient count; false when there is nobody to mail.
  bool prepare(const JobRecord& job);

  const SysLog& log_;
  const platform::Clock& clock_;
  const JobTable& jobs_;
  MailLauncher& launcher_;
  const MailFiles& files_;
};

}  // namespace orvis
