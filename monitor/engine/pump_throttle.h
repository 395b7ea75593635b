#pragma once
// Lets queued window messages run during long work done on the window
// thread, at most every so many milliseconds: often enough to keep the
// window responsive, rarely enough to cost nothing.

#include <chrono>

#include "platform/pump.h"

namespace orvis {

class PumpThrottle {
 public:
  explicit PumpThrottle(platform::Pump& pump, int everyMs = 50)
      : pump_(pump), every_(std::chrono::milliseconds(everyMs)), last_(Clock::now()) {}

  // Call between steps of the work.
  void tick() {
    auto now = Clock::now();
    if (now - last_ < every_) return;
    pump_.processEvents();
    // Counted from the end of the pump, so a slow handler still leaves the
    // work its share.
    last_ = Clock::now();
  }

 private:
  using Clock = std::chrono::steady_clock;
  platform::Pump& pump_;
  Clock::duration every_;
  Clock::time_point last_;
};

}  // namespace orvis
