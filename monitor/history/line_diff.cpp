#include "line_diff.h"

#include <algorithm>
#include <cstdint>
#include <dtl/dtl.hpp>
#include <functional>
#include <string_view>

namespace orvis {
namespace {

using Hashes = std::vector<std::uint64_t>;
using Index = std::uint32_t;

Hashes hashesOf(const PageLines& page) {
  Hashes hashes(page.size());
  const std::hash<std::string_view> hash;
  for (std::size_t i = 0; i < page.size(); ++i) hashes[i] = hash(page.line(i));
  return hashes;
}

struct Sides {
  const PageLines& older;
  const PageLines& newer;
  const Hashes& olderHashes;
  const Hashes& newerHashes;
  bool equal(Index o, Index n) const {
    return olderHashes[o] == newerHashes[n] && older.line(o) == newer.line(n);
  }
};

// The diff library compares line numbers: the first of the older page, the
// second of the newer.
class LineEquality : public dtl::Compare<Index> {
 public:
  LineEquality() = default;
  explicit LineEquality(const Sides* sides) : sides_(sides) {}
  bool impl(const Index& o, const Index& n) const override { return sides_->equal(o, n); }

 private:
  const Sides* sides_ = nullptr;
};

class Runs {
 public:
  void add(DiffRun::Kind kind, Index older, Index newer, Index count) {
    if (count == 0) return;
    if (!runs_.empty() && runs_.back().kind == kind) {
      runs_.back().count += count;
      return;
    }
    runs_.push_back({kind, older, newer, count});
  }
  // Each stretch of changes as one removal and one addition.
  std::vector<DiffRun> take() {
    std::vector<DiffRun> out;
    for (std::size_t i = 0; i < runs_.size();) {
      if (runs_[i].kind == DiffRun::Kind::Same) {
        out.push_back(runs_[i++]);
        continue;
      }
      DiffRun removed{DiffRun::Kind::Removed, runs_[i].older, runs_[i].newer, 0};
      DiffRun added{DiffRun::Kind::Added, runs_[i].older, runs_[i].newer, 0};
      for (; i < runs_.size() && runs_[i].kind != DiffRun::Kind::Same; ++i)
        (runs_[i].kind == DiffRun::Kind::Removed ? removed : added).count += runs_[i].count;
      added.older += removed.count;
      for (const DiffRun& run : {removed, added})
        if (run.count) out.push_back(run);
    }
    return out;
  }

