#pragma once
// What the comparison hands to its host while it runs: the lines of the
// system log, as they happen, and its progress.

#include <cstdint>
#include <optional>
#include <string_view>

namespace orvis {

class ComparisonSink {
 public:
  virtual ~ComparisonSink() = default;

  // One system-log line, CP932 (it may be empty).
  virtual void writeLog(std::string_view line) = 0;

  // Baseline bytes gone through so far, of `total` when the size is known.
  // Called with 0 once the baseline is known to hold bytes, then every 50 ms
  // while the comparison runs: the place to move a gauge and let queued
  // window messages run.
  virtual void progress(std::uint64_t done, std::optional<std::uint64_t> total) = 0;
};

}  // namespace orvis
