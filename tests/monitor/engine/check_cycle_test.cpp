// The check cycle on the monitor logic with timers on the fake clock: when
// automatic passes run, what they do around the jobs (retries, alarm,
// status line, timers), the manual check, and a stop during a pass.

#include "monitor/engine/check_cycle.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/codec.h"
#include "support/check_rig.h"
#include "support/fake_timer_driver.h"

using namespace orvis;
using namespace orvis::testing;

namespace {

using Lines = std::vector<std::string>;

class RecordingAlarm : public PassAlarm {
 public:
  void passStarting() override { events.push_back("starting"); }
  void passEnded(bool changed) override { events.push_back(changed ? "changed" : "quiet"); }
  Lines events;
};

constexpr long long kMinute = 60 * 1000;

// The monitor with its timers on the fake clock and the automatic pass
// raising a recording alarm.
struct CycleRig : CheckRig {
  CycleRig() { writeText(path("ORVIS.ini"), "[COMMON]\r\nCHECKINTERVAL=5\r\n"); }
  // A URL job whose page is `page`, checked against `baseline`.
  void page(const std::string& no, const std::string& baseline, const std::string& page) {
    job(no, "URL", "http://example.com/" + no);
    this->baseline(no, baseline);
    if (!page.empty()) pages["http://example.com/" + no] = page;
  }
  int fetchesOf(const std::string& no) { return fetches["http://example.com/" + no]; }
  void begin() {
    start();
    newMessages();
    MonitorTimers& t = monitor->timers();
    for (platform::Timer* timer : {&t.check, &t.reactivation}) timer->attach(&timers);
    cycle = std::make_unique<CheckCycle>(
        monitor->services(), monitor->state(), shell, monitor->jobs(), monitor->jobList(), grid, t,
        monitor->settings().current(), monitor->checkPass(), alarm);
    t.check.setHandler([this] { cycle->automaticPass(); });
  }
  int count(const std::string& line) {
    const Lines all = messages();
    return static_cast<int>(std::count(all.begin(), all.end(), line));
  }

