#include "background.h"

#include "platform/codec.h"

namespace orvis {

void BackgroundMode::sendToBackground() {
  // A service start has no icon by design: nobody looks at its window.
  if (tray_.serviceStart() || tray_.canBringWindowBack()) {
    view_.hideWindow();
  } else {
    view_.minimizeWindow();
    minimisedInstead_ = true;
    log_.write(SJIS("通知領域が使用できないため、ウィンドウを隠さずに最小化しました。"));
  }
  modeFile_.save(2);
  log_.write(SJIS("バックグラウンドへ移行しました。"));
  if (!view_.busyPanelVisible()) tray_.change(TrayIcons::kNormalPicture);
}

void BackgroundMode::iconClicked(int mouseMessage) {
  if (mouseMessage != kLeftButtonUp && mouseMessage != kRightButtonUp) return;
  returnToForeground();
}

void BackgroundMode::windowRestored() {
  if (minimisedInstead_) returnToForeground();
}

void BackgroundMode::returnToForeground() {
  tray_.guarded("WMNotifyMessage", [this] {
    minimisedInstead_ = false;
    view_.showWindow();
    log_.write(SJIS("バックグラウンドから復帰しました。"));
    modeFile_.save(state_.automaticMode == 1 ? 1 : 0);
  });
}

}  // namespace orvis
