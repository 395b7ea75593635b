#include "monitor/engine/comparison/progress_ticker.h"

namespace orvis {

ProgressTicker::ProgressTicker(ComparisonSink& sink, ProgressClock& clock,
                               const ByteCursor& baseline)
    : sink_(sink), clock_(clock), baseline_(baseline) {}

void ProgressTicker::start() { report(); }

void ProgressTicker::tick() {
  if (clock_.milliseconds() - last_ >= kIntervalMs) report();
}

void ProgressTicker::report() {
  sink_.progress(baseline_.consumed(), baseline_.size());
  // Counted from the end of the host's turn, so that a slow host still
  // leaves the comparison its share.
  last_ = clock_.milliseconds();
}

}  // namespace orvis
