#include "background.h"

#include "platform/codec.h"

namespace orvis {

void BackgroundMode::SpeedButton18Click() {
  view_.hideWindow();
  modeFile_.ExecModeWrite(2);
  s_.WriteSysLog(SJIS("バックグラウンドへ移行しました。"));
  if (!view_.busyPanelVisible()) tray_.MODIFYIcon(0);
}

}  // namespace orvis
