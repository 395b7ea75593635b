#pragma once
// Entering and leaving the automatic check mode ("自動チェック開始" /
// "自動チェック停止").

#include <functional>

#include "monitor/catalogue/job_table.h"
#include "monitor/settings/settings.h"
#include "monitor/shell/message_boxes.h"
#include "monitor/shell/mode_file.h"
#include "monitor/shell/monitor_timers.h"
#include "monitor/shell/shell_state.h"
#include "monitor/shell/shell_view.h"
#include "monitor/shell/sys_log.h"
#include "monitor/shell/tray_icons.h"
#include "platform/clock.h"

namespace orvis {

class AutoCheckMode {
 public:
  AutoCheckMode(const MessageBoxes& boxes, const SysLog& log, const platform::Clock& clock,
                ShellState& state, ShellView& view, const JobTable& jobs, const Settings& settings,
                MonitorTimers& timers, ModeFile& modeFile, TrayIcons& tray)
      : boxes_(boxes),
        log_(log),
        clock_(clock),
        state_(state),
        view_(view),
        jobs_(jobs),
        settings_(settings),
        timers_(timers),
        modeFile_(modeFile),
        tray_(tray) {}

  // Refused, with a message naming the job, while any job lacks a baseline.
  void startAutomaticMode();
  void stopAutomaticMode();
  // Told after every change of the mode.
  void setModeChanged(std::function<void()> changed) { changed_ = std::move(changed); }

  // The check timer's interval for a period in minutes, within what a
  // timer can hold (about 24 days).
  static int checkIntervalMs(int minutes);

 private:
  const MessageBoxes& boxes_;
  const SysLog& log_;
  const platform::Clock& clock_;
  ShellState& state_;
  ShellView& view_;
  const JobTable& jobs_;
  const Settings& settings_;
  MonitorTimers& timers_;
  ModeFile& modeFile_;
  TrayIcons& tray_;
  std::function<void()> changed_;
};

}  // namespace orvis
