#pragma once
// Lets queued window messages run during long work done on the window
// thread, at most every so many milliseconds: often enough to keep the
// window responsive, rarely enough to cost nothing.

#include <chrono>

#include "platform/process_wait.h"
#include "platform/pump.h"
#include "platform/stop_flag.h"

namespace orvis {

class PumpThrottle {
 public:
  PumpThrottle(platform::Pump& pump, const platform::StopFlag& stop, int everyMs = 50)
      : pump_(pump), stop_(stop), every_(std::chrono::milliseconds(everyMs)), last_(Clock::now()) {}

  // Call between steps of the work. False once the program is asked to end:
  // the work is then given up.
  bool tick() {
    auto now = Clock::now();
    if (now - last_ < every_) return !stop_.raised();
    const bool goOn = platform::letMessagesRun(pump_, stop_);
    // Counted from the end of the pump, so a slow handler still leaves the
    // work its share.
    last_ = Clock::now();
    return goOn;
  }

 private:
  using Clock = std::chrono::steady_clock;
  platform::Pump& pump_;
  const platform::StopFlag& stop_;
  Clock::duration every_;
  Clock::time_point last_;
};

}  // namespace orvis
