#include "mail_launcher.h"

#include "platform/bytes.h"
#include "platform/codec.h"
#include "platform/process_wait.h"

namespace orvis {

std::string MailLauncher::commandLine(const std::string& group, const std::string& html) const {
  // Every word quoted as the launcher splits it: a data folder with blanks
  // or double quotes in its path must not cost the alert.
  const std::string& d = s_.dataFolder;
  return platform::quoteArgument(d + kProgram) + " " + platform::quoteArgument(d) + " " +
         platform::quoteArgument(group) + " " + platform::quoteArgument(html);
}

void MailLauncher::runMailer(const std::string& group, const std::string& html) {
  platform::LaunchResult child =
      s_.launcher.launch(commandLine(group, html), s_.dataFolder, platform::WindowMode::Hidden);
  if (!child) return;
  s_.log.write(SJIS("メール送信起動成功"));
  platform::ProcessHandle* outer = running_;
  running_ = child.handle.get();
  // Asked to end meanwhile: the mailer is left to finish, it carries an alert.
  if (platform::letMessagesRun(s_.pump, s_.stop)) {
    s_.clock.sleepMs(kSettleMs);
    platform::waitPumping(*child.handle, s_.pump, s_.stop);
  }
  child.handle->close();
  running_ = outer;
}

bool MailLauncher::waitForRunningMailer() {
  if (running_) platform::waitPumping(*running_, s_.pump, s_.stop);
  return !s_.stop.raised();
}

}  // namespace orvis
