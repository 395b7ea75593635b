#include "page_regions.h"

#include "monitor/engine/comparison/html_source_comparison.h"
#include "monitor/engine/comparison/memory_source.h"

namespace orvis {
namespace {

// The log lines and progress of these comparisons are nobody's.
class Silent : public ComparisonSink {
 public:
  void writeLog(std::string_view) override {}
  void progress(std::uint64_t, std::optional<std::uint64_t>) override {}
};

class Collector : public RegionObserver {
 public:
  void skipped(const SkippedRegion& r) override {
    baseline.push_back({r.baselineBegin, r.baselineEnd, r.kind});
    snapshot.push_back({r.snapshotBegin, r.snapshotEnd, r.kind});
  }
  void stopped(std::uint64_t baselineAt, std::uint64_t snapshotAt) override {
    stop = {baselineAt, snapshotAt};
  }
  std::vector<ByteRegion> baseline, snapshot;
  std::optional<std::pair<std::uint64_t, std::uint64_t>> stop;
};

Collector compare(std::string_view baseline, std::string_view snapshot, const SkipSwitches& on,
                  ComparisonOutcome* outcome = nullptr) {
  Silent sink;
  Collector regions;
  MemorySource b(baseline), s(snapshot);
  const ComparisonResult result = HtmlSourceComparison(on, sink).compare(b, s, regions);
  if (outcome) *outcome = result.outcome;
  return regions;
}

// A page compared with itself meets no difference: every region its rules
// find in it, to its end.
std::vector<ByteRegion> ownRegions(std::string_view page, const SkipSwitches& on) {
  return compare(page, page, on).baseline;
}

}  // namespace

PageRegions passedOver(std::string_view older, std::string_view newer, const SkipSwitches& on) {
  PageRegions found;
  Collector check = compare(older, newer, on, &found.outcome);
  // The baseline alone decides where its regions lie, so the check's
  // regions in the older page are those of the older page on its own.
  found.older = on.any() ? ownRegions(older, on) : std::vector<ByteRegion>();
  found.newer = std::move(check.snapshot);
  std::uint64_t looked = found.newer.empty() ? 0 : found.newer.back().end;
  if (check.stop) {
    looked = std::max(looked, check.stop->second);
    if (found.outcome != ComparisonOutcome::Equal) {
      found.olderAt = check.stop->first;
      found.newerAt = check.stop->second;
    }
  }
  if (on.any()) {
    for (const ByteRegion& r : ownRegions(newer, on))
      if (r.begin >= looked) found.newer.push_back(r);
  }
  return found;
}

}  // namespace orvis
