#include "service_notifier.h"

#include <systemd/sd-daemon.h>

#include <cstdint>

namespace orvis::platform {

ServiceNotifier::ServiceNotifier() {
  uint64_t usec = 0;
  if (sd_watchdog_enabled(0, &usec) <= 0 || usec == 0) return;
  // At least every 10 ms, and within what a timer can hold.
  const uint64_t half = usec / 2000;
  pingIntervalMs_ = half < 10 ? 10 : half > INT32_MAX ? INT32_MAX : static_cast<int>(half);
  QObject::connect(&pings_, &QTimer::timeout, [] { sd_notify(0, "WATCHDOG=1"); });
  pings_.start(pingIntervalMs_);
}

void ServiceNotifier::ready(const std::string& status) {
  sd_notify(0, ("READY=1\nSTATUS=" + status).c_str());
}

void ServiceNotifier::stopping() {
  if (stopping_) return;
  stopping_ = true;
  // The pings go on: the stop sequence runs on the same loop.
  sd_notify(0, "STOPPING=1");
}

}  // namespace orvis::platform
