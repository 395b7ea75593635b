#pragma once
// SIGTERM, SIGHUP and SIGINT taken from the event loop instead of ending the
// process where it stands: a program stopped by cron, a service manager or
// Ctrl+C can then say in its log that it was stopped. See PendingSignals;
// one that comes during a blocking wait is handled when the wait is over.

#include <QSocketNotifier>
#include <functional>
#include <memory>

#include "platform/pending_signals.h"

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
  PendingSignals signals_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace orvis::platform
