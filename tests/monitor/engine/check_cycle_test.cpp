// The check cycle on the monitor logic with timers on the fake clock: when
// automatic passes run, what they do around the jobs (retries, alarm,
// status line, timers), the manual check, and a stop during a pass.

#include <gtest/gtest.h>

#include <functional>

#include "platform/codec.h"
#include "platform/files.h"
#include "support/check_rig.h"
#include "support/fake_timer_driver.h"

using namespace orvis;
using namespace orvis::testing;

namespace {

using Lines = std::vector<std::string>;
constexpr long long kMinute = 60 * 1000;

// URL jobs on the monitor with a five-minute period and its timers on the
// fake clock.
struct CycleRig : CheckRig {
  explicit CycleRig(int jobs) {
    writeText(path("ORVIS.ini"), "[COMMON]\r\nCHECKINTERVAL=5\r\n");
    for (int n = 1; n <= jobs; ++n) page(std::to_string(n), "abc");
    start();
    driveMonitorTimers();
  }
  // Job `no`'s page; its baseline is "abc". An empty page is a failed fetch.
  void page(const std::string& no, const std::string& text) {
    if (!platform::pathExists(path("info/" + no + ".ini"))) {
      job(no, "URL", "http://example.com/" + no);
      baseline(no, "abc");
    }
    pages["http://example.com/" + no] = text;
  }
  int fetchesOf(const std::string& no) { return fetches["http://example.com/" + no]; }
  int count(const std::string& line) {
    const Lines all = messages();
    return static_cast<int>(std::count(all.begin(), all.end(), line));
  }
  void select(int top, int bottom, int clicked) {
    grid.top = top;
    grid.bottom = bottom;
    monitor->jobList().selectCell(0, clicked);
  }

