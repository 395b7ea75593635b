#pragma once
// Runs the logic's timers on QTimers of the window thread. A timer never
// fires before its interval has passed.

#include <QObject>
#include <QTimer>
#include <map>
#include <memory>

#include "platform/timer.h"

namespace orvis::platform {

class QtTimerDriver : public TimerDriver {
 public:
  ~QtTimerDriver() override;
  void timerChanged(Timer& timer) override;
  void timerDestroyed(Timer& timer) override;

 private:
  std::map<Timer*, std::unique_ptr<QTimer>> timers_;
};

}  // namespace orvis::platform
