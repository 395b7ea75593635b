#include "monitor/engine/comparison/progress_ticker.h"

namespace orvis {

ProgressTicker::ProgressTicker(ComparisonSink& sink, ProgressClock& clock,
                               const ByteCursor& baseline, const ByteCursor& snapshot)
    : sink_(sink), clock_(clock), baseline_(baseline), snapshot_(snapshot) {}

void ProgressTicker::start() { report(); }

void ProgressTicker::tick() {
  // Looking at the clock after every region would cost more than the
  // region; a piece of work takes well under a millisecond.
  const std::uint64_t work = baseline_.consumed() + snapshot_.consumed();
  if (work - workAtLastLook_ < kWorkPiece) return;
  workAtLastLook_ = work;
  if (clock_.milliseconds() - last_ >= kIntervalMs) report();
}

void ProgressTicker::report() {
  sink_.progress(baseline_.consumed(), baseline_.size());
  // Counted from the end of the host's turn, so that a slow host still
  // leaves the comparison its share.
  last_ = clock_.milliseconds();
}

}  // namespace orvis
