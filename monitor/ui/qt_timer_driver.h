#pragma once
// Runs the logic's timers on QTimers of the window thread.

#include <QObject>
#include <QTimer>
#include <map>
#include <memory>

#include "platform/timer.h"

namespace orvis::ui {

class QtTimerDriver : public platform::TimerDriver {
 public:
  ~QtTimerDriver() override;
  void timerChanged(platform::Timer& timer) override;
  void timerDestroyed(platform::Timer& timer) override;

 private:
  std::map<platform::Timer*, std::unique_ptr<QTimer>> timers_;
};

}  // namespace orvis::ui
