#pragma once
// SIGTERM, SIGHUP and SIGINT kept for the program to take when it is ready,
// instead of ending the process where it stands: they are blocked for the
// whole process (make the object before any thread is started) and queued
// on a signalfd. Children started later get the default handling back (the
// launcher resets the mask). Without a signalfd the signals keep their
// default: the process ends.

namespace orvis::platform {

class PendingSignals {
 public:
  PendingSignals();
  ~PendingSignals();
  PendingSignals(const PendingSignals&) = delete;
  PendingSignals& operator=(const PendingSignals&) = delete;

  // Readable while a signal waits; -1 without a signalfd.
  int descriptor() const { return fd_; }
  // The next signal that came, or 0 when none waits.
  int take();

 private:
  int fd_ = -1;
};

}  // namespace orvis::platform
