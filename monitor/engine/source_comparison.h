#pragma once
// A URL job's page compared with its baseline: the comparison library run
// over the two files, its lines written to the system log, its progress on
// the busy panel's gauge (the window's messages running meanwhile), and the
// alert it calls for raised with the job's target and name.

#include <string>

#include "monitor/alerting/alert_sender.h"
#include "monitor/catalogue/job_record.h"
#include "monitor/engine/comparison/skip_switches.h"
#include "monitor/shell/services.h"
#include "monitor/shell/shell_view.h"

namespace orvis {

class SourceComparison {
 public:
  SourceComparison(const Services& services, ShellView& view, AlertSender& alerts)
      : s_(services), view_(view), alerts_(alerts) {}

  // Compares `snapshot` with the job's baseline `baseline` (created empty
  // when missing, as the first open of the comparison always did). 0 when
  // equal as far as the baseline goes; -1 when the baseline cannot be read
  // or is empty, or the snapshot is shorter; -3 for a difference. Every
  // result but 0 has raised its alert for the job of grid row `row`, unless
  // the program was asked to end meanwhile (the comparison then stops at its
  // next piece, and its result means nothing).
  int compareHtmlSource(int row, const JobRecord& job, const SkipSwitches& skips,
                        const std::string& baseline, const std::string& snapshot);

 private:
  const Services& s_;
  ShellView& view_;
  AlertSender& alerts_;
};

}  // namespace orvis
