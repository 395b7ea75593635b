#pragma once
// The whole monitor logic on fakes, in a data folder of its own: for tests
// that drive start-up, modes, jobs and checks as the window would.

#include <memory>
#include <string>
#include <vector>

#include "fake_alarm_view.h"
#include "fake_clock.h"
#include "fake_editor_view.h"
#include "fake_grid_view.h"
#include "fake_processes.h"
#include "fake_prompter.h"
#include "fake_shell_view.h"
#include "fake_sound_output.h"
#include "fake_timer_driver.h"
#include "fake_tray_view.h"
#include "monitor/app/monitor.h"
#include "temp_dir.h"

namespace orvis::testing {

class MonitorRig {
 public:
  // `dataFolder` (with a trailing '/'): an existing folder to work in
  // instead of a fresh one, left in place afterwards.
  explicit MonitorRig(std::vector<std::string> args = {}, std::string dataFolder = {});

  // Builds the monitor and runs its start-up, as the window's creation does.
  Monitor& create();
  // Start-up, the first show and the start-up timer, as a start runs them.
  Monitor& start();
  // Puts the monitor's check and reactivation timers on the fake clock
  // (after create()); `timers` then runs them.
  FakeTimerDriver& driveMonitorTimers();

  std::string path(const std::string& rel) const { return folder() + rel; }
  const std::string& folder() const { return folder_.empty() ? dir.path() : folder_; }
  // The lines of the system log so far, without their time stamps, UTF-8.
  std::vector<std::string> log() const;
  // Writes a job file (UTF-8 lines are converted to CP932, CR LF).
  void writeJob(const std::string& number, const std::vector<std::string>& keyValues);

  TempDir dir;
  std::vector<std::string> args;
  FakeClock clock;
  FakePump pump;
  FakePrompter prompter;
  FakeShellView shell;
  FakeGridView grid;
  FakeEditorView editor;
  FakeTrayView tray;
  FakeAlarmView alarm;
  FakeLauncher launcher;
  FakeProcessLister processes;
  FakeDiskSpace disks;
  FakeSoundOutput sound;
  // Before the monitor: its timers tell the driver when they go.
  FakeTimerDriver timers{clock};
  std::unique_ptr<Monitor> monitor;

 private:
  std::string folder_;
};

}  // namespace orvis::testing
