#include "monitor/engine/comparison/html_source_comparison.h"

#include "monitor/engine/comparison/comparison_pass.h"
#include "monitor/engine/comparison/comparison_texts.h"

namespace orvis {

HtmlSourceComparison::HtmlSourceComparison(const SkipSwitches& switches, ComparisonSink& sink)
    : switches_(switches), sink_(sink), clock_(steadyClock_) {}

HtmlSourceComparison::HtmlSourceComparison(const SkipSwitches& switches, ComparisonSink& sink,
                                           ProgressClock& clock)
    : switches_(switches), sink_(sink), clock_(clock) {}

ComparisonResult HtmlSourceComparison::compare(ByteSource& baseline, ByteSource& snapshot) {
  return ComparisonPass(switches_, baseline, snapshot, sink_, clock_).run();
}

ComparisonResult HtmlSourceComparison::compare(ByteSource& baseline, ByteSource& snapshot,
                                               RegionObserver& observer) {
  return ComparisonPass(switches_, baseline, snapshot, sink_, clock_, &observer).run();
}

ComparisonResult HtmlSourceComparison::baselineUnopenable() {
  sink_.writeLog(comparison_texts::sourceInvalid());
  ComparisonResult result;
  result.outcome = ComparisonOutcome::BaselineUnopenable;
  result.alert = AlertRequest{comparison_texts::cannotOpenAlert(), {}};
  return result;
}

}  // namespace orvis
