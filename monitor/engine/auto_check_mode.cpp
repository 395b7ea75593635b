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

void AutoCheckMode::startAutomaticMode() {
  for (const JobRecord& job : jobs_) {
    if (job.baseline != BaselineState::Captured) {
      boxes_.show(SJIS("№") + job.number +
                      SJIS("の比較元ソースが取得できていません。ソース取得を行ってください。"),
                  "OrvisWatch", mb::OK);
      return;
    }
  }
  view_.setEditControlsEnabled(false);
  view_.setModeLabel(true);
  state_.automaticMode = 1;
  log_.write(SJIS("自動チェックモードに移行しました。"));
  view_.setAutoCheckButtons(false, true);
  timers_.check.setInterval(checkIntervalMs(settings_.checkInterval));
  timers_.check.setEnabled(true);
  auto now = clock_.now();
  view_.setStatusText(
      0, platform::formatDate(now) + " " + platform::formatTime(now) + SJIS(" に起動しました。"));
  timers_.reactivation.setEnabled(true);
  modeFile_.save(1);
  if (!view_.busyPanelVisible()) tray_.change(0);
  if (changed_) changed_();
}

void AutoCheckMode::stopAutomaticMode() {
  view_.setModeLabel(false);
  timers_.check.setEnabled(false);
  timers_.reactivation.setEnabled(false);
  state_.automaticMode = 0;
  log_.write(SJIS("編集・手動モードに移行しました。"));
  // During a pass the controls stay locked until the pass ends.
  if (!state_.checkPassRunning) view_.setEditControlsEnabled(true);
  view_.setAutoCheckButtons(true, false);
  view_.setStatusText(0, "");
  modeFile_.save(0);
  if (!view_.busyPanelVisible()) tray_.change(0);
  if (changed_) changed_();
}

}  // namespace orvis
