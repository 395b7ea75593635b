#pragma once
// Sending the window to the background (the tray) and back.

#include "mode_file.h"
#include "services.h"
#include "shell_state.h"
#include "shell_view.h"
#include "tray_icons.h"

namespace orvis {

class BackgroundMode {
 public:
  BackgroundMode(const Services& services, const ShellState& state, ShellView& view,
                 ModeFile& modeFile, TrayIcons& tray)
      : s_(services), state_(state), view_(view), modeFile_(modeFile), tray_(tray) {}

  // "ﾊﾞｯｸｸﾞﾗｳﾝﾄﾞへ": hide the window, whatever the mode, and remember it.
  void sendToBackground();

 private:
  const Services& s_;
  const ShellState& state_;
  ShellView& view_;
  ModeFile& modeFile_;
  TrayIcons& tray_;
};

}  // namespace orvis
