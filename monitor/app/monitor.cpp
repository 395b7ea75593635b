#include "monitor.h"

#include "monitor/engine/disk_gauge.h"
#include "platform/codec.h"

namespace orvis {

Monitor::Monitor(const MonitorHost& host, const MonitorViews& views)
    : log_(host.dataFolder, host.clock),
      boxes_(log_, host.prompter, host.start.isService()),
      ini_(boxes_, host.clock),
      services_{host.dataFolder, host.start, host.clock,    host.pump,      log_,
                boxes_,          ini_,       host.launcher, host.processes, host.disks},
      views_(views),
      settings_(services_),
      jobList_(services_, jobs_, views.grid, views.shell),
      editor_(services_, views.editor, jobList_, views.shell),
      modeFile_(services_),
      tray_(services_, state_, views.shell, views.tray),
      background_(services_, state_, views.shell, modeFile_, tray_),
      autoCheck_(services_, state_, views.shell, jobs_, settings_.current(), timers_, modeFile_,
                 tray_),
      acquisition_(services_, jobs_),
      capture_(services_, jobs_, jobList_, views.grid, views.shell, acquisition_),
      mailLauncher_(services_),
      alertMail_(services_, jobs_, mailLauncher_),
      mailTest_(services_, views.editor, mailLauncher_) {
  timers_.startup.setHandler([this] { TmrStartupTimer(); });
}

void Monitor::FormCreate() {
  const Services& s = services_;
  s.WriteSysLog(SJIS("************************* OrvisWatch起動 *************************"));
  s.WriteSysLog(SJIS("起動パラメータ:") + s.start.parameter);
  settings_.loadAtStartup();
  state_.lastReactivationDay = platform::formatDay(s.clock.now());
  state_.shutdownFlag = 0;
  ShellView& view = views_.shell;
  view.setStatusText(1, kVersion);
  s.WriteSysLog(SJIS("Form1起動"));
  view.moveToTopLeft();
  view.setCaption(kCaption);
  s.WriteSysLog(view.statusText(1));
  views_.grid.setRows(2);
  jobs_.clear();
  editor_.setEmptyState();
  editor_.fillMailGroups(settings_.current().mailGroupCount);
  view.setCheckPeriod(std::to_string(settings_.current().checkInterval));
  RefreshDiskGauge(view, s.disks, s.dataFolder);
  state_.firstShown = false;
}

void Monitor::FormShow() {
  if (state_.firstShown) return;
  state_.firstShown = true;
  if (alarm_.devInit() != 0) {
    services_.fncMessageBox(SJIS("ブザー再生用デバイスが見つかりません。"), "OrvisWatch",
                            mb::IconExclamation);
  }
  jobList_.reload();
  tray_.SetIcon(0);
  timers_.startup.setInterval(300);
  timers_.startup.setEnabled(true);
}

void Monitor::TmrStartupTimer() {
  timers_.startup.setEnabled(false);
  const StartInfo& start = services_.start;
  if (start.restoresMode()) {
    if (modeFile_.ExecModeRead() == 2) {
      autoCheck_.SpeedButton10Click();
      background_.SpeedButton18Click();
    }
    // After the case above the file holds 2 again, so this does nothing then.
    if (modeFile_.ExecModeRead() == 1) autoCheck_.SpeedButton10Click();
  } else if (start.startsService()) {
    autoCheck_.SpeedButton10Click();
    background_.SpeedButton18Click();
  }
}

bool Monitor::FormCloseQuery() {
  if (services_.start.isService() || state_.shutdownFlag == 1) return true;
  return services_.fncMessageBox(
             SJIS("チェックアプリケーションが全て終了します。終了してもよろしいですか？"),
             "OrvisWatch", mb::OKCancel | mb::DefButton2) == mb::IdOk;
}

void Monitor::FormClose() {
  timers_.devCheck.setEnabled(false);
  tray_.DELIcon();
  jobs_.clear();
  services_.WriteSysLog(SJIS("オーディオ停止処理"));
  alarm_.devUnInit();
  CleanSysLog(log_, "????????.txt", settings_.current().validDay);
  services_.WriteSysLog(SJIS("終了"));
}

void Monitor::ShutDownMessage() {
  state_.shutdownFlag = 1;
  services_.WriteSysLog(SJIS("Shutdown要求取得"));
}

}  // namespace orvis
