#pragma once
// A clock that stands still until told to move; sleeping moves it.

#include <functional>

#include "platform/clock.h"
#include "platform/pump.h"

namespace orvis::testing {

class FakeClock : public platform::Clock {
 public:
  explicit FakeClock(platform::LocalTime start = {2026, 12, 7, 9, 5, 3, 42}) : now_(start) {}
  platform::LocalTime now() const override { return now_; }
  long long steadyMs() const override { return elapsed_; }
  void sleepMs(int ms) override {
    slept_ += ms;
    ++sleeps_;
    advanceMs(ms);
  }

  void set(platform::LocalTime t) { now_ = t; }
  // Moves the clock on, carrying into seconds, minutes, hours and days.
  void advanceMs(long ms);

  long totalSleptMs() const { return slept_; }
  // Everything the clock has moved on, for timers that count from a moment.
  long long elapsedMs() const { return elapsed_; }
  int sleepCount() const { return sleeps_; }

 private:
  platform::LocalTime now_;
  long slept_ = 0;
  long long elapsed_ = 0;
  int sleeps_ = 0;
};

class FakePump : public platform::Pump {
 public:
  void processEvents() override {
    ++count_;
    if (hook_) hook_();
  }
  int count() const { return count_; }
  // Something that happens "while messages run" (a click, a timer).
  void onPump(std::function<void()> hook) { hook_ = std::move(hook); }

 private:
  int count_ = 0;
  std::function<void()> hook_;
};

}  // namespace orvis::testing
