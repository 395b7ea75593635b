#pragma once
// The monotonic time that paces the progress reports; tests hand in one
// that moves on command.

#include <cstdint>

namespace orvis {

class ProgressClock {
 public:
  virtual ~ProgressClock() = default;
  virtual std::int64_t milliseconds() = 0;
};

class SteadyProgressClock : public ProgressClock {
 public:
  std::int64_t milliseconds() override;
};

}  // namespace orvis
