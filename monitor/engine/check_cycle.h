#pragma once
// When jobs are checked: the automatic pass over every job at each expiry
// of the check timer, with the alarm, the status line and the housekeeping
// around it; and the manual check of the selected jobs.

#include "check_pass.h"
#include "monitor/alerting/pass_alarm.h"
#include "monitor/catalogue/job_grid_view.h"
#include "monitor/catalogue/job_list.h"
#include "monitor/catalogue/job_table.h"
#include "monitor/settings/settings.h"
#include "monitor/shell/monitor_timers.h"
#include "monitor/shell/services.h"
#include "monitor/shell/shell_state.h"
#include "monitor/shell/shell_view.h"

namespace orvis {

class CheckCycle {
 public:
  CheckCycle(const Services& services, const ShellState& state, ShellView& view,
             const JobTable& jobs, JobList& list, const JobGridView& grid, MonitorTimers& timers,
             const Settings& settings, CheckPass& pass, PassAlarm& alarm)
      : s_(services),
        state_(state),
        view_(view),
        jobs_(jobs),
        list_(list),
        grid_(grid),
        timers_(timers),
        settings_(settings),
        pass_(pass),
        alarm_(alarm) {}

  // The check timer's expiry: a pass over all jobs. The timers are off
  // while it runs, so the next pass comes one full period after this one
  // ended; a stop of the automatic mode meanwhile leaves them off, and a
  // request to end the program ends the handler with the pass. A pass
  // refused for a job without a baseline loads the job list again. How the
  // pass ended (AlreadyRunning: not started, a manual pass is at work).
  CheckPass::End automaticPass();
  // "手動チェック": a pass over the selected rows, without the alarm.
  void checkSelectedJobs();

 private:
  // Logs each changed job and raises or ends the alarm.
  void raiseAlarm();

  const Services& s_;
  const ShellState& state_;
  ShellView& view_;
  const JobTable& jobs_;
  JobList& list_;
  const JobGridView& grid_;
  MonitorTimers& timers_;
  const Settings& settings_;
  CheckPass& pass_;
  PassAlarm& alarm_;
};

}  // namespace orvis
