#pragma once
// Timers run on the fake clock: each enabled timer comes due an interval
// after it was enabled (or last fired), and advance() moves the clock on,
// firing them in the order they come due, as the window's timers would in
// real time.

#include <map>
#include <optional>

#include "fake_clock.h"
#include "platform/timer.h"

namespace orvis::testing {

class FakeTimerDriver : public platform::TimerDriver {
 public:
  explicit FakeTimerDriver(FakeClock& clock) : clock_(clock) {}
  ~FakeTimerDriver() override;

  void timerChanged(platform::Timer& timer) override;
  void timerDestroyed(platform::Timer& timer) override { due_.erase(&timer); }

  // Moves the clock on by `ms`; the handlers may move it further.
  void advance(long long ms);
  // How long until the timer comes due; nullopt while it is off.
  std::optional<long long> dueIn(const platform::Timer& timer) const;

 private:
  FakeClock& clock_;
  std::map<platform::Timer*, long long> due_;
};

}  // namespace orvis::testing
