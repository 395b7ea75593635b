#pragma once
// Postiva from start-up on: the command line, Postiva.ini, list.txt, the
// logs and the session that then runs by itself (FormCreate of its window).

#include <memory>
#include <string>
#include <vector>

#include "form_fields.h"
#include "mail_logs.h"
#include "platform/clock.h"
#include "platform/timer.h"
#include "postiva_settings.h"
#include "smtp_session.h"

namespace orvis::postiva {

class PostivaApp {
 public:
  // `programFolder` with a trailing '/'; `args` without the program name
  // (UTF-8, as the system gives them). `timers`, when given, drives
  // execTimer and ST1; without it they fire only when told to.
  PostivaApp(std::string programFolder, std::vector<std::string> args, platform::Clock& clock,
             SessionPorts ports, platform::TimerDriver* timers = nullptr);
  ~PostivaApp();

  // True when the run goes on (the first pass follows from execTimer);
  // false when the program ends here, with exitCode() telling why.
  bool FormCreate();
  int exitCode() const { return exitCode_; }

  // "　（Ver1.2.0.3）", CP932.
  static const std::string& versionText();

  FormFields& fields() { return fields_; }
  const PostivaSettings& settings() const { return settings_; }
  // After a successful FormCreate only.
  SmtpSession& session() { return *session_; }

 private:
  bool fail(const std::string& reason);

  std::string programFolder_;
  std::vector<std::string> args_;
  platform::Clock& clock_;
  SessionPorts ports_;
  platform::TimerDriver* timers_;
  FormFields fields_;
  PostivaSettings settings_;
  std::unique_ptr<MailLogs> logs_;
  std::unique_ptr<SmtpSession> session_;
  int exitCode_ = 0;
};

}  // namespace orvis::postiva
