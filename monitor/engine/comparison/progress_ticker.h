#pragma once
// Reports the comparison's progress to its host every 50 ms: no more often,
// so that the host's work costs nothing beside the comparison, and no less,
// so that its window stays responsive.

#include <cstdint>

#include "monitor/engine/comparison/byte_cursor.h"
#include "monitor/engine/comparison/comparison_sink.h"
#include "monitor/engine/comparison/progress_clock.h"

namespace orvis {

class ProgressTicker {
 public:
  static constexpr std::int64_t kIntervalMs = 50;

  // Progress is counted in the bytes the baseline cursor has gone through;
  // the clock is looked at after every piece of work on either input.
  ProgressTicker(ComparisonSink& sink, ProgressClock& clock, const ByteCursor& baseline,
                 const ByteCursor& snapshot);

  // Reports the starting point at once.
  void start();
  // Call often; reports when the interval has passed.
  void tick();

 private:
  void report();

  ComparisonSink& sink_;
  ProgressClock& clock_;
  const ByteCursor& baseline_;
  const ByteCursor& snapshot_;
  std::int64_t last_ = 0;
  std::uint64_t workAtLastLook_ = 0;
};

}  // namespace orvis
