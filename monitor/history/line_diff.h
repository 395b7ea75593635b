#pragma once
// The lines that turn one page into another: runs of lines the two share,
// lines only the older has and lines only the newer has. Each change comes
// as its removed lines, then its added ones.

#include <cstdint>
#include <optional>
#include <vector>

#include "page_lines.h"
#include "work_progress.h"

namespace orvis {

struct DiffRun {
  enum class Kind : std::uint8_t { Same, Removed, Added };
  Kind kind;
  // The first line of the run in each page; for a run one page has not,
  // where it stands in that page.
  std::uint32_t older, newer;
  std::uint32_t count;
};

// The runs from the first lines to the last; nullopt when `progress` gave
// the work up.
std::optional<std::vector<DiffRun>> diffLines(const PageLines& older, const PageLines& newer,
                                              WorkProgress& progress);

}  // namespace orvis
