#pragma once
// The changes of a line diff with the lines around them, as a unified diff
// shows them: changes closer than twice the context run into one hunk.

#include <cstdint>
#include <string>
#include <vector>

#include "line_diff.h"

namespace orvis {

struct Hunk {
  // First line (from 0) and number of lines of the hunk in each page.
  std::uint32_t olderBegin = 0, olderCount = 0, newerBegin = 0, newerCount = 0;
  // Its lines: context, changes, context.
  std::vector<DiffRun> runs;
};

inline constexpr std::uint32_t kDiffContext = 3;

std::vector<Hunk> hunksOf(const std::vector<DiffRun>& runs, std::uint32_t context = kDiffContext);

// "@@ -a,b +c,d @@" as diff -u writes it: lines from 1, ",1" left out, an
// empty side standing at the line before it.
std::string hunkHeader(const Hunk& hunk);

}  // namespace orvis