  void checkSelectedJobs() { monitor->checkCycle().checkSelectedJobs(); }
};

TEST(CheckCycle, PassesComeOnePeriodAfterTheStartAndAfterThePreviousPassEnded) {
  CycleRig rig(2);
  std::vector<bool> timersOnDuringPass;
  rig.pump.onPump([&] {
    const MonitorTimers& t = rig.monitor->timers();
    if (rig.shell.busy) timersOnDuringPass.push_back(t.check.enabled() || t.reactivation.enabled());
  });
  rig.monitor->autoCheck().startAutomaticMode();
  rig.timers.advance(5 * kMinute - 1);
  EXPECT_EQ(rig.count("自動チェック処理開始しました。"), 0);
  rig.newMessages();
  rig.timers.advance(1);
  EXPECT_EQ(rig.fetchesOf("1"), 1);
  // The pass took its time (a second for two fetches); the next comes a
  // whole period after its end, and its timers were off meanwhile.
  EXPECT_EQ(rig.timers.dueIn(rig.monitor->timers().check), 5 * kMinute);
  EXPECT_EQ(rig.timers.dueIn(rig.monitor->timers().reactivation), 10000);
  EXPECT_EQ(timersOnDuringPass, std::vector<bool>(timersOnDuringPass.size(), false));
  EXPECT_FALSE(timersOnDuringPass.empty());
  EXPECT_EQ(platform::toUtf8(rig.shell.statusText(0)),
            "2026/12/07 09:10:04 にチェック終了しました。");
  EXPECT_FALSE(rig.shell.editControlsEnabled);
  const Lines log = rig.newMessages();
  EXPECT_EQ(log.front(), "自動チェック処理開始しました。");
  EXPECT_EQ(Lines(log.end() - 4, log.end()),
            (Lines{"NEW ORVIS Monitor,MODIFYIcon()Icon=0", "Global,syslog整理",
                   "Global,<-有効ファイル数", "周期タイマー再設定しました。"}));
  EXPECT_FALSE(rig.alarm.alarmPanel.shown);
  rig.timers.advance(5 * kMinute - 1);
  EXPECT_EQ(rig.count("自動チェック処理開始しました。"), 1);
  rig.timers.advance(1);
  EXPECT_EQ(rig.count("自動チェック処理開始しました。"), 2);
}

TEST(CheckCycle, AJobThatNeverAnswersIsTriedFourTimesAndMailedButRaisesNoAlarm) {
  CycleRig rig(2);
  rig.page("1", "abd");  // changed
  rig.page("2", "");     // never answers
  rig.monitor->autoCheck().startAutomaticMode();
  rig.timers.advance(5 * kMinute);
  EXPECT_EQ(rig.fetchesOf("1"), 1);
  EXPECT_EQ(rig.fetchesOf("2"), 4);
  for (auto [line, times] : {std::pair{"2->応答エラー", 4},
                             {"2->接続リトライ", 3},
                             {"2->接続リトライオーバー", 1},
                             {"エラー検出", 1},
                             // Retries keep the rules of the first check.
                             {"2->基本設定でチェックします。", 1}})
    EXPECT_EQ(rig.count(line), times) << line;
  ASSERT_EQ(rig.alerts.size(), 2u);
  EXPECT_EQ(rig.alerts[0].message, "HTMLソース比較エラーを検出");
  EXPECT_EQ(rig.alerts[1].message, "応答エラーを検出しました。");
  EXPECT_EQ(rig.jobValue("2", "CHECK"), "R");
  EXPECT_EQ(rig.grid.cell(1, 7), "0");
  EXPECT_EQ(rig.grid.cell(2, 7), "-");
  EXPECT_TRUE(rig.alarm.alarmPanel.shown);
  // Both unchanged at the next pass: the alarm ends.
  rig.page("2", "abc");
  rig.timers.advance(5 * kMinute);
  EXPECT_EQ(rig.count("エラー検出"), 1);
  EXPECT_FALSE(rig.alarm.alarmPanel.shown);
  EXPECT_EQ(rig.alerts.size(), 2u);
}

TEST(CheckCycle, AManualCheckTakesTheSelectedRowsAndRaisesNoAlarm) {
  CycleRig rig(6);
  rig.page("4", "abd");
  rig.select(3, 5, 4);
  rig.shell.editControlsHistory.clear();
  rig.checkSelectedJobs();
  for (int n = 1; n <= 6; ++n) EXPECT_EQ(rig.fetchesOf(std::to_string(n)), n >= 3 && n <= 5) << n;
  ASSERT_EQ(rig.alerts.size(), 1u);
  EXPECT_EQ(rig.grid.cell(4, 7), "0");
  EXPECT_EQ(rig.grid.cell(3, 7), "1");
  EXPECT_FALSE(rig.alarm.alarmPanel.shown);
  EXPECT_EQ(rig.shell.statusText(0), "");
  EXPECT_EQ(rig.shell.editControlsHistory, (std::vector<bool>{false, true}));
  // Selections that name no job.
  const std::string other = "リスト上で対象をクリックし単独選択するか、複数選択してください。";
  for (auto [top, bottom, clicked, message] :
       {std::tuple{0, 0, 4, std::string("選択領域が異常です。")},
        {2, 3, 0, other},
        {2, 3, 9, other}}) {
    rig.prompter.clear();
    rig.select(top, bottom, clicked);
    rig.checkSelectedJobs();
    EXPECT_EQ(rig.prompter.texts(), Lines{message});
  }
  EXPECT_EQ(rig.count("invalid selection."), 1);
  EXPECT_EQ(rig.fetchesOf("2"), 0);
}

TEST(CheckCycle, AStopDuringAnAutomaticPassLeavesTheModeStopped) {
  CycleRig rig(2);
  rig.monitor->autoCheck().startAutomaticMode();
  std::vector<bool> controlsAfterStop;
  rig.pump.onPump([&] {
    if (rig.fetchesOf("1") == 1 && rig.monitor->state().automaticMode == 1)
      rig.monitor->autoCheck().stopAutomaticMode();
    else if (rig.shell.busy)
      controlsAfterStop.push_back(rig.shell.editControlsEnabled);
  });
  rig.timers.advance(5 * kMinute);
  // The pass went on to its end, the controls locked until then.
  EXPECT_EQ(rig.fetchesOf("2"), 1);
  EXPECT_EQ(controlsAfterStop, std::vector<bool>(controlsAfterStop.size(), false));
  EXPECT_TRUE(rig.shell.editControlsEnabled);
  EXPECT_EQ(rig.monitor->state().automaticMode, 0);
  EXPECT_FALSE(rig.monitor->timers().check.enabled());
  EXPECT_FALSE(rig.monitor->timers().reactivation.enabled());
  EXPECT_EQ(rig.count("周期タイマー再設定しました。"), 0);
  EXPECT_EQ(readText(rig.path("Mode.tmp")), "[COMMON]\r\nMODE=0\r\n");
  rig.timers.advance(60 * kMinute);
  EXPECT_EQ(rig.count("自動チェック処理開始しました。"), 1);
}

TEST(CheckCycle, AJobWithoutBaselineStopsEachPassButNotTheCycle) {
  CycleRig rig(2);
  rig.monitor->autoCheck().startAutomaticMode();
  // The baseline of job 2 was lost after the mode started.
  rig.writeJob("2", {"NO= 2 ", "URI=http://example.com/2", "SOURCE=0"});
  rig.prompter.clear();
  rig.timers.advance(10 * kMinute);
  EXPECT_EQ(rig.prompter.texts(), (Lines{"№2の比較元ソース取得を行ってください。",
                                         "№2の比較元ソース取得を行ってください。"}));
  EXPECT_EQ(rig.fetchesOf("1"), 0);
  EXPECT_EQ(rig.count("周期タイマー再設定しました。"), 2);
  EXPECT_FALSE(rig.shell.editControlsEnabled);
  // Its file removed: a refused pass loads the list again, the next checks job 1.
  platform::removeFile(rig.path("info/2.ini"));
  rig.timers.advance(10 * kMinute);
  EXPECT_EQ(rig.fetchesOf("1"), 1);
}

TEST(CheckCycle, AnAutomaticPassWaitsWhileAManualOneRuns) {
  CycleRig rig(2);
  rig.select(1, 2, 1);
  rig.pump.onPump([&] {
    if (rig.fetchesOf("1") != 1 || rig.monitor->state().automaticMode == 1) return;
    // The mode starts and its timer comes due while the manual pass runs.
    rig.monitor->autoCheck().startAutomaticMode();
    rig.monitor->timers().check.fire();
  });
  rig.checkSelectedJobs();
  EXPECT_EQ(rig.count("チェック処理中のため、自動チェックを次の周期に回します。"), 1);
  EXPECT_EQ(rig.fetchesOf("1") + rig.fetchesOf("2"), 2);
  // In the automatic mode the controls stay locked after the manual pass.
  EXPECT_FALSE(rig.shell.editControlsEnabled);
  rig.timers.advance(5 * kMinute);
  EXPECT_EQ(rig.count("自動チェック処理開始しました。"), 1);
}

}  // namespace

