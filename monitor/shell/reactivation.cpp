#include "reactivation.h"

#include "platform/bytes.h"
#include "platform/codec.h"
#include "platform/files.h"

namespace orvis {

void Reactivation::timerTick() {
  timers_.reactivation.setEnabled(false);
  const platform::LocalTime now = s_.clock.now();
  const std::string today = platform::formatDay(now);
  // Compared as text: "2:00" never matches.
  if (today == state_.lastReactivationDay || platform::formatHourMinute(now) != time_) {
    timers_.reactivation.setEnabled(true);
    return;
  }
  // A pass at work (its timers are off meanwhile): the next tick in the
  // same minute tries again.
  if (!timers_.check.enabled() || state_.checkPassRunning) {
    s_.log.write(SJIS("* ﾁｪｯｸ中のためReActivateは見送りました。 *"));
    timers_.reactivation.setEnabled(true);
    return;
  }
  state_.lastReactivationDay = today;
  if (serviceStart_) {
    endServiceStart();
    return;
  }
  if (!launchRestarter()) timers_.reactivation.setEnabled(true);
}

void Reactivation::runTest() {
  if (s_.boxes.show(SJIS("再起動テストを行います。よろしいですか？"), "OrvisWatch",
                    mb::OKCancel | mb::DefButton2) != mb::IdOk)
    return;
  launchRestarter();
}

void Reactivation::endServiceStart() {
  s_.log.write("* ReActivate wait for Service Reactivate*");
  state_.shutdownFlag = 1;
  if (end_) end_();
}

bool Reactivation::launchRestarter() {
  const std::string program = s_.program(kProgram);
  if (!platform::fileExists(program)) return false;
  s_.log.write("* ReActivate *");
  state_.shutdownFlag = 1;
  platform::LaunchResult started = s_.launcher.launch(platform::quoteArgument(program),
                                                      s_.dataFolder, platform::WindowMode::Shown);
  if (!started) {
    // Nobody will end this process: it runs on, and closes with the question
    // again.
    s_.log.write("* ReActivate * " + SJIS("再起動プログラムを起動できません:") + started.error);
    state_.shutdownFlag = 0;
    return false;
  }
  started.handle->close();
  return true;
}

}  // namespace orvis
