#include "termination_signals.h"

namespace orvis::platform {

TerminationSignals::TerminationSignals(std::function<void(int)> onSignal)
    : onSignal_(std::move(onSignal)) {}

// The notifier goes before the descriptor it watches.
TerminationSignals::~TerminationSignals() { notifier_.reset(); }

void TerminationSignals::listen() {
  if (signals_.descriptor() < 0 || notifier_) return;
  notifier_ = std::make_unique<QSocketNotifier>(signals_.descriptor(), QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
    while (int signo = signals_.take()) {
      if (onSignal_) onSignal_(signo);
    }
  });
}

}  // namespace orvis::platform
