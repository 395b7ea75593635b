#pragma once
// What a check passes over on two pages, by the comparison's own rules:
// the older page taken as the baseline, the newer as the fresh snapshot,
// as the check that stored the newer one compared them. Up to where that
// comparison stopped, both pages have the regions it passed over; beyond,
// where it never looked, each page has the regions the same rules find in
// it on its own (as the next check will take them, for the newer page).

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "monitor/engine/comparison/comparison_result.h"
#include "monitor/engine/comparison/skip_switches.h"
#include "monitor/engine/comparison/skipped_region.h"

namespace orvis {

struct ByteRegion {
  std::uint64_t begin, end;  // end: one past the last byte
  RegionKind kind;
};

struct PageRegions {
  ComparisonOutcome outcome = ComparisonOutcome::Equal;
  // In ascending order, none overlapping another.
  std::vector<ByteRegion> older, newer;
  // Where the comparison found its first difference (or the newer page
  // ended first): the byte in each page. None when it found them equal as
  // far as the older page goes, or the older page is empty.
  std::optional<std::uint64_t> olderAt, newerAt;
};

PageRegions passedOver(std::string_view older, std::string_view newer, const SkipSwitches& on);

}  // namespace orvis
