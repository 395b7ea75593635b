#pragma once
// What the comparison tests share: a host that records, a clock that moves
// on at each look, and the comparison walked byte by byte with no shortcut,
// to hold the real one against.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "monitor/engine/comparison/comparison_result.h"
#include "monitor/engine/comparison/comparison_sink.h"
#include "monitor/engine/comparison/progress_clock.h"
#include "monitor/engine/comparison/skip_switches.h"

namespace orvis::testing {

struct ProgressReport {
  std::int64_t at;
  std::uint64_t done;
  std::optional<std::uint64_t> total;
};

class TickingClock : public ProgressClock {
 public:
  explicit TickingClock(std::int64_t step = 1) : step_(step) {}
  std::int64_t milliseconds() override { return now_ += step_; }
  std::int64_t now() const { return now_; }

 private:
  std::int64_t step_;
  std::int64_t now_ = 0;
};

class RecordingSink : public ComparisonSink {
 public:
  explicit RecordingSink(const TickingClock* clock = nullptr) : clock_(clock) {}
  void writeLog(std::string_view line) override { lines.emplace_back(line); }
  void progress(std::uint64_t done, std::optional<std::uint64_t> total) override {
    reports.push_back({clock_ ? clock_->now() : 0, done, total});
  }
  std::vector<std::string> lines;
  std::vector<ProgressReport> reports;

 private:
  const TickingClock* clock_;
};

// What a comparison shows to the outside.
struct Observed {
  int code = 0;
  std::uint64_t counter = 0;
  std::string context;
  std::vector<std::string> lines;
  std::optional<AlertRequest> alert;
};

// The comparison walked in the plainest way: one byte pair at a time, every
// window kept as a text, no shortcut.
Observed literalComparison(const std::string& baseline, const std::string& snapshot,
                           const SkipSwitches& on);

// The CP932 log lines of entering and leaving a region kind, by the
// index of its start test (script, comment, anchor, src, alt, src and alt
// in single quotes, head).
std::string enterLine(int kind);
std::string leaveLine(int kind);

}  // namespace orvis::testing
