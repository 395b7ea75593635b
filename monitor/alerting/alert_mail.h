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
#include "monitor/shell/services.h"

namespace orvis {

class AlertMail : public AlertSender {
 public:
  AlertMail(const Services& services, const JobTable& jobs, MailLauncher& launcher)
      : s_(services), jobs_(jobs), launcher_(launcher), files_(services) {}

  void sendAlert(int jobIndex, const std::string& target, const std::string& systemMessage,
                 const std::string& jobName, const std::string& differenceText) override;
  void sendResponseErrorAlert(int jobIndex) override;

 private:
  struct Job {
    std::string number, uri, name, group;
    bool userMail = false;
    bool html = false;
  };
  std::optional<Job> job(int jobIndex) const;
  // Subject file and recipient count; false when there is nobody to mail.
  bool prepare(const Job& job);

  const Services& s_;
  const JobTable& jobs_;
  MailLauncher& launcher_;
  MailFiles files_;
};

}  // namespace orvis
