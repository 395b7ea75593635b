#pragma once
// The byte-wise comparison of a freshly fetched page with its baseline.
//
// The baseline sets the pace: bytes the snapshot has beyond its end are
// never read. Regions that change on every visit (scripts, comments,
// anchors, src and alt values, the document head) can be passed over: when
// the baseline reaches the start of one whose switch is on, each file is
// advanced to the end of its own region and the comparison goes on in step.
//
// The comparison writes its log lines to the sink as it goes and reports
// its progress there; the alert it calls for comes back in the result, for
// the caller to raise with the job's target and name.

#include "monitor/engine/comparison/byte_source.h"
#include "monitor/engine/comparison/comparison_result.h"
#include "monitor/engine/comparison/comparison_sink.h"
#include "monitor/engine/comparison/progress_clock.h"
#include "monitor/engine/comparison/skip_switches.h"
#include "monitor/engine/comparison/skipped_region.h"

namespace orvis {

class HtmlSourceComparison {
 public:
  // Progress is paced by the steady clock.
  HtmlSourceComparison(const SkipSwitches& switches, ComparisonSink& sink);
  HtmlSourceComparison(const SkipSwitches& switches, ComparisonSink& sink, ProgressClock& clock);

  // Reads both sources from where they stand to the end of the baseline.
  ComparisonResult compare(ByteSource& baseline, ByteSource& snapshot);
  // The same, telling `observer` each region passed over and where it
  // stopped; the result, the log lines and the progress are the same.
  ComparisonResult compare(ByteSource& baseline, ByteSource& snapshot, RegionObserver& observer);

  // The outcome when the caller could not open the baseline at all.
  ComparisonResult baselineUnopenable();

 private:
  SkipSwitches switches_;
  ComparisonSink& sink_;
  SteadyProgressClock steadyClock_;
  ProgressClock& clock_;
};

}  // namespace orvis
