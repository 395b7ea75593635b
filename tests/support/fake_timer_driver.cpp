#include "fake_timer_driver.h"

namespace orvis::testing {

FakeTimerDriver::~FakeTimerDriver() {
  auto timers = std::move(due_);
  for (auto& [timer, due] : timers) timer->attach(nullptr);
}

void FakeTimerDriver::timerChanged(platform::Timer& timer) {
  if (timer.enabled())
    due_[&timer] = clock_.elapsedMs() + timer.interval();
  else
    due_.erase(&timer);
}

void FakeTimerDriver::advance(long long ms) {
  const long long until = clock_.elapsedMs() + ms;
  for (;;) {
    platform::Timer* next = nullptr;
    long long at = until + 1;
    for (auto& [timer, due] : due_) {
      if (due < at) {
        at = due;
        next = timer;
      }
    }
    if (!next) break;
    if (at > clock_.elapsedMs()) clock_.advanceMs(static_cast<long>(at - clock_.elapsedMs()));
    // A window timer goes on firing every interval unless its handler
    // turns it off or sets it anew.
    due_[next] = at + next->interval();
    next->fire();
  }
  if (until > clock_.elapsedMs()) clock_.advanceMs(static_cast<long>(until - clock_.elapsedMs()));
}

std::optional<long long> FakeTimerDriver::dueIn(const platform::Timer& timer) const {
  auto it = due_.find(const_cast<platform::Timer*>(&timer));
  if (it == due_.end()) return std::nullopt;
  return it->second - clock_.elapsedMs();
}

}  // namespace orvis::testing