namespace {

// A request to end the program, made at a moment of the automatic pass: the
// pass stops there, writes nothing more, and the stop sequence runs after it.
TEST(CheckCycle, ARequestToEndStopsThePassWithoutAnotherWrite) {
  // The last child started, while it runs.
  auto running = [](CycleRig& r, const char* text) {
    const auto& l = r.launcher.launches;
    return !l.empty() && l.back().commandLine.find(text) != std::string::npos;
  };
  const struct {
    const char* moment;
    std::function<bool(CycleRig&)> now;
    bool firstDone;  // job 1, which changed, was checked before
  } moments[] = {
      {"a page fetched", [&](CycleRig& r) { return running(r, "/1 "); }, false},
      {"pages compared", [](CycleRig& r) { return r.shell.compareGauge; }, false},
      {"an alert mailed", [&](CycleRig& r) { return running(r, "alertmail"); }, false},
      {"a retry", [](CycleRig& r) { return r.fetchesOf("2") == 2; }, true},
  };
  for (const auto& m : moments) {
    SCOPED_TRACE(m.moment);
    CycleRig rig(2);
    rig.page("1", "abd");
    rig.page("2", "");
    rig.monitor->stopRequest().setStopSequence([&] { rig.monitor->shutDown(); });
    size_t logged = 0;
    auto request = [&] {
      if (logged || !m.now(rig)) return;
      logged = rig.messages().size();
      rig.monitor->stopRequest().request();
    };
    rig.launcher.onWait = request;
    rig.pump.onPump(request);
    rig.monitor->autoCheck().startAutomaticMode();
    rig.timers.advance(5 * kMinute);
    ASSERT_NE(logged, 0u);
    const Lines log = rig.messages();
    EXPECT_EQ(
        Lines(log.begin() + static_cast<long>(logged), log.end()),
        (Lines{"オーディオ停止処理", "Global,syslog整理", "Global,<-有効ファイル数", "終了"}));
    EXPECT_EQ(rig.jobValue("1", "CHECK"), m.firstDone ? "0" : "");
    EXPECT_EQ(rig.baselineNow("1"), m.firstDone ? "abd" : "abc");
    // Job 2 never answers: its first "R" is all it may have.
    EXPECT_EQ(rig.jobValue("2", "CHECK"), m.firstDone ? "R" : "");
    EXPECT_FALSE(rig.monitor->timers().check.enabled());
    EXPECT_FALSE(rig.monitor->timers().reactivation.enabled());
  }
}

}  // namespace
