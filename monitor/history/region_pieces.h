#pragma once
// A stretch of a page cut where the regions a check passes over begin and
// end, for showing them apart.

#include <cstdint>
#include <vector>

#include "page_regions.h"

namespace orvis {

struct LinePiece {
  std::uint64_t begin, end;
  bool skipped;
};

// The pieces of [begin, end), in order; `regions` ascending and disjoint.
std::vector<LinePiece> piecesOf(const std::vector<ByteRegion>& regions, std::uint64_t begin,
                                std::uint64_t end);

// True when [begin, end) lies inside one region (an empty stretch: when a
// region runs over it).
bool whollySkipped(const std::vector<ByteRegion>& regions, std::uint64_t begin, std::uint64_t end);

}  // namespace orvis
