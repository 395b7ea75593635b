#include "termination_signals.h"

#include <sys/signalfd.h>
#include <unistd.h>

#include <csignal>

namespace orvis::platform {
namespace {

sigset_t terminationSet() {
  sigset_t set;
  sigemptyset(&set);
  for (int s : {SIGTERM, SIGHUP, SIGINT}) sigaddset(&set, s);
  return set;
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void(int)> onSignal)
    : onSignal_(std::move(onSignal)) {
  sigset_t set = terminationSet();
  int fd = ::signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
  // Without the descriptor the signals keep their default: the process ends.
  if (fd < 0) return;
  ::sigprocmask(SIG_BLOCK, &set, nullptr);
  fd_ = fd;
}

TerminationSignals::~TerminationSignals() {
  notifier_.reset();
  if (fd_ < 0) return;
  ::close(fd_);
  sigset_t set = terminationSet();
  ::sigprocmask(SIG_UNBLOCK, &set, nullptr);
}

void TerminationSignals::listen() {
  if (fd_ < 0 || notifier_) return;
  notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
    signalfd_siginfo info;
    while (::read(fd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
      if (onSignal_) onSignal_(static_cast<int>(info.ssi_signo));
    }
  });
}

}  // namespace orvis::platform
