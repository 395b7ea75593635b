#pragma once
// The time a whole run may take, on the monotonic clock, behind an
// interface so that tests decide when it has passed.

#include <chrono>

namespace orvis::platform {

class Deadline {
 public:
  virtual ~Deadline() = default;
  // Milliseconds left; 0 or less once it has passed.
  virtual long long remainingMs() const = 0;
  bool passed() const { return remainingMs() <= 0; }
};

// Passes `ms` milliseconds after its construction.
class SteadyDeadline : public Deadline {
 public:
  explicit SteadyDeadline(long long ms)
      : end_(std::chrono::steady_clock::now() + std::chrono::milliseconds(ms)) {}
  long long remainingMs() const override {
    return std::chrono::duration_cast<std::chrono::milliseconds>(end_ -
                                                                 std::chrono::steady_clock::now())
        .count();
  }

 private:
  std::chrono::steady_clock::time_point end_;
};

}  // namespace orvis::platform
