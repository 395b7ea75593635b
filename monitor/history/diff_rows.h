#pragma once
// The rows of the two views of a page difference: side by side, every line
// of both pages with a change's removed and added lines beside each other;
// changes only, the hunks of a unified diff under their headers.

#include <cstdint>
#include <vector>

#include "diff_hunks.h"

namespace orvis {

struct DiffRow {
  enum class Kind : std::uint8_t { Same, Removed, Added, Changed, Header };
  Kind kind;
  // The line shown of each page (from 0), -1 where the row has none; for a
  // header, `older` is the hunk's index.
  std::int32_t older, newer;
};

std::vector<DiffRow> sideBySideRows(const std::vector<DiffRun>& runs);
std::vector<DiffRow> changeRows(const std::vector<Hunk>& hunks);

// The first row that shows line `line` of the older page (or of the newer),
// or -1.
int rowShowing(const std::vector<DiffRow>& rows, std::int32_t line, bool older);

}  // namespace orvis
