#pragma once
// Runs the group mailer "alertmail" of the program folder P for the data
// folder D as "P/alertmail D G H" (G the mail group from 0, H "1" for HTML
// mail), hidden, in D, and waits for it to end while queued messages keep
// running. The mailer's outcome is its own business: its logs are the
// record; the monitor only counts the mailers that failed.

#include <string>

#include "monitor/shell/services.h"
#include "platform/process_handle.h"

namespace orvis {

class MailLauncher {
 public:
  static constexpr const char* kProgram = "alertmail";
  static constexpr int kSettleMs = 500;

  explicit MailLauncher(const Services& services) : s_(services) {}
  MailLauncher(const MailLauncher&) = delete;
  MailLauncher& operator=(const MailLauncher&) = delete;

  // Returns once the mailer has ended, or at once when it cannot be
  // started (silently: nothing logged, nothing shown). When the program is
  // asked to end meanwhile, returns at once and leaves the mailer running.
  // A mailer still running after its time limit (timeLimitMs) is ended and
  // logged.
  void runMailer(const std::string& group, const std::string& html);

  // The command line for group and flag.
  std::string commandLine(const std::string& group, const std::string& html) const;

  // While a mailer started here still runs, the messages it lets run may
  // start another alert. That one waits here for the running mailer before
  // it rewrites the mail files the mailer is reading. False when the program
  // was asked to end: nothing more may be written then.
  bool waitForRunningMailer();
  bool mailerRunning() const { return running_ != nullptr; }

  // The time limit of a mailer for group `group`: clearly beyond the
  // mailer's own worst case for the group's recipients (mail/mailer_limits.h),
  // so that only one that hangs is ended, as a failed mail.
  long long timeLimitMs(const std::string& group) const;

 private:
  // Waits for the running mailer until its limit; ends it when that passes.
  void waitForMailer();

  const Services& s_;
  platform::ProcessHandle* running_ = nullptr;
  long long runningEndsAt_ = 0;  // on the clock's steady time
  long long runningLimitMs_ = 0;
  bool runningEnded_ = false;  // ended at its limit
};

}  // namespace orvis
