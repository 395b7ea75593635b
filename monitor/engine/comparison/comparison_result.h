#pragma once
// What one comparison found, and what the caller must do about it.

#include <cstdint>
#include <optional>
#include <string>

namespace orvis {

enum class ComparisonOutcome {
  Equal,               // 0: equal as far as the baseline goes
  BaselineUnopenable,  // -1: the caller could not open the baseline
  BaselineEmpty,       // -1: the baseline has no bytes
  BaselineUnreadable,  // -1: reading the baseline failed part-way
  SnapshotShorter,     // -1: the snapshot ended before the baseline
  Difference,          // -3: two compared bytes differ
};

// The alert mail the caller raises for the job: the system message and the
// difference text, both CP932.
struct AlertRequest {
  std::string message;
  std::string differenceText;
};

struct ComparisonResult {
  ComparisonOutcome outcome = ComparisonOutcome::Equal;
  // Byte pairs compared, from 1 for the first; bytes passed over in skipped
  // regions and the byte that completes a region's start are not counted.
  std::uint64_t counter = 0;
  // For a difference: the two bytes, and up to 51 baseline bytes ending with
  // the differing one (the place shown in the log and the alert).
  char baselineByte = 0;
  char snapshotByte = 0;
  std::string context;
  // Empty for an equal result.
  std::optional<AlertRequest> alert;

  // The result code: 0 equal, -1 for the baseline and size faults, -3 for a
  // difference. Every code but 0 counts as a change.
  int code() const;
};

}  // namespace orvis
