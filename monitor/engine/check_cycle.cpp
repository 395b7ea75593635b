#include "check_cycle.h"

#include "disk_gauge.h"
#include "job_selection.h"
#include "platform/codec.h"

namespace orvis {

CheckPass::End CheckCycle::automaticPass() {
  if (pass_.running()) {
    // A manual pass is still at work: this period's pass would share its
    // snapshot file. The timer stays on and tries again a period later.
    s_.log.write(SJIS("チェック処理中のため、自動チェックを次の周期に回します。"));
    return CheckPass::End::AlreadyRunning;
  }
  timers_.reactivation.setEnabled(false);
  timers_.check.setEnabled(false);
  s_.log.write(SJIS("自動チェック処理開始しました。"));
  alarm_.passStarting();

  // Asked to end during the pass: nothing more, not even the timers.
  const CheckPass::End end = pass_.run(1, static_cast<int>(jobs_.size()));
  if (end == CheckPass::End::Interrupted) return end;
  // The job may have been removed since the last load: a table that still
  // held it would refuse every pass from now on, and the other jobs would
  // never be checked again.
  if (end == CheckPass::End::BaselineMissing) {
    list_.loadJobFiles();
    list_.fillGrid();
  }

  const platform::LocalTime now = s_.clock.now();
  view_.setStatusText(0, platform::formatDate(now) + " " + platform::formatTime(now) +
                             SJIS(" にチェック終了しました。"));
  raiseAlarm();
  refreshDiskGauge(view_, s_.disks, s_.dataFolder);
  deleteOldLogFiles(s_.log, "????????.txt", settings_.validDay);
  deleteLeftTemporaries(s_.log, s_.dataFolder);
  // Stopped during the pass: the mode stays stopped.
  if (state_.automaticMode != 1) return end;
  timers_.check.setEnabled(true);
  view_.setEditControlsEnabled(false);
  s_.log.write(SJIS("周期タイマー再設定しました。"));
  timers_.reactivation.setEnabled(true);
  return end;
}

void CheckCycle::raiseAlarm() {
  // Only a reported change counts: a job that never answered shows "-"
  // after the reload and has had its own alert.
  bool changed = false;
  for (const JobRecord& job : jobs_) {
    if (job.result != JobResult::Changed) continue;
    s_.log.write(SJIS("エラー検出"));
    changed = true;
  }
  alarm_.passEnded(changed);
}

void CheckCycle::checkSelectedJobs() {
  const auto rows = selectedJobRows(grid_, list_, jobs_, s_.boxes, s_.log);
  if (!rows) return;
  pass_.run(rows->first, rows->second);
}

}  // namespace orvis
