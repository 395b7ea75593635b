#include "diff_hunks.h"

#include <algorithm>

namespace orvis {
namespace {

bool isSame(const DiffRun& run) { return run.kind == DiffRun::Kind::Same; }

void addRun(Hunk& hunk, DiffRun run) {
  if (run.count == 0) return;
  if (hunk.runs.empty()) {
    hunk.olderBegin = run.older;
    hunk.newerBegin = run.newer;
  }
  if (run.kind != DiffRun::Kind::Added) hunk.olderCount += run.count;
  if (run.kind != DiffRun::Kind::Removed) hunk.newerCount += run.count;
  hunk.runs.push_back(run);
}

std::string range(std::uint32_t begin, std::uint32_t count) {
  if (count == 1) return std::to_string(begin + 1);
  return std::to_string(count == 0 ? begin : begin + 1) + "," + std::to_string(count);
}

}  // namespace

std::vector<Hunk> hunksOf(const std::vector<DiffRun>& runs, std::uint32_t context) {
  std::vector<Hunk> hunks;
  std::size_t i = 0;
  while (i < runs.size()) {
    if (isSame(runs[i])) {
      ++i;
      continue;
    }
    Hunk hunk;
    if (i > 0) {
      DiffRun lead = runs[i - 1];
      const std::uint32_t keep = std::min(context, lead.count);
      lead.older += lead.count - keep;
      lead.newer += lead.count - keep;
      lead.count = keep;
      addRun(hunk, lead);
    }
    // Changes and the short stretches between them.
    for (; i < runs.size(); ++i) {
      if (!isSame(runs[i])) {
        addRun(hunk, runs[i]);
        continue;
      }
      if (i + 1 < runs.size() && runs[i].count <= 2 * context) {
        addRun(hunk, runs[i]);
        continue;
      }
      DiffRun trail = runs[i];
      trail.count = std::min(context, trail.count);
      addRun(hunk, trail);
      break;
    }
    hunks.push_back(std::move(hunk));
  }
  return hunks;
}

std::string hunkHeader(const Hunk& hunk) {
  return "@@ -" + range(hunk.olderBegin, hunk.olderCount) + " +" +
         range(hunk.newerBegin, hunk.newerCount) + " @@";
}

}  // namespace orvis
