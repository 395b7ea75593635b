#pragma once
// The notification-area icon: added at the first show, its picture and tip
// following the mode and each check pass, removed at the end. In a service
// start there is no icon; every operation only logs.

#include <string>

#include "shell_state.h"
#include "shell_view.h"
#include "sys_log.h"
#include "tray_view.h"

namespace orvis {

class TrayIcons {
 public:
  // In a service start there is no icon.
  TrayIcons(const SysLog& log, bool serviceStart, const ShellState& state, const ShellView& window,
            TrayView& tray)
      : log_(log), serviceStart_(serviceStart), state_(state), window_(window), tray_(tray) {}

  void add(int icon);
  void change(int icon);
  void remove();

  // The tip for the picture and the current mode.
  std::string tipFor(int icon) const;

 private:
  std::string prefix() const { return window_.caption() + ","; }

  const SysLog& log_;
  bool serviceStart_;
  const ShellState& state_;
  const ShellView& window_;
  TrayView& tray_;
};

}  // namespace orvis
