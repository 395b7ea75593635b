#include "mail_launcher.h"

#include "mail/mailer_limits.h"
#include "mail/recipient_list.h"
#include "platform/bytes.h"
#include "platform/codec.h"
#include "platform/process_wait.h"

namespace orvis {

std::string MailLauncher::commandLine(const std::string& group, const std::string& html) const {
  // Every word quoted as the launcher splits it: a data folder with blanks
  // or double quotes in its path must not cost the alert.
  const std::string& d = s_.dataFolder;
  return platform::quoteArgument(s_.program(kProgram)) + " " + platform::quoteArgument(d) + " " +
         platform::quoteArgument(group) + " " + platform::quoteArgument(html);
}

long long MailLauncher::timeLimitMs(const std::string& group) const {
  const auto list = mail::RecipientList::load(s_.path("mail/list.txt"));
  const long long recipients = list ? list->count(group) : 0;
  return mail::mailerTimeLimitMs(recipients);
}

void MailLauncher::runMailer(const std::string& group, const std::string& html) {
  const long long limitMs = timeLimitMs(group);
  platform::LaunchResult child =
      s_.launcher.launch(commandLine(group, html), s_.dataFolder, platform::WindowMode::Hidden);
  if (!child) {
    ++s_.counters.mailersFailed;
    return;
  }
  s_.log.write(SJIS("メール送信起動成功"));
  ++s_.counters.alertMailsStarted;
  platform::ProcessHandle* outer = running_;
  const long long outerEndsAt = runningEndsAt_, outerLimitMs = runningLimitMs_;
  const bool outerEnded = runningEnded_;
  running_ = child.handle.get();
  runningEndsAt_ = s_.clock.steadyMs() + limitMs;
  runningLimitMs_ = limitMs;
  runningEnded_ = false;
  // Asked to end meanwhile: the mailer is left to finish, it carries an alert.
  if (platform::letMessagesRun(s_.pump, s_.stop)) {
    s_.clock.sleepMs(kSettleMs);
    waitForMailer();
    // (A mailer ended at its limit, here or by an alert started meanwhile,
    // has no status.)
    if (runningEnded_) {
      ++s_.counters.mailersEnded;
    } else if (!s_.stop.raised() && child.handle->exitCode() != 0) {
      ++s_.counters.mailersFailed;
    }
  }
  child.handle->close();
  running_ = outer;
  runningEndsAt_ = outerEndsAt;
  runningLimitMs_ = outerLimitMs;
  runningEnded_ = outerEnded;
}

void MailLauncher::waitForMailer() {
  const long long left = runningEndsAt_ - s_.clock.steadyMs();
  if (platform::waitPumping(*running_, s_.pump, s_.stop, s_.clock, left) != platform::kWaitTimeout)
    return;
  running_->kill();
  runningEnded_ = true;
  s_.log.write(
      SJIS("メール送信プログラムが時間内(") + std::to_string(runningLimitMs_ / 1000) +
      SJIS("秒)に終わらないため終了させました。メールは送信されていない可能性があります。"));
}

bool MailLauncher::waitForRunningMailer() {
  if (running_) waitForMailer();
  return !s_.stop.raised();
}

}  // namespace orvis
