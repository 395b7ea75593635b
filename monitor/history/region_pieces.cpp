#include "region_pieces.h"

#include <algorithm>

namespace orvis {
namespace {

// The first region that ends after `at`.
std::vector<ByteRegion>::const_iterator firstEndingAfter(const std::vector<ByteRegion>& regions,
                                                         std::uint64_t at) {
  return std::upper_bound(regions.begin(), regions.end(), at,
                          [](std::uint64_t a, const ByteRegion& r) { return a < r.end; });
}

}  // namespace

std::vector<LinePiece> piecesOf(const std::vector<ByteRegion>& regions, std::uint64_t begin,
                                std::uint64_t end) {
  std::vector<LinePiece> pieces;
  std::uint64_t at = begin;
  for (auto r = firstEndingAfter(regions, begin); r != regions.end() && r->begin < end; ++r) {
    const std::uint64_t from = std::max(r->begin, at), to = std::min(r->end, end);
    if (from > at) pieces.push_back({at, from, false});
    pieces.push_back({from, to, true});
    at = to;
  }
  if (at < end || pieces.empty()) pieces.push_back({at, end, false});
  return pieces;
}

bool whollySkipped(const std::vector<ByteRegion>& regions, std::uint64_t begin, std::uint64_t end) {
  const auto r = firstEndingAfter(regions, begin);
  return r != regions.end() && r->begin <= begin && r->end >= std::max(end, begin + 1);
}

}  // namespace orvis
