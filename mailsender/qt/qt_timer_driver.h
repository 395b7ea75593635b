#pragma once
// Drives the logic's timers with QTimer: each follows its timer's interval
// and enabled flag and fires it from the event loop.

#include <QTimer>
#include <map>
#include <memory>

#include "platform/timer.h"

namespace orvis::postiva {

class QtTimerDriver : public platform::TimerDriver {
 public:
  QtTimerDriver() = default;
  ~QtTimerDriver() override;
  QtTimerDriver(const QtTimerDriver&) = delete;
  QtTimerDriver& operator=(const QtTimerDriver&) = delete;

  void timerChanged(platform::Timer& timer) override;
  void timerDestroyed(platform::Timer& timer) override;

 private:
  std::map<platform::Timer*, std::unique_ptr<QTimer>> timers_;
};

}  // namespace orvis::postiva
