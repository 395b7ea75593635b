#include "auto_check_mode.h"

#include <climits>
#include <cstdint>

#include "platform/codec.h"

namespace orvis {

int AutoCheckMode::checkIntervalMs(int minutes) {
  int64_t ms = static_cast<int64_t>(minutes) * 60 * 1000;
  if (ms > INT_MAX) return INT_MAX;
  if (ms < 1) return 60 * 1000;
  return static_cast<int>(ms);
}

void AutoCheckMode::SpeedButton10Click() {
  for (const JobRecord& job : jobs_) {
    if (job.baseline != BaselineState::Captured) {
      s_.fncMessageBox(SJIS("№") + job.number +
                           SJIS("の比較元ソースが取得できていません。ソース取得を行ってください。"),
                       "OrvisWatch", mb::OK);
      return;
    }
  }
  view_.SetEditControlsEnabled(false);
  view_.setModeLabel(true);
  state_.automaticMode = 1;
  s_.WriteSysLog(SJIS("自動チェックモードに移行しました。"));
  view_.setAutoCheckButtons(false, true);
  timers_.devCheck.setInterval(checkIntervalMs(settings_.checkInterval));
  timers_.devCheck.setEnabled(true);
  auto now = s_.clock.now();
  view_.setStatusText(
      0, platform::formatDate(now) + " " + platform::formatTime(now) + SJIS(" に起動しました。"));
  timers_.react.setEnabled(true);
  modeFile_.ExecModeWrite(1);
  if (!view_.busyPanelVisible()) tray_.MODIFYIcon(0);
}

void AutoCheckMode::SpeedButton14Click() {
  view_.setModeLabel(false);
  timers_.devCheck.setEnabled(false);
  timers_.react.setEnabled(false);
  state_.automaticMode = 0;
  s_.WriteSysLog(SJIS("編集・手動モードに移行しました。"));
  view_.SetEditControlsEnabled(true);
  view_.setAutoCheckButtons(true, false);
  view_.setStatusText(0, "");
  modeFile_.ExecModeWrite(0);
  if (!view_.busyPanelVisible()) tray_.MODIFYIcon(0);
}

}  // namespace orvis
