// The restart program's steps on fakes: the running monitors, their end in
// order or by force, and the new start.

#include "reactivation/monitor_restart.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <map>

#include "platform/codec.h"
#include "support/fake_clock.h"
#include "support/fake_processes.h"
#include "support/temp_dir.h"

using namespace orvis;
using namespace orvis::testing;

namespace {

// Monitors that end a set number of polls after the signal that ends them.
class FakeMonitors : public restart::MonitorProcesses {
 public:
  struct Process {
    std::string program;
    int pollsToEndAfterTerm = 0;  // < 0: ignores SIGTERM
    int pollsToEndAfterKill = 0;  // < 0: never ends
    int pollsLeft = -1;           // counting down once signalled; -1: running
  };
  std::vector<int> running(const std::string& programFile) const override {
    std::vector<int> pids;
    for (const auto& [pid, p] : processes)
      if (p.program == programFile) pids.push_back(pid);
    return pids;
  }
  std::string sendSignal(int pid, int signal) override {
    signals.push_back(std::to_string(pid) + (signal == SIGTERM ? " TERM" : " KILL"));
    if (refuse) return "Operation not permitted";
    Process& p = processes.at(pid);
    const int polls = signal == SIGTERM ? p.pollsToEndAfterTerm : p.pollsToEndAfterKill;
    if (polls >= 0 && (p.pollsLeft < 0 || polls < p.pollsLeft)) p.pollsLeft = polls;
    return {};
  }
  bool ended(int pid) const override {
    Process& p = processes.at(pid);
    if (p.pollsLeft < 0) return false;
    if (p.pollsLeft == 0) return true;
    --p.pollsLeft;
    return false;
  }
  mutable std::map<int, Process> processes;
  std::vector<std::string> signals;
  bool refuse = false;
};

struct RestartRig {
  RestartRig() : log(dir.path() + "syslog/reactivation/", "Reactivation", clock) {}
  int run() {
    return restart::MonitorRestart(dir.path(), log, clock, monitors, launcher).run();
  }
  std::string monitor() const { return dir.path() + "OrvisWatch"; }
  std::vector<std::string> lines() const {
    std::vector<std::string> out;
    for (const auto& l : readLogLines(dir.path() + "syslog/reactivation/"))
      out.push_back(platform::toUtf8(l));
    return out;
  }

  TempDir dir;
  FakeClock clock;
  platform::DayLog log;
  FakeMonitors monitors;
  FakeLauncher launcher;
};

}  // namespace

TEST(MonitorRestart, EndsTheFoldersMonitorInOrderThenStartsItAgain) {
  RestartRig rig;
  rig.monitors.processes[700] = {rig.monitor(), 3, 0};
  rig.monitors.processes[800] = {"/elsewhere/OrvisWatch", 0, 0};
  rig.launcher.waitsBeforeEnd = 1 << 30;  // the new monitor runs on
  EXPECT_EQ(rig.run(), 0);
  EXPECT_EQ(rig.monitors.signals, std::vector<std::string>{"700 TERM"});
  ASSERT_EQ(rig.launcher.launches.size(), 1u);
  const auto& start = rig.launcher.launches[0];
  EXPECT_EQ(start.commandLine, rig.monitor() + " OrvisWatch");
  EXPECT_EQ(start.workingFolder, rig.dir.path());
  EXPECT_EQ(start.mode, platform::WindowMode::Detached);
  EXPECT_EQ(rig.clock.totalSleptMs(), 300);
  const std::string folder = platform::toUtf8(platform::toCp932(rig.dir.path()));
  EXPECT_EQ(rig.lines(), (std::vector<std::string>{
                             "(Reactivation),Reactivation開始:" + folder,
                             "(Reactivation),OrvisWatch(pid=700)に終了を要求しました。",
                             "(Reactivation),OrvisWatch(pid=700)が終了しました。",
                             "(Reactivation),OrvisWatch(pid=4242)を起動しました。",
                             "(Reactivation),Reactivation終了",
                         }));
}

// What goes wrong, and what is still done about it.
TEST(MonitorRestart, FailuresAreLoggedAndTheStartIsStillTried) {
  struct Case {
    const char* what;
    bool monitorRuns;
    int pollsAfterTerm, pollsAfterKill;
    bool refuseSignals, startFails, newMonitorEndsAtOnce;
    int exitCode;
    long sleptMs;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"no monitor runs", false, 0, 0, false, false, false, 0, 0,
       {"実行中のOrvisWatchはありません。", "OrvisWatch(pid=4242)を起動しました。"}},
      {"ignores SIGTERM, ends on SIGKILL", true, -1, 2, false, false, false, 0, 60200,
       {"OrvisWatch(pid=700)に終了を要求しました。",
        "OrvisWatch(pid=700)が60秒以内に終了しないため、強制終了します。",
        "OrvisWatch(pid=700)が終了しました。", "OrvisWatch(pid=4242)を起動しました。"}},
      {"never ends", true, -1, -1, false, false, false, 0, 65000,
       {"OrvisWatch(pid=700)に終了を要求しました。",
        "OrvisWatch(pid=700)が60秒以内に終了しないため、強制終了します。",
        "OrvisWatch(pid=700)が終了しません。", "OrvisWatch(pid=4242)を起動しました。"}},
      {"signals refused", true, 0, 0, true, false, false, 0, 0,
       {"OrvisWatch(pid=700)に終了を要求できません:Operation not permitted",
        "OrvisWatch(pid=4242)を起動しました。"}},
      {"program missing", false, 0, 0, false, true, false, 1, 0,
       {"実行中のOrvisWatchはありません。", "OrvisWatchを起動できません:cannot start"}},
      {"new monitor ends at once", false, 0, 0, false, false, true, 1, 0,
       {"実行中のOrvisWatchはありません。", "OrvisWatch(pid=4242)を起動しました。",
        "OrvisWatch(pid=4242)が起動直後に終了しました。終了コード:0"}},
  };
  for (const Case& c : cases) {
    RestartRig rig;
    if (c.monitorRuns) rig.monitors.processes[700] = {rig.monitor(), c.pollsAfterTerm, c.pollsAfterKill};
    rig.monitors.refuse = c.refuseSignals;
    rig.launcher.failing = c.startFails;
    rig.launcher.waitsBeforeEnd = c.newMonitorEndsAtOnce ? 0 : 1 << 30;
    EXPECT_EQ(rig.run(), c.exitCode) << c.what;
    EXPECT_EQ(rig.clock.totalSleptMs(), c.sleptMs) << c.what;
    std::vector<std::string> lines = rig.lines();
    ASSERT_GE(lines.size(), 2u) << c.what;
    std::vector<std::string> middle;
    for (size_t i = 1; i + 1 < lines.size(); ++i) middle.push_back(lines[i].substr(15));
    EXPECT_EQ(middle, c.lines) << c.what;
    EXPECT_EQ(rig.launcher.launches.size(), 1u) << c.what;
  }
}
