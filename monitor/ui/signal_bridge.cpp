#include "signal_bridge.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>

namespace orvis::ui {
namespace {
int pipeFds[2] = {-1, -1};

void onSignal(int signo) {
  // Only async-signal-safe work here: the window thread reads the number.
  unsigned char b = static_cast<unsigned char>(signo);
  [[maybe_unused]] ssize_t n = ::write(pipeFds[1], &b, 1);
}
}  // namespace

SignalBridge::SignalBridge(std::function<void(int)> handler) : onSignal_(std::move(handler)) {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, pipeFds) != 0) return;
  notifier_ = std::make_unique<QSocketNotifier>(pipeFds[0], QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
    unsigned char b;
    while (::read(pipeFds[0], &b, 1) == 1)
      if (onSignal_) onSignal_(b);
  });
  struct sigaction sa = {};
  sa.sa_handler = onSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  for (int s : {SIGTERM, SIGHUP, SIGINT}) ::sigaction(s, &sa, nullptr);
}

SignalBridge::~SignalBridge() {
  struct sigaction sa = {};
  sa.sa_handler = SIG_DFL;
  for (int s : {SIGTERM, SIGHUP, SIGINT}) ::sigaction(s, &sa, nullptr);
  notifier_.reset();
  for (int& fd : pipeFds) {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
}

}  // namespace orvis::ui
