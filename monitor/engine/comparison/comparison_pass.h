#pragma once
// One run of the comparison over a baseline and a snapshot: the lockstep
// over byte pairs, the region tests on the baseline's bytes, the skips and
// the outcome.
//
// The pairs are taken a piece at a time. Most bytes can start no region: a
// start needs a '<' or a quote among the last few bytes its window took in.
// Runs without such bytes are compared whole, and the windows are brought
// up to date only where a test has to look at them; the pairs compared, the
// skips, the counter and the log lines are those of a byte-by-byte walk.

#include <array>
#include <cstddef>
#include <optional>

#include "monitor/engine/comparison/byte_cursor.h"
#include "monitor/engine/comparison/byte_scanner.h"
#include "monitor/engine/comparison/comparison_result.h"
#include "monitor/engine/comparison/comparison_sink.h"
#include "monitor/engine/comparison/end_token_skipper.h"
#include "monitor/engine/comparison/progress_ticker.h"
#include "monitor/engine/comparison/recent_bytes.h"
#include "monitor/engine/comparison/skip_switches.h"
#include "monitor/engine/comparison/start_tests.h"

namespace orvis {

class ComparisonPass {
 public:
  ComparisonPass(const SkipSwitches& switches, ByteSource& baseline, ByteSource& snapshot,
                 ComparisonSink& sink, ProgressClock& clock);

  ComparisonResult run();

 private:
  // Compares the next n pairs, or fewer when a region starts among them.
  std::optional<ComparisonResult> comparePiece(std::size_t n);
  // The test whose start the baseline byte at `at` completes, if any.
  const StartTest* startAt(const char* b, std::size_t region, std::size_t at, bool& readAhead);
  // A start test's window right after it has taken in the byte at `at`.
  std::string_view windowAt(std::size_t test, const char* b, std::size_t region, std::size_t at,
                            char* scratch) const;
  // The windows take in a run of baseline bytes that started nothing.
  void windowsTake(const char* p, std::size_t n);
  void enterRegion(std::size_t test, const char* b, std::size_t region, std::size_t at,
                   bool readAhead);

  ComparisonResult difference(const char* b, const char* s, std::size_t region, std::size_t at);
  ComparisonResult fault(ComparisonOutcome kind, const std::string& alert);
  ComparisonResult equal();
  ComparisonResult outcome(ComparisonOutcome kind, std::optional<AlertRequest> alert) const;

  ComparisonSink& sink_;
  ByteCursor baseline_;
  ByteCursor snapshot_;
  ProgressTicker ticker_;
  EndTokenSkipper skipper_;
  // The tests whose switch is on, in their order.
  std::array<std::size_t, kStartTestCount> enabled_{};
  std::size_t enabledCount_ = 0;
  // Bytes that a start cannot do without, and the zero byte, which no
  // window takes in.
  ByteScanner startBytes_;
  std::array<RecentBytes, kStartTestCount> windows_;
  RecentBytes context_{51};
  std::uint64_t counter_ = 0;
};

}  // namespace orvis
