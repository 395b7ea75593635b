#include "qt_timer_driver.h"

namespace orvis::postiva {

QtTimerDriver::~QtTimerDriver() = default;

void QtTimerDriver::timerChanged(platform::Timer& timer) {
  auto& qt = timers_[&timer];
  if (!qt) {
    qt = std::make_unique<QTimer>();
    QObject::connect(qt.get(), &QTimer::timeout, [&timer] { timer.fire(); });
  }
  // A window timer counts its full interval again whenever it is changed.
  qt->stop();
  qt->setInterval(timer.interval());
  if (timer.enabled()) qt->start();
}

void QtTimerDriver::timerDestroyed(platform::Timer& timer) { timers_.erase(&timer); }

}  // namespace orvis::postiva
