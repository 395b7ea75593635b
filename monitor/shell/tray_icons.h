#pragma once
// The notification-area icon: added at the first show, its picture and tip
// following the mode and each check pass, removed at the end. In a service
// start there is no icon; every operation only logs. Every failure is
// logged and otherwise ignored.

#include <functional>
#include <string>

#include "shell_state.h"
#include "shell_view.h"
#include "sys_log.h"
#include "tray_view.h"

namespace orvis {

class TrayIcons {
 public:
  static constexpr int kNormalPicture = 0;
  static constexpr int kCheckingPicture = 1;

  // In a service start there is no icon.
  TrayIcons(const SysLog& log, bool serviceStart, const ShellState& state, const ShellView& window,
            TrayView& tray)
      : log_(log), serviceStart_(serviceStart), state_(state), window_(window), tray_(tray) {}

  void add(int icon);
  // A change that the desktop refuses adds the icon again.
  void change(int icon);
  void remove();

  // The tip for the picture and the current mode.
  std::string tipFor(int icon) const;

  // Whether a hidden window can be brought back by a click on the icon.
  bool canBringWindowBack() const { return !serviceStart_ && tray_.available(); }
  bool serviceStart() const { return serviceStart_; }

  // Runs one step of the icon code: an error it raises is logged as
  // caption + "," + operation + "()ERROR=" + its text, and goes no further.
  void guarded(const char* operation, const std::function<void()>& step) const;

 private:
  std::string prefix() const { return window_.caption() + ","; }
  void logError(const char* operation, const std::string& text) const;

  const SysLog& log_;
  bool serviceStart_;
  const ShellState& state_;
  const ShellView& window_;
  TrayView& tray_;
};

}  // namespace orvis
