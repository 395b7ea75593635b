#include "background.h"

#include "platform/codec.h"

namespace orvis {

void BackgroundMode::sendToBackground() {
  view_.hideWindow();
  modeFile_.save(2);
  log_.write(SJIS("バックグラウンドへ移行しました。"));
  if (!view_.busyPanelVisible()) tray_.change(0);
}

}  // namespace orvis