 private:
  std::vector<DiffRun> runs_;
};

struct Anchor {
  Index older, newer;
};

// Lines that each page holds exactly once, in the same order in both: the
// changes lie between them, each stretch small enough to diff on its own.
std::vector<Anchor> uniqueAnchors(const Sides& s, Index olderFrom, Index olderTo, Index newerFrom,
                                  Index newerTo) {
  // Where each line's text stands in each page, by its hash, in a table
  // open to every hash: kNone not there, kMany more than once.
  constexpr Index kNone = UINT32_MAX, kMany = UINT32_MAX - 1;
  struct Slot {
    std::uint64_t hash = 0;
    Index older = kNone, newer = kNone;
  };
  const std::size_t lines = olderTo - olderFrom + newerTo - newerFrom;
  std::vector<Slot> table(lines + lines / 4 + 1);
  auto slotOf = [&](std::uint64_t hash) -> Slot& {
    for (std::size_t at = hash % table.size();; at = at + 1 == table.size() ? 0 : at + 1) {
      Slot& slot = table[at];
      if (slot.older == kNone && slot.newer == kNone) slot.hash = hash;
      if (slot.hash == hash) return slot;
    }
  };
  for (Index o = olderFrom; o < olderTo; ++o) {
    Slot& slot = slotOf(s.olderHashes[o]);
    slot.older = slot.older == kNone ? o : kMany;
  }
  for (Index n = newerFrom; n < newerTo; ++n) {
    Slot& slot = slotOf(s.newerHashes[n]);
    slot.newer = slot.newer == kNone ? n : kMany;
  }
  std::vector<Anchor> pairs;
  for (Index o = olderFrom; o < olderTo; ++o) {
    const Slot& slot = slotOf(s.olderHashes[o]);
    if (slot.older == o && slot.newer < kMany && s.equal(o, slot.newer))
      pairs.push_back({o, slot.newer});
  }
  table = {};
  // The longest run of pairs whose newer lines rise too.
  std::vector<std::size_t> tails, before(pairs.size());
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    auto at = std::lower_bound(tails.begin(), tails.end(), pairs[i].newer,
                               [&pairs](std::size_t t, Index n) { return pairs[t].newer < n; });
    before[i] = at == tails.begin() ? SIZE_MAX : *(at - 1);
    if (at == tails.end())
      tails.push_back(i);
    else
      *at = i;
  }
  std::vector<Anchor> anchors;
  for (std::size_t i = tails.empty() ? SIZE_MAX : tails.back(); i != SIZE_MAX; i = before[i])
    anchors.push_back(pairs[i]);
  std::reverse(anchors.begin(), anchors.end());
  return anchors;
}

// The lines between two anchors, by the diff library.
void diffStretch(const Sides& s, Index olderFrom, Index olderTo, Index newerFrom, Index newerTo,
                 Runs& runs) {
  if (olderFrom == olderTo || newerFrom == newerTo) {
    runs.add(DiffRun::Kind::Removed, olderFrom, newerFrom, olderTo - olderFrom);
    runs.add(DiffRun::Kind::Added, olderTo, newerFrom, newerTo - newerFrom);
    return;
  }
  std::vector<Index> a(olderTo - olderFrom), b(newerTo - newerFrom);
  for (Index i = 0; i < a.size(); ++i) a[i] = olderFrom + i;
  for (Index i = 0; i < b.size(); ++i) b[i] = newerFrom + i;
  dtl::Diff<Index, std::vector<Index>, LineEquality> diff(a, b, LineEquality(&s));
  diff.compose();
  Index o = olderFrom, n = newerFrom;
  for (const auto& element : diff.getSes().getSequence()) {
    switch (element.second.type) {
      case dtl::SES_COMMON:
        runs.add(DiffRun::Kind::Same, o++, n++, 1);
        break;
      case dtl::SES_DELETE:
        runs.add(DiffRun::Kind::Removed, o++, n, 1);
        break;
      case dtl::SES_ADD:
        runs.add(DiffRun::Kind::Added, o, n++, 1);
        break;
    }
  }
}

}  // namespace

std::optional<std::vector<DiffRun>> diffLines(const PageLines& older, const PageLines& newer,
                                              WorkProgress& progress) {
  const Hashes olderHashes = hashesOf(older), newerHashes = hashesOf(newer);
  const Sides s{older, newer, olderHashes, newerHashes};
  Index olderEnd = static_cast<Index>(older.size()), newerEnd = static_cast<Index>(newer.size());
  // The lines both pages begin and end with need no diff.
  Index head = 0;
  while (head < olderEnd && head < newerEnd && s.equal(head, head)) ++head;
  Index tail = 0;
  while (tail < olderEnd - head && tail < newerEnd - head &&
         s.equal(olderEnd - 1 - tail, newerEnd - 1 - tail))
    ++tail;
  if (!progress.step(0.1)) return std::nullopt;

  Runs runs;
  runs.add(DiffRun::Kind::Same, 0, 0, head);
  std::vector<Anchor> anchors = uniqueAnchors(s, head, olderEnd - tail, head, newerEnd - tail);
  anchors.push_back({olderEnd - tail, newerEnd - tail});
  Index o = head, n = head;
  for (std::size_t i = 0; i < anchors.size(); ++i) {
    const Anchor& next = anchors[i];
    diffStretch(s, o, next.older, n, next.newer, runs);
    o = next.older;
    n = next.newer;
    // Lines that follow an anchor in both pages are the same too.
    const Index until = i + 1 < anchors.size() ? anchors[i + 1].older : olderEnd;
    const Index untilNewer = i + 1 < anchors.size() ? anchors[i + 1].newer : newerEnd;
    Index same = 0;
    while (o + same < until && n + same < untilNewer && s.equal(o + same, n + same)) ++same;
    runs.add(DiffRun::Kind::Same, o, n, same);
    o += same;
    n += same;
    if (i % 256 == 0 && !progress.step(0.1 + 0.9 * (i + 1) / anchors.size())) return std::nullopt;
  }
  return runs.take();
}

}  // namespace orvis
