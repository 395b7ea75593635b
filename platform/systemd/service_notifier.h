#pragma once
// Tells systemd how the service is doing, through sd_notify: READY once the
// start-up is done, a watchdog ping every half of the interval systemd asks
// for (WATCHDOG_USEC), from a timer of the event loop, so that a loop that
// hangs stops the pings and systemd restarts the service; STOPPING as the
// stop begins. Without a service manager (no NOTIFY_SOCKET) it does nothing.

#include <QTimer>
#include <string>

namespace orvis::platform {

class ServiceNotifier {
 public:
  // Reads the watchdog interval and starts the pings on the event loop of
  // the calling thread.
  ServiceNotifier();
  ServiceNotifier(const ServiceNotifier&) = delete;
  ServiceNotifier& operator=(const ServiceNotifier&) = delete;

  // `status`: a line for `systemctl status`.
  void ready(const std::string& status);
  // Once.
  void stopping();

  // 0 when systemd asks for no watchdog.
  int pingIntervalMs() const { return pingIntervalMs_; }

 private:
  QTimer pings_;
  int pingIntervalMs_ = 0;
  bool stopping_ = false;
};

}  // namespace orvis::platform
