#pragma once
// Sending the window to the background (the tray) and back.

#include "mode_file.h"
#include "shell_view.h"
#include "sys_log.h"
#include "tray_icons.h"

namespace orvis {

class BackgroundMode {
 public:
  BackgroundMode(const SysLog& log, ShellView& view, ModeFile& modeFile, TrayIcons& tray)
      : log_(log), view_(view), modeFile_(modeFile), tray_(tray) {}

  // "ﾊﾞｯｸｸﾞﾗｳﾝﾄﾞへ": hide the window, whatever the mode, and remember it.
  void sendToBackground();

 private:
  const SysLog& log_;
  ShellView& view_;
  ModeFile& modeFile_;
  TrayIcons& tray_;
};

}  // namespace orvis
