#pragma once
// The main window's mail test ("ﾒｰﾙﾃｽﾄ"): a test mail composed from the job
// editor's fields as they stand, saved or not, to the selected mail group,
// through the same files and mailer as the alerts.

#include <string>

#include "mail_files.h"
#include "mail_launcher.h"
#include "monitor/catalogue/job_editor_view.h"
#include "monitor/shell/message_boxes.h"
#include "platform/clock.h"

namespace orvis {

class MailTest {
 public:
  MailTest(const MessageBoxes& boxes, const platform::Clock& clock, JobEditorView& editor,
           MailLauncher& launcher, const MailFiles& files)
      : boxes_(boxes), clock_(clock), editor_(editor), launcher_(launcher), files_(files) {}

  void sendTestMail();

 private:
  // After the question: subject, recipients, body, the mailer, the closing word.
  void send(bool userMail, int group, const std::string& groupName);
  int message(const std::string& text, int flags) const;
  static const std::string& noList();

  const MessageBoxes& boxes_;
  const platform::Clock& clock_;
  JobEditorView& editor_;
  MailLauncher& launcher_;
  const MailFiles& files_;
  bool running_ = false;
};

}  // namespace orvis
