#include "monitor.h"

#include "monitor/catalogue/mail_group_count.h"
#include "monitor/engine/disk_gauge.h"
#include "platform/codec.h"

namespace orvis {

Monitor::Monitor(const MonitorHost& host, const MonitorViews& views)
    : services_(host),
      stop_(services_.stop, services_.boxes),
      start_(host.start),
      views_(views),
      settings_(services_.ini, host.dataFolder),
      jobFiles_(services_.ini, host.dataFolder),
      jobList_(services_.log, services_.ini, host.dataFolder, jobs_, views.grid, views.shell),
      editor_(services_.boxes, host.dataFolder, jobFiles_, views.editor, jobList_),
      modeFile_(services_.ini, host.dataFolder),
      tray_(services_.log, start_.isService(), state_, views.shell, views.tray),
      background_(services_.log, views.shell, modeFile_, tray_, state_),
      reactivation_(services_, start_.isService(), state_, timers_,
                    settings_.current().reactivation),
      autoCheck_(services_.boxes, services_.log, host.clock, state_, views.shell, jobs_,
                 settings_.current(), timers_, modeFile_, tray_),
      alarmSound_(host.sound, settings_.current().buzzerDevice,
                  services_.path(AlarmSoundPlayer::kSoundFileName),
                  [this](const std::string& line) { services_.log.write(line); }),
      alarmTrigger_(alarmSound_, views.alarm, settings_.current().playCount),
      alarmControls_(alarmSound_, views.alarm),
      acquisition_(services_, jobs_),
      capture_(services_, jobs_, jobList_, views.grid, views.shell, acquisition_),
      preview_(services_, views.editor),
      mailLauncher_(services_),
      mailFiles_(services_.log, host.dataFolder, jobFiles_),
      alertMail_(services_.log, host.clock, jobs_, mailLauncher_, mailFiles_),
      mailTest_(services_.boxes, host.clock, views.editor, mailLauncher_, mailFiles_),
      jobCheck_(services_, jobs_, views.shell, acquisition_, alertMail_),
      checkPass_(services_, state_, views.shell, jobs_, jobList_, tray_, jobCheck_, alertMail_),
      checkCycle_(services_, state_, views.shell, jobs_, jobList_, views.grid, timers_,
                  settings_.current(), checkPass_, passAlarm()),
      runStatus_(services_, state_, timers_, settings_.current()) {
  timers_.startup.setHandler([this] { stop_.runAction([this] { restoreStartMode(); }); });
  timers_.check.setHandler([this] { stop_.runAction([this] { automaticPass(); }); });
  autoCheck_.setModeChanged([this] { runStatus_.modeChanged(); });
  timers_.reactivation.setHandler(
      [this] { stop_.runAction([this] { reactivation_.timerTick(); }); });
}

void Monitor::startUp() {
  const Services& s = services_;
  s.log.write(SJIS("************************* OrvisWatch起動 *************************"));
  s.log.write(SJIS("起動パラメータ:") + start_.parameter);
  settings_.loadAtStartup();
  state_.lastReactivationDay = platform::formatDay(s.clock.now());
  state_.shutdownFlag = 0;
  ShellView& view = views_.shell;
  view.setStatusText(1, kVersion);
  s.log.write(SJIS("Form1起動"));
  view.moveToTopLeft();
  view.setCaption(kCaption);
  s.log.write(view.statusText(1));
  views_.grid.setRows(2);
  jobs_.clear();
  editor_.setEmptyState();
  const std::string& groups = settings_.current().mailGroupCount;
  if (!editor_.fillMailGroups(groups)) {
    const MailGroupsOffered offered = mailGroupsOffered(groups);
    s.log.write("Global,MAILGROUPCOUNT=" + groups +
                (offered.count == kMaxMailGroups
                     ? SJIS("->メールグループ数が大きすぎます。") + std::to_string(kMaxMailGroups) +
                           SJIS("まで選択できます。")
                     : SJIS("->メールグループ数が正しくありません。1グループとして扱います。")));
  }
  view.setCheckPeriod(std::to_string(settings_.current().checkInterval));
  refreshDiskGauge(view, s.disks, s.dataFolder);
  state_.firstShown = false;
}

void Monitor::windowShown() {
  if (state_.firstShown) return;
  state_.firstShown = true;
  if (alarmSound_.initialise() != 0) {
    services_.boxes.show(SJIS("ブザー再生用デバイスが見つかりません。"), "OrvisWatch",
                         mb::IconExclamation);
    if (ending()) return;
  }
  jobList_.reload();
  if (ending()) return;
  tray_.add(0);
  timers_.startup.setInterval(300);
  timers_.startup.setEnabled(true);
}

void Monitor::restoreStartMode() {
  timers_.startup.setEnabled(false);
  // Each press may ask a question (or the mode file its message): a request
  // to end that comes meanwhile ends the sequence there.
  if (start_.restoresMode()) {
    const int mode = modeFile_.load();
    if (ending()) return;
    if (mode == 2) {
      autoCheck_.startAutomaticMode();
      if (ending()) return;
      background_.sendToBackground();
    }
    // After the case above the file holds 2 again, so this does nothing then.
    const int again = modeFile_.load();
    if (!ending() && again == 1) autoCheck_.startAutomaticMode();
  } else if (start_.startsService()) {
    autoCheck_.startAutomaticMode();
    if (ending()) return;
    background_.sendToBackground();
  }
  if (ending()) return;
  runStatus_.monitorStarted();
  if (started_) started_();
}

void Monitor::automaticPass() {
  runStatus_.automaticPassStarting();
  const CheckPass::End end = checkCycle_.automaticPass();
  if (end == CheckPass::End::Interrupted) return;
  runStatus_.automaticPassEnded(end, checkPass_.missingBaseline());
}

bool Monitor::confirmClose() {
  if (start_.isService() || state_.shutdownFlag == 1) return true;
  return services_.boxes.show(
             SJIS("チェックアプリケーションが全て終了します。終了してもよろしいですか？"),
             "OrvisWatch", mb::OKCancel | mb::DefButton2) == mb::IdOk;
}

void Monitor::shutDown() {
  timers_.check.setEnabled(false);
  tray_.remove();
  jobs_.clear();
  services_.log.write(SJIS("オーディオ停止処理"));
  alarmSound_.shutDown();
  deleteOldLogFiles(services_.log, "????????.txt", settings_.current().validDay);
  // Tidied here too, for a monitor kept in manual mode.
  deleteLeftTemporaries(services_.log, services_.dataFolder);
  services_.log.write(SJIS("終了"));
}

void Monitor::sessionEnding() {
  state_.shutdownFlag = 1;
  services_.log.write(SJIS("Shutdown要求取得"));
}

}  // namespace orvis
