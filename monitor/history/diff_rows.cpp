#include "diff_rows.h"

#include <algorithm>

namespace orvis {
namespace {

using Kind = DiffRow::Kind;

std::int32_t at(std::uint32_t first, std::uint32_t i) {
  return static_cast<std::int32_t>(first + i);
}

}  // namespace

std::vector<DiffRow> sideBySideRows(const std::vector<DiffRun>& runs) {
  std::vector<DiffRow> rows;
  for (std::size_t r = 0; r < runs.size(); ++r) {
    const DiffRun& run = runs[r];
    if (run.kind == DiffRun::Kind::Same) {
      for (std::uint32_t i = 0; i < run.count; ++i)
        rows.push_back({Kind::Same, at(run.older, i), at(run.newer, i)});
      continue;
    }
    // A removal followed by an addition is one change: their lines pair up.
    const DiffRun* removed = run.kind == DiffRun::Kind::Removed ? &run : nullptr;
    const DiffRun* added = run.kind == DiffRun::Kind::Added ? &run : nullptr;
    if (removed && r + 1 < runs.size() && runs[r + 1].kind == DiffRun::Kind::Added)
      added = &runs[++r];
    const std::uint32_t olderCount = removed ? removed->count : 0;
    const std::uint32_t newerCount = added ? added->count : 0;
    for (std::uint32_t i = 0; i < std::max(olderCount, newerCount); ++i) {
      const bool both = i < olderCount && i < newerCount;
      rows.push_back({both             ? Kind::Changed
                      : i < olderCount ? Kind::Removed
                                       : Kind::Added,
                      i < olderCount ? at(removed->older, i) : -1,
                      i < newerCount ? at(added->newer, i) : -1});
    }
  }
  return rows;
}

std::vector<DiffRow> changeRows(const std::vector<Hunk>& hunks) {
  std::vector<DiffRow> rows;
  for (std::size_t h = 0; h < hunks.size(); ++h) {
    rows.push_back({Kind::Header, static_cast<std::int32_t>(h), -1});
    for (const DiffRun& run : hunks[h].runs) {
      for (std::uint32_t i = 0; i < run.count; ++i) {
        switch (run.kind) {
          case DiffRun::Kind::Same:
            rows.push_back({Kind::Same, at(run.older, i), at(run.newer, i)});
            break;
          case DiffRun::Kind::Removed:
            rows.push_back({Kind::Removed, at(run.older, i), -1});
            break;
          case DiffRun::Kind::Added:
            rows.push_back({Kind::Added, -1, at(run.newer, i)});
            break;
        }
      }
    }
  }
  return rows;
}

int rowShowing(const std::vector<DiffRow>& rows, std::int32_t line, bool older) {
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].kind == Kind::Header) continue;
    if ((older ? rows[i].older : rows[i].newer) == line) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace orvis
