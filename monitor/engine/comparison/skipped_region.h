#pragma once
// What the comparison passed over and where it stopped, for a host that
// shows two pages side by side: the same rules that decide a check, told
// as byte offsets instead of log lines.

#include <cstdint>

namespace orvis {

// The kinds of regions, in the order their start tests are tried.
enum class RegionKind : std::uint8_t {
  Script,
  Comment,
  Anchor,
  Src,
  Alt,
  SrcSingle,
  AltSingle,
  Head,
};

// A region passed over, in both inputs: from the first byte of its start
// (as the baseline has it) to the last byte of its end, or to the end of
// the input when the end never came. Offsets count from where each input
// stood when the comparison began; `end` is one past the last byte.
struct SkippedRegion {
  RegionKind kind;
  std::uint64_t baselineBegin, baselineEnd;
  std::uint64_t snapshotBegin, snapshotEnd;
};

class RegionObserver {
 public:
  virtual ~RegionObserver() = default;

  // Each region, as the comparison leaves it.
  virtual void skipped(const SkippedRegion& region) = 0;

  // Where the comparison ended in each input: at the two bytes that
  // differ, at the baseline byte that the snapshot had no partner for, or
  // at the end of the baseline. Not told when the baseline could not be
  // read at all.
  virtual void stopped(std::uint64_t baselineAt, std::uint64_t snapshotAt) = 0;
};

}  // namespace orvis
