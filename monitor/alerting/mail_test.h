#pragma once
// The main window's mail test ("ﾒｰﾙﾃｽﾄ"): a test mail composed from the job
// editor's fields as they stand, saved or not, to the selected mail group,
// through the same files and mailer as the alerts.

#include <string>

#include "mail_files.h"
#include "mail_launcher.h"
#include "monitor/catalogue/job_editor_view.h"
#include "monitor/shell/services.h"

namespace orvis {

class MailTest {
 public:
  MailTest(const Services& services, JobEditorView& editor, MailLauncher& launcher)
      : s_(services), editor_(editor), launcher_(launcher), files_(services) {}

  void sendTestMail();

 private:
  // After the question: subject, recipients, body, the mailer, the closing word.
  void send(bool userMail, int group, const std::string& groupName);
  int message(const std::string& text, int flags) const;
  static const std::string& noList();

  const Services& s_;
  JobEditorView& editor_;
  MailLauncher& launcher_;
  MailFiles files_;
  bool running_ = false;
};

}  // namespace orvis