  FakeTimerDriver timers{clock};
  RecordingAlarm alarm;
  std::unique_ptr<CheckCycle> cycle;
};

TEST(CheckCycle, PassesComeOnePeriodAfterTheStartAndAfterThePreviousPassEnded) {
  CycleRig rig;
  rig.page("1", "same", "same");
  rig.page("2", "same", "same");
  rig.begin();
  std::vector<bool> timersDuringPass;
  rig.pump.onPump([&] {
    const MonitorTimers& t = rig.monitor->timers();
    if (rig.shell.busy) timersDuringPass.push_back(t.check.enabled() || t.reactivation.enabled());
  });
  rig.monitor->autoCheck().startAutomaticMode();

  rig.timers.advance(5 * kMinute - 1);
  EXPECT_EQ(rig.count("自動チェック処理開始しました。"), 0);
  rig.newMessages();
  rig.timers.advance(1);
  EXPECT_EQ(rig.count("自動チェック処理開始しました。"), 1);
  EXPECT_EQ(rig.fetchesOf("1"), 1);
  // The pass took its time (two fetches of half a second at least); the
  // next one is a whole period from its end, and the timers were off.
  EXPECT_EQ(rig.timers.dueIn(rig.monitor->timers().check), 5 * kMinute);
  EXPECT_EQ(rig.timers.dueIn(rig.monitor->timers().reactivation), 10000);
  EXPECT_FALSE(timersDuringPass.empty());
  EXPECT_EQ(std::count(timersDuringPass.begin(), timersDuringPass.end(), true), 0);
  EXPECT_EQ(platform::toUtf8(rig.shell.statusText(0)),
            "2026/12/07 09:10:04 にチェック終了しました。");
  EXPECT_FALSE(rig.shell.editControlsEnabled);
  const Lines log = rig.newMessages();
  EXPECT_EQ(log.front(), "自動チェック処理開始しました。");
  EXPECT_EQ(Lines(log.end() - 4, log.end()),
            (Lines{"NEW ORVIS Monitor,MODIFYIcon()Icon=0", "Global,syslog整理",
                   "Global,<-有効ファイル数", "周期タイマー再設定しました。"}));
  EXPECT_EQ(rig.alarm.events, (Lines{"starting", "quiet"}));

  rig.timers.advance(5 * kMinute - 1);
  EXPECT_EQ(rig.count("自動チェック処理開始しました。"), 1);
  rig.timers.advance(1);
  EXPECT_EQ(rig.count("自動チェック処理開始しました。"), 2);
}

TEST(CheckCycle, AJobThatNeverAnswersIsTriedFourTimesAndMailedButRaisesNoAlarm) {
  CycleRig rig;
  rig.page("1", "abc", "abd");  // changes
  rig.page("2", "abc", "");     // never answers
  rig.begin();
  rig.monitor->autoCheck().startAutomaticMode();
  rig.timers.advance(5 * kMinute);

  EXPECT_EQ(rig.fetchesOf("1"), 1);
  EXPECT_EQ(rig.fetchesOf("2"), 4);
  EXPECT_EQ(rig.count("2->応答エラー"), 4);
  EXPECT_EQ(rig.count("2->接続リトライ"), 3);
  EXPECT_EQ(rig.count("2->接続リトライオーバー"), 1);
  // Retries keep the rules of the first check without naming them again.
  EXPECT_EQ(rig.count("2->基本設定でチェックします。"), 1);
  ASSERT_EQ(rig.alerts.size(), 2u);
  EXPECT_EQ(rig.alerts[0].message, "HTMLソース比較エラーを検出");
  EXPECT_EQ(rig.alerts[1].message, "応答エラーを検出しました。");
  EXPECT_EQ(rig.alerts[1].detail, "");
  EXPECT_EQ(rig.jobValue("1", "CHECK"), "0");
  EXPECT_EQ(rig.jobValue("2", "CHECK"), "R");
  EXPECT_EQ(rig.grid.cell(1, 7), "0");
  EXPECT_EQ(rig.grid.cell(2, 7), "-");
  // Only the changed job counts for the alarm.
  EXPECT_EQ(rig.count("エラー検出"), 1);
  EXPECT_EQ(rig.alarm.events, (Lines{"starting", "changed"}));

  // Both answer unchanged at the next pass: the alarm ends.
  rig.pages["http://example.com/2"] = "abc";
  rig.timers.advance(5 * kMinute);
  EXPECT_EQ(rig.jobValue("1", "CHECK"), "1");
  EXPECT_EQ(rig.jobValue("2", "CHECK"), "1");
  EXPECT_EQ(rig.count("エラー検出"), 1);
  EXPECT_EQ(rig.alarm.events, (Lines{"starting", "changed", "starting", "quiet"}));
  EXPECT_EQ(rig.alerts.size(), 2u);
}

TEST(CheckCycle, AManualCheckTakesTheSelectedRowsAndRaisesNoAlarm) {
  CycleRig rig;
  for (const char* no : {"1", "2", "3", "4", "5", "6"}) rig.page(no, "abc", "abc");
  rig.pages["http://example.com/4"] = "abd";
  rig.begin();
  rig.grid.top = 3;
  rig.grid.bottom = 5;
  rig.monitor->jobList().selectCell(0, 4);
  rig.shell.editControlsHistory.clear();
  rig.cycle->checkSelectedJobs();
  for (const char* no : {"1", "2", "6"}) EXPECT_EQ(rig.fetchesOf(no), 0) << no;
  for (const char* no : {"3", "4", "5"}) EXPECT_EQ(rig.fetchesOf(no), 1) << no;
  ASSERT_EQ(rig.alerts.size(), 1u);
  EXPECT_EQ(rig.alerts[0].message, "HTMLソース比較エラーを検出");
  EXPECT_EQ(rig.grid.cell(4, 7), "0");
  EXPECT_EQ(rig.grid.cell(3, 7), "1");
  EXPECT_TRUE(rig.alarm.events.empty());
  EXPECT_EQ(rig.shell.statusText(0), "");
  EXPECT_EQ(rig.count("エラー検出"), 0);
  EXPECT_EQ(rig.shell.editControlsHistory, (std::vector<bool>{false, true}));
  EXPECT_EQ(rig.tray.events.back(), "modify 0 " + sj("NewORVIS：手動編集中"));

  // Selections that name no job.
  const struct {
    int top, bottom, clicked;
    const char* message;
  } refused[] = {{0, 0, 4, "選択領域が異常です。"},
                 {2, 3, 0, "リスト上で対象をクリックし単独選択するか、複数選択してください。"},
                 {2, 3, 9, "リスト上で対象をクリックし単独選択するか、複数選択してください。"}};
  for (const auto& r : refused) {
    rig.prompter.clear();
    rig.grid.top = r.top;
    rig.grid.bottom = r.bottom;
    rig.monitor->jobList().selectCell(0, r.clicked);
    rig.cycle->checkSelectedJobs();
    EXPECT_EQ(rig.prompter.texts(), Lines{r.message});
  }
  EXPECT_EQ(rig.count("invalid selection."), 1);
  EXPECT_EQ(rig.fetchesOf("2"), 0);
}

TEST(CheckCycle, AStopDuringAnAutomaticPassLeavesTheModeStopped) {
  CycleRig rig;
  rig.page("1", "abc", "abc");
  rig.page("2", "abc", "abc");
  rig.begin();
  rig.monitor->autoCheck().startAutomaticMode();
  bool stopped = false;
  std::vector<bool> controlsAfterStop;
  rig.pump.onPump([&] {
    if (rig.fetchesOf("1") == 1 && !stopped) {
      stopped = true;
      rig.monitor->autoCheck().stopAutomaticMode();
    } else if (stopped && rig.shell.busy) {
      controlsAfterStop.push_back(rig.shell.editControlsEnabled);
    }
  });
  rig.timers.advance(5 * kMinute);
  ASSERT_TRUE(stopped);
  // The pass went on to its end, with the controls locked until then.
  EXPECT_EQ(rig.fetchesOf("2"), 1);
  EXPECT_EQ(std::count(controlsAfterStop.begin(), controlsAfterStop.end(), true), 0);
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
  CycleRig rig;
  rig.page("1", "abc", "abc");
  rig.page("2", "abc", "abc");
  rig.begin();
  rig.monitor->autoCheck().startAutomaticMode();
  // The baseline of job 2 was lost after the mode started.
  rig.writeJob("2", {"NO= 2 ", "URI=http://example.com/2", "TYPE=URL", "SOURCE=0"});
  rig.prompter.clear();
  rig.timers.advance(5 * kMinute);
  rig.timers.advance(5 * kMinute);
  EXPECT_EQ(rig.prompter.texts(), (Lines{"№2の比較元ソース取得を行ってください。",
                                         "№2の比較元ソース取得を行ってください。"}));
  EXPECT_EQ(rig.prompter.questions()[0].flags, 0);
  EXPECT_EQ(rig.fetchesOf("1"), 0);
  EXPECT_EQ(rig.count("周期タイマー再設定しました。"), 2);
  EXPECT_TRUE(rig.monitor->timers().check.enabled());
  EXPECT_FALSE(rig.shell.editControlsEnabled);
}

TEST(CheckCycle, AnAutomaticPassWaitsWhileAManualOneRuns) {
  CycleRig rig;
  rig.page("1", "abc", "abc");
  rig.page("2", "abc", "abc");
  rig.begin();
  rig.grid.top = 1;
  rig.grid.bottom = 2;
  rig.monitor->jobList().selectCell(0, 1);
  bool fired = false;
  rig.pump.onPump([&] {
    if (fired || rig.fetchesOf("1") == 0) return;
    fired = true;
    // The mode is started and its timer comes due while the manual pass runs.
    rig.monitor->autoCheck().startAutomaticMode();
    rig.monitor->timers().check.fire();
  });
  rig.cycle->checkSelectedJobs();
  ASSERT_TRUE(fired);
  EXPECT_EQ(rig.count("チェック処理中のため、自動チェックを次の周期に回します。"), 1);
  EXPECT_EQ(rig.fetchesOf("1"), 1);
  EXPECT_EQ(rig.fetchesOf("2"), 1);
  EXPECT_TRUE(rig.monitor->timers().check.enabled());
  // In the automatic mode the controls stay locked after the manual pass.
  EXPECT_FALSE(rig.shell.editControlsEnabled);
  rig.timers.advance(5 * kMinute);
  EXPECT_EQ(rig.count("自動チェック処理開始しました。"), 1);
}

}  // namespace
