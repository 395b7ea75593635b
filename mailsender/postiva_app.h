#pragma once
// Postiva from start-up on: the command line, Postiva.ini, list.txt, the
// logs and the session that then runs by itself.

#include <memory>
#include <string>
#include <vector>

#include "mail_logs.h"
#include "outbox.h"
#include "platform/timer.h"
#include "postiva_settings.h"
#include "smtp_session.h"

namespace orvis::postiva {

class PostivaApp {
 public:
  // `programFolder` with a trailing '/'; `args` without the program name
  // (UTF-8, as the system gives them). The window and the clock serve the
  // start-up too; the rest goes to the session. `timers`, when given, drives
  // the session's pass timer and watchdog; without it they fire only when
  // told to.
  PostivaApp(std::string programFolder, std::vector<std::string> args, SessionPorts ports,
             platform::TimerDriver* timers = nullptr);
  ~PostivaApp();

  // Runs when the window is made. True when the run goes on (the first pass
  // follows from the pass timer); false when the program ends here, with
  // exitCode() telling why.
  bool start();
  // A line (CP932) to open the system log with, once there is one: what the
  // program found out before it knew its work folder.
  void setStartNote(std::string line) { startNote_ = std::move(line); }
  int exitCode() const { return exitCode_; }

  // "　（Ver1.2.0.3）", CP932.
  static const std::string& versionText();

  Outbox& outbox() { return outbox_; }
  const PostivaSettings& settings() const { return settings_; }
  // After a successful start only.
  SmtpSession& session() { return *session_; }
  // Once start() has found its work folder; null before.
  const MailLogs* logs() const { return logs_.get(); }

 private:
  bool fail(const std::string& reason);

  std::string programFolder_;
  std::vector<std::string> args_;
  SessionPorts ports_;
  platform::TimerDriver* timers_;
  std::string workFolderName_;  // the argument, CP932 for the logs
  Outbox outbox_;
  PostivaSettings settings_;
  std::unique_ptr<MailLogs> logs_;
  std::unique_ptr<SmtpSession> session_;
  std::string startNote_;
  int exitCode_ = 0;
};

}  // namespace orvis::postiva
