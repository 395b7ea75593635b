#pragma once
// The difference of two stored pages: their lines, the runs that turn the
// older into the newer, the regions the job's check passes over and where
// its comparison found the first difference.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "line_diff.h"
#include "monitor/engine/compare_rules.h"
#include "page_lines.h"
#include "page_regions.h"
#include "work_progress.h"

namespace orvis {

struct PagePlace {
  std::size_t line;    // from 0
  std::size_t column;  // characters before it in its line, from 0
  std::uint64_t byte;  // in the page
};

struct PageDifference {
  PageLines older, newer;
  std::vector<DiffRun> runs;
  // Whether the job's check compares the page at all (else it only tells
  // whether the page answered); without it, no region and no place.
  bool compared = false;
  PageRegions regions;
  // Where the comparison stopped, in the stored pages.
  std::optional<PagePlace> olderFirst, newerFirst;
  // With the regions left out: for each line of `older` and `newer`, the
  // line of the stored page it comes from. Empty otherwise.
  std::vector<std::uint32_t> olderOrigin, newerOrigin;

  bool changed() const;
  // The stored page's line (from 0) that line `i` of a side shows.
  std::uint32_t olderLine(std::size_t i) const { return olderOrigin.empty() ? i : olderOrigin[i]; }
  std::uint32_t newerLine(std::size_t i) const { return newerOrigin.empty() ? i : newerOrigin[i]; }
};

enum class Regions {
  Shown,    // the pages whole, the regions marked
  LeftOut,  // the pages without the regions: only what counts as a change
};

std::optional<PageDifference> differenceOfPages(std::string older, std::string newer,
                                                const CompareRules& rules, Regions regions,
                                                WorkProgress& progress);

// The characters of a CP932 line before byte `at` of it.
std::size_t charactersBefore(std::string_view line, std::size_t at);

}  // namespace orvis
