#pragma once
// Sending the window to the background (the tray) and back.

#include "mode_file.h"
#include "shell_state.h"
#include "shell_view.h"
#include "sys_log.h"
#include "tray_icons.h"

namespace orvis {

class BackgroundMode {
 public:
  // The icon's mouse messages that bring the window back (Windows' codes,
  // which the icon reports).
  static constexpr int kLeftButtonUp = 0x0202;
  static constexpr int kRightButtonUp = 0x0205;

  BackgroundMode(const SysLog& log, ShellView& view, ModeFile& modeFile, TrayIcons& tray,
                 const ShellState& state)
      : log_(log), view_(view), modeFile_(modeFile), tray_(tray), state_(state) {}

  // "ﾊﾞｯｸｸﾞﾗｳﾝﾄﾞへ": hide the window, whatever the mode, and remember it.
  // Where no icon could bring it back (the desktop has no notification
  // area), the window is minimised instead.
  void sendToBackground();
  // A mouse message of the icon: a button-up of the left or right button
  // shows the window again; anything else is ignored.
  void iconClicked(int mouseMessage);
  // The window came back from the task bar after it was minimised in place
  // of hiding: the same return as by the icon.
  void windowRestored();

 private:
  void returnToForeground();

  const SysLog& log_;
  ShellView& view_;
  ModeFile& modeFile_;
  TrayIcons& tray_;
  const ShellState& state_;
  bool minimisedInstead_ = false;
};

}  // namespace orvis
