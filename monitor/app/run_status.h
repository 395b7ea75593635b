#pragma once
// Keeps the running monitor's RunRecord and writes it to "Status.tmp" at
// its start, at every change of the mode and after each automatic pass;
// after each automatic pass also the metrics file, when ORVIS.ini names one
// (METRICSFILE). Both are replaced whole, so a reader never sees a part.

#include "monitor/engine/check_pass.h"
#include "monitor/settings/settings.h"
#include "monitor/shell/monitor_timers.h"
#include "monitor/shell/services.h"
#include "monitor/shell/shell_state.h"
#include "run_record.h"

namespace orvis {

class RunStatus {
 public:
  RunStatus(const Services& services, const ShellState& state, const MonitorTimers& timers,
            const Settings& settings)
      : s_(services), state_(state), timers_(timers), settings_(settings) {}

  // The start-up is done (its mode restored): from now on the record is
  // kept. Before, a mode change is only noted.
  void monitorStarted();
  void modeChanged();
  void automaticPassStarting();
  // `end` as the pass ended; `refusedJob` the job that lacked a baseline.
  void automaticPassEnded(CheckPass::End end, const std::string& refusedJob);

  const RunRecord& record() const { return record_; }
  std::string metricsPath() const;

 private:
  long long nowMs() const;
  void noteMode(long long now);
  void write();
  void writeMetrics();

  const Services& s_;
  const ShellState& state_;
  const MonitorTimers& timers_;
  const Settings& settings_;
  RunRecord record_;
  bool started_ = false;
  long long passStartMs_ = 0;
};

}  // namespace orvis
