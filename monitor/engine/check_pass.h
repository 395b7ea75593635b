#pragma once
// A check pass over a range of job rows: every job checked once, then up to
// three retry sweeps over those without a usable snapshot, a response-error
// alert for each that still has none, and the job list loaded again.

#include "job_check.h"
#include "monitor/alerting/alert_sender.h"
#include "monitor/catalogue/job_list.h"
#include "monitor/catalogue/job_table.h"
#include "monitor/shell/services.h"
#include "monitor/shell/shell_state.h"
#include "monitor/shell/shell_view.h"
#include "monitor/shell/tray_icons.h"

namespace orvis {

class CheckPass {
 public:
  static constexpr int kRetrySweeps = 3;

  enum class End {
    Completed,
    // A job of the range has no baseline: the user was told, nothing checked.
    BaselineMissing,
    // Another pass is still running: this one was not started.
    AlreadyRunning,
    // The program was asked to end: the pass stopped after the step that
    // was running and wrote nothing more.
    Interrupted,
  };

  CheckPass(const Services& services, ShellState& state, ShellView& view, JobTable& jobs,
            JobList& list, TrayIcons& tray, JobCheck& check, AlertSender& alerts)
      : s_(services),
        state_(state),
        view_(view),
        jobs_(jobs),
        list_(list),
        tray_(tray),
        check_(check),
        alerts_(alerts) {}

  // Rows from 1 (the first job); rows past the last job are left out.
  End run(int firstRow, int lastRow);
  bool running() const { return state_.checkPassRunning; }
  // The job (CP932 number) that the last pass ended BaselineMissing for.
  const std::string& missingBaseline() const { return missingBaseline_; }

  // The pass's refusal: the first job of the rows (all within the table)
  // whose job file does not say it has a baseline, after the message that
  // names it; nullptr, without a word, when all have one.
  const JobRecord* refusedJob(int firstRow, int lastRow);

 private:
  // False when the program was asked to end meanwhile.
  bool checkRows(int firstRow, int lastRow);
  bool stillUnanswered(int row) const;
  bool ending() const { return s_.stop.raised(); }

  const Services& s_;
  ShellState& state_;
  ShellView& view_;
  JobTable& jobs_;
  JobList& list_;
  TrayIcons& tray_;
  JobCheck& check_;
  AlertSender& alerts_;
  std::string missingBaseline_;
};

}  // namespace orvis
