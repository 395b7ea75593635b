#pragma once
// The monitor put together: every part of the logic, wired to the window
// through the views it hands in, and the life of the process: start-up,
// the first show, the mode restore, the close question and the stop
// sequence.

#include <functional>
#include <memory>
#include <string>

#include "monitor/alerting/alarm_controls.h"
#include "monitor/alerting/alarm_sound_player.h"
#include "monitor/alerting/alarm_trigger.h"
#include "monitor/alerting/alert_mail.h"
#include "monitor/alerting/mail_files.h"
#include "monitor/alerting/mail_launcher.h"
#include "monitor/alerting/mail_test.h"
#include "monitor/catalogue/job_editor.h"
#include "monitor/catalogue/job_files.h"
#include "monitor/catalogue/job_list.h"
#include "monitor/catalogue/job_table.h"
#include "monitor/engine/acquisition.h"
#include "monitor/engine/auto_check_mode.h"
#include "monitor/engine/baseline_capture.h"
#include "monitor/engine/check_cycle.h"
#include "monitor/engine/check_pass.h"
#include "monitor/engine/job_check.h"
#include "monitor/engine/target_preview.h"
#include "monitor/settings/settings_store.h"
#include "monitor/shell/background.h"
#include "monitor/shell/mode_file.h"
#include "monitor/shell/monitor_host.h"
#include "monitor/shell/monitor_timers.h"
#include "monitor/shell/reactivation.h"
#include "monitor/shell/services.h"
#include "monitor/shell/shell_state.h"
#include "monitor/shell/start_info.h"
#include "monitor/shell/stop_request.h"
#include "monitor/shell/tray_icons.h"
#include "monitor_views.h"
#include "run_status.h"

namespace orvis {

class Monitor {
 public:
  static constexpr const char* kVersion = "2.6.0";
  static constexpr const char* kCaption = "NEW ORVIS Monitor";

  Monitor(const MonitorHost& host, const MonitorViews& views);
  Monitor(const Monitor&) = delete;
  Monitor& operator=(const Monitor&) = delete;

  // The window's life. Created: settings, caption, an empty grid and editor.
  void startUp();
  // Every show; only the first opens the audio device, loads the jobs, adds
  // the tray icon and arms the start-up timer.
  void windowShown();
  // The start-up timer: restores or starts the mode that the start asks for.
  // The start-up is then done: the status file is written and `started`
  // (see setStartedNotice) told.
  void restoreStartMode();
  void setStartedNotice(std::function<void()> started) { started_ = std::move(started); }
  // The check timer's expiry: the automatic pass, recorded in the status
  // file and the metrics.
  void automaticPass();
  // Whether the window may close; asks the user unless nobody can answer
  // or the session is ending.
  bool confirmClose();
  // The stop sequence, once the window closes.
  void shutDown();
  // A logoff, shutdown or termination request: closes without the question.
  void sessionEnding();
  // Every entry from the event loop runs through it (see StopRequest).
  StopRequest& stopRequest() { return stop_; }
  // "Close".
  void requestClose() { views_.shell.closeWindow(); }

  // The parts, for the window to forward its events to.
  AutoCheckMode& autoCheck() { return autoCheck_; }
  BackgroundMode& background() { return background_; }
  Reactivation& reactivation() { return reactivation_; }
  JobList& jobList() { return jobList_; }
  JobEditor& jobEditor() { return editor_; }
  TrayIcons& tray() { return tray_; }
  // The alarm sound; its outputDeviceNames() fills the settings dialog's
  // device list.
  AlarmSoundPlayer& alarmSound() { return alarmSound_; }
  AlarmControls& alarmControls() { return alarmControls_; }
  // The alarm of an automatic check pass, for the pass to raise and end.
  PassAlarm& passAlarm() { return alarmTrigger_; }
  Acquisition& acquisition() { return acquisition_; }
  BaselineCapture& capture() { return capture_; }
  TargetPreview& preview() { return preview_; }
  AlertMail& alertMail() { return alertMail_; }
  MailTest& mailTest() { return mailTest_; }
  JobCheck& jobCheck() { return jobCheck_; }
  CheckPass& checkPass() { return checkPass_; }
  CheckCycle& checkCycle() { return checkCycle_; }
  const RunStatus& runStatus() const { return runStatus_; }
  SettingsStore& settings() { return settings_; }
  ModeFile& modeFile() { return modeFile_; }
  MonitorTimers& timers() { return timers_; }
  ShellState& state() { return state_; }
  const StartInfo& start() const { return start_; }
  const Services& services() const { return services_; }
  const JobTable& jobs() const { return jobs_; }

 private:
  // Whether the program is ending: the rest gives up and returns.
  bool ending() const { return services_.stop.raised(); }

  Services services_;
  StopRequest stop_;
  StartInfo start_;
  MonitorViews views_;
  ShellState state_;
  MonitorTimers timers_;
  SettingsStore settings_;
  JobTable jobs_;
  JobFiles jobFiles_;
  JobList jobList_;
  JobEditor editor_;
  ModeFile modeFile_;
  TrayIcons tray_;
  BackgroundMode background_;
  Reactivation reactivation_;
  AutoCheckMode autoCheck_;
  AlarmSoundPlayer alarmSound_;
  AlarmTrigger alarmTrigger_;
  AlarmControls alarmControls_;
  Acquisition acquisition_;
  BaselineCapture capture_;
  TargetPreview preview_;
  MailLauncher mailLauncher_;
  MailFiles mailFiles_;
  AlertMail alertMail_;
  MailTest mailTest_;
  JobCheck jobCheck_;
  CheckPass checkPass_;
  CheckCycle checkCycle_;
  RunStatus runStatus_;
  std::function<void()> started_;
};

}  // namespace orvis
