#pragma once
// SIGTERM, SIGHUP and SIGINT taken from the event loop instead of ending the
// process where it stands: a program stopped by cron, a service manager or
// Ctrl+C can then say in its log that it was stopped. The signals are
// blocked for the whole process (make the object before any thread is
// started) and read from a signalfd; one that comes during a blocking wait
// is handled when the wait is over.

#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace orvis::platform {

class TerminationSignals {
 public:
  explicit TerminationSignals(std::function<void(int signo)> onSignal);
  ~TerminationSignals();
  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;

  // The notifier needs the application's event loop: call once it exists.
  void listen();

 private:
  std::function<void(int)> onSignal_;
  int fd_ = -1;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace orvis::platform
