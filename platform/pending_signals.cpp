#include "pending_signals.h"

#include <sys/signalfd.h>
#include <unistd.h>

#include <csignal>
#include <initializer_list>

namespace orvis::platform {
namespace {

sigset_t terminationSet() {
  sigset_t set;
  sigemptyset(&set);
  for (int s : {SIGTERM, SIGHUP, SIGINT}) sigaddset(&set, s);
  return set;
}

}  // namespace

PendingSignals::PendingSignals() {
  sigset_t set = terminationSet();
  int fd = ::signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
  if (fd < 0) return;
  ::sigprocmask(SIG_BLOCK, &set, nullptr);
  fd_ = fd;
}

PendingSignals::~PendingSignals() {
  if (fd_ < 0) return;
  ::close(fd_);
  sigset_t set = terminationSet();
  ::sigprocmask(SIG_UNBLOCK, &set, nullptr);
}

int PendingSignals::take() {
  if (fd_ < 0) return 0;
  signalfd_siginfo info;
  if (::read(fd_, &info, sizeof info) != static_cast<ssize_t>(sizeof info)) return 0;
  return static_cast<int>(info.ssi_signo);
}

}  // namespace orvis::platform
