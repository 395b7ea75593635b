#include "monitor/engine/comparison/progress_clock.h"

#include <chrono>

namespace orvis {

std::int64_t SteadyProgressClock::milliseconds() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace orvis
