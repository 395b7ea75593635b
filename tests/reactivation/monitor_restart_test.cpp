// The restart program's steps on fakes: the folder's running monitor ended
// in order or by force, then the new start, every step in the log.

#include "reactivation/monitor_restart.h"

#include <gtest/gtest.h>

#include "platform/codec.h"
#include "support/fake_clock.h"
#include "support/fake_monitor_processes.h"
#include "support/fake_processes.h"
#include "support/temp_dir.h"

using namespace orvis;
using namespace orvis::testing;

TEST(MonitorRestart, EndsTheFoldersMonitorThenStartsItAgain) {
  const std::string asked = "OrvisWatch(pid=700)に終了を要求しました。";
  const std::string ended = "OrvisWatch(pid=700)が終了しました。";
  const std::string forced = "OrvisWatch(pid=700)が60秒以内に終了しないため、強制終了します。";
  const std::string stays = "OrvisWatch(pid=700)が終了しません。";
  const std::string refused = "OrvisWatch(pid=700)に終了を要求できません:Operation not permitted";
  const std::string none = "実行中のOrvisWatchはありません。";
  const std::string started = "OrvisWatch(pid=4242)を起動しました。";
  const std::string notStarted = "OrvisWatchを起動できません:cannot start";
  const std::string endedAtOnce = "OrvisWatch(pid=4242)が起動直後に終了しました。終了コード:0";
  struct Case {
    const char* trouble;
    int term, kill;  // polls until the monitor ends after each; -1 never; -2 none runs
    int exitCode;
    long sleptMs;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"", 3, 0, 0, 300, {asked, ended, started}},
      {"", -2, -2, 0, 0, {none, started}},
      {"", -1, 2, 0, 60200, {asked, forced, ended, started}},
      {"", -1, -1, 0, 65000, {asked, forced, stays, started}},
      {"signals refused", 0, 0, 0, 0, {refused, started}},
      {"start fails", 0, 0, 1, 0, {asked, ended, notStarted}},
      {"new one ends at once", 0, 0, 1, 0, {asked, ended, started, endedAtOnce}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.trouble) + " " + std::to_string(c.term) + std::to_string(c.kill));
    TempDir dir;
    FakeClock clock;
    platform::DayLog log(dir.path() + "syslog/reactivation/", "Reactivation", clock);
    FakeMonitorProcesses monitors;
    const std::string programs = dir.path() + "programs/";
    if (c.term != -2) monitors.processes[700] = {dir.path(), c.term, c.kill};
    monitors.processes[800] = {"/elsewhere/", 0, 0};  // never touched
    monitors.refused = c.trouble == std::string("signals refused");
    FakeLauncher launcher;
    launcher.failing = c.trouble == std::string("start fails");
    launcher.waitsBeforeEnd = c.trouble == std::string("new one ends at once") ? 0 : 1 << 30;

    EXPECT_EQ(restart::MonitorRestart(dir.path(), programs, log, clock, monitors, launcher).run(),
              c.exitCode);
    EXPECT_EQ(clock.totalSleptMs(), c.sleptMs);
    EXPECT_EQ(monitors.processes[800].pollsLeft, -1);
    ASSERT_EQ(launcher.launches.size(), 1u);
    EXPECT_EQ(launcher.launches[0].commandLine, programs + "OrvisWatch OrvisWatch");
    EXPECT_EQ(launcher.launches[0].workingFolder, dir.path());
    EXPECT_EQ(launcher.launches[0].mode, platform::WindowMode::Detached);
    std::vector<std::string> lines = {"Reactivation開始:" + dir.path()};
    lines.insert(lines.end(), c.lines.begin(), c.lines.end());
    lines.push_back("Reactivation終了");
    for (auto& l : lines) l = "(Reactivation)," + sj(l);
    EXPECT_EQ(readLogLines(dir.path() + "syslog/reactivation/"), lines);
  }
}
