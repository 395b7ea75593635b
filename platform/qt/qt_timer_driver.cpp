#include "qt_timer_driver.h"

namespace orvis::platform {

QtTimerDriver::~QtTimerDriver() {
  // Timers that outlive the driver must not call back into it.
  auto driven = std::move(timers_);
  timers_.clear();
  for (auto& entry : driven) entry.first->attach(nullptr);
}

void QtTimerDriver::timerChanged(Timer& timer) {
  auto& q = timers_[&timer];
  if (!q) {
    q = std::make_unique<QTimer>();
    // The toolkit's default timers are moved to round times and may fire
    // early by a good part of a second; a watchdog that fires early takes a
    // late reply for the answer to the next command.
    q->setTimerType(Qt::PreciseTimer);
    Timer* t = &timer;
    QObject::connect(q.get(), &QTimer::timeout, [t] { t->fire(); });
  }
  q->setInterval(timer.interval());
  if (timer.enabled())
    q->start();  // (re)starts a full interval, as enabling a window timer does
  else
    q->stop();
}

void QtTimerDriver::timerDestroyed(Timer& timer) { timers_.erase(&timer); }

}  // namespace orvis::platform
