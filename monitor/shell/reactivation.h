#pragma once
// The daily restart in automatic mode. At the set minute of any day but the
// start's, with no check pass at work, a normal start hands over to the
// restart program beside it (which ends this process and starts the monitor
// again), and a service start simply ends for its service manager to start
// it again. Also the restart test button.

#include <functional>
#include <string>

#include "monitor_timers.h"
#include "services.h"
#include "shell_state.h"

namespace orvis {

class Reactivation {
 public:
  // The restart program, in the data folder.
  static constexpr const char* kProgram = "Reactivation";

  // `time` is the set minute, "hh:nn", as the settings hold it.
  Reactivation(const Services& services, bool serviceStart, ShellState& state,
               MonitorTimers& timers, const std::string& time)
      : s_(services), serviceStart_(serviceStart), state_(state), timers_(timers), time_(time) {}

  // What ends the event loop at once, without the close question or the
  // stop sequence: the end of a service start. Set by the window.
  void setApplicationEnd(std::function<void()> end) { end_ = std::move(end); }

  // The reactivation timer.
  void timerTick();
  // "ReActivationﾃｽﾄ": after the user agrees, the restart as at the set time.
  void runTest();

 private:
  // Starts the restart program, without waiting for it. False, with the
  // timer's day already spent, when there is none or it could not start.
  bool launchRestarter();
  void endServiceStart();

  const Services& s_;
  bool serviceStart_;
  ShellState& state_;
  MonitorTimers& timers_;
  const std::string& time_;
  std::function<void()> end_;
};

}  // namespace orvis
