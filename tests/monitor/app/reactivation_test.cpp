// The daily reactivation and its test button, on a fake clock: the timer's
// ticks are fired by hand at the times a 10 s timer reaches.

#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/check_rig.h"
#include "support/fake_timer_driver.h"

using namespace orvis;
using namespace orvis::testing;

namespace {

// Started on 2026-12-07 at 01:00 in automatic mode, the restart program
// beside it.
struct ReactivationRig : MonitorRig {
  explicit ReactivationRig(const std::string& stored = "02:00", std::vector<std::string> a = {})
      : MonitorRig(std::move(a)) {
    writeText(path("ORVIS.ini"), "[COMMON]\r\nREACTIVATION=" + stored + "\r\n");
    writeText(path("Reactivation"), "");
    clock.set({2026, 12, 7, 1, 0, 0, 0});
    start();
    monitor->reactivation().setApplicationEnd([this] { ++ends; });
    monitor->autoCheck().startAutomaticMode();
  }
  void tickAt(int day, int hour, int minute, int second) {
    clock.set({2026, 12, day, hour, minute, second, 0});
    monitor->timers().reactivation.fire();  // nothing while the timer is off
  }
  void tickThroughMinute(int day, int hour, int minute) {
    for (int second = 5; second < 60; second += 10) tickAt(day, hour, minute, second);
  }
  int count(const std::string& line) const {
    auto l = log();
    return static_cast<int>(std::count(l.begin(), l.end(), "(OrvisWatch)," + line));
  }
  size_t launches() const { return launcher.launches.size(); }
  int ends = 0;
};

}  // namespace

TEST(Reactivation, NeverOnTheStartDayThenOnceAtTheSetMinuteAndTheCloseNoLongerAsks) {
  ReactivationRig rig;
  rig.tickThroughMinute(7, 2, 0);
  rig.tickAt(8, 1, 59, 55);
  EXPECT_EQ(rig.launches(), 0u);
  rig.tickThroughMinute(8, 2, 0);
  ASSERT_EQ(rig.launches(), 1u);
  const auto& launch = rig.launcher.launches[0];
  EXPECT_EQ(launch.commandLine, rig.path("Reactivation"));
  EXPECT_EQ(launch.workingFolder, rig.dir.path());
  EXPECT_EQ(launch.mode, platform::WindowMode::Shown);
  EXPECT_EQ(rig.launcher.waits, 0);  // not waited for
  EXPECT_EQ(rig.count("* ReActivate *"), 1);
  EXPECT_FALSE(rig.monitor->timers().reactivation.enabled());
  EXPECT_TRUE(rig.monitor->confirmClose());
  EXPECT_TRUE(rig.prompter.questions().empty());
}

TEST(Reactivation, WhenItIsDueAndWhenNot) {
  struct Case {
    const char* what;
    const char* stored;
    void (*prepare)(ReactivationRig&);
    size_t launches;
  };
  const Case cases[] = {
      {"set time", "02:00", [](ReactivationRig&) {}, 1},
      {"\":\" reads as 02:00", ":", [](ReactivationRig&) {}, 1},
      {"no leading zero never matches", "2:00", [](ReactivationRig&) {}, 0},
      {"edit mode", "02:00", [](ReactivationRig& r) { r.monitor->autoCheck().stopAutomaticMode(); },
       0},
      {"program missing", "02:00",
       [](ReactivationRig& r) { platform::removeFile(r.path("Reactivation")); }, 0},
  };
  for (const Case& c : cases) {
    ReactivationRig rig(c.stored);
    c.prepare(rig);
    const size_t lines = rig.log().size();
    rig.tickThroughMinute(8, 2, 0);
    writeText(rig.path("Reactivation"), "");  // there again: the day is spent all the same
    rig.tickThroughMinute(8, 2, 0);
    EXPECT_EQ(rig.launches(), c.launches) << c.what;
    EXPECT_EQ(rig.log().size(), lines + c.launches) << c.what;  // silent when not due
    EXPECT_EQ(rig.monitor->state().shutdownFlag, static_cast<int>(c.launches)) << c.what;
  }
}

// A real automatic pass from 01:59:51 whose page takes 40 s to come holds
// the timers off; the first tick after it, still in the minute, reactivates.
// A page that takes 75 s puts the reactivation off to the next day.
TEST(Reactivation, APassPostponesItToTheFirstTickAfterIt) {
  for (int fetchSeconds : {40, 75}) {
    CheckRig rig;
    writeText(rig.path("ORVIS.ini"), "[COMMON]\r\nCHECKINTERVAL=1\r\n");
    writeText(rig.path("Reactivation"), "");
    rig.job("1", "URL", "http://example.com/1");
    rig.baseline("1", "abc");
    rig.pages["http://example.com/1"] = "abc";
    rig.launcher.waitsBeforeEnd = fetchSeconds * 20;
    rig.launcher.onWait = [&rig] { rig.clock.advanceMs(50); };
    rig.clock.set({2026, 12, 7, 1, 0, 0, 0});
    rig.start();
    FakeTimerDriver& timers = rig.driveMonitorTimers();
    rig.clock.set({2026, 12, 8, 1, 58, 51, 0});
    rig.monitor->autoCheck().startAutomaticMode();
    timers.advance(3 * 60 * 1000);  // the first pass starts at 01:59:51
    // Not at 02:00:01, in the pass, but at the tick 10 s after its end.
    const auto log = readLogLines(rig.path("syslog/"), false);
    const auto restart = std::find_if(log.begin(), log.end(), [](const std::string& line) {
      return line.ends_with("(OrvisWatch),* ReActivate *");
    });
    ASSERT_EQ(restart != log.end(), fetchSeconds == 40) << fetchSeconds;
    if (restart != log.end()) {
      EXPECT_EQ(restart->substr(0, 19), "2026/12/08,02:00:41");
    }
  }
}

// The timer may tick while a pass runs that holds the check timer off or
// keeps its own flag (a manual pass): skipped with a line, tried again at
// the next tick of the minute.
TEST(Reactivation, ATickWhileAPassRunsIsSkippedWithALine) {
  ReactivationRig rig;
  rig.monitor->timers().check.setEnabled(false);
  rig.tickAt(8, 2, 0, 5);
  rig.monitor->timers().check.setEnabled(true);
  rig.monitor->state().checkPassRunning = true;
  rig.tickAt(8, 2, 0, 15);
  EXPECT_EQ(rig.count("* ﾁｪｯｸ中のためReActivateは見送りました。 *"), 2);
  rig.monitor->state().checkPassRunning = false;
  rig.tickAt(8, 2, 0, 25);
  EXPECT_EQ(rig.launches(), 1u);
}

TEST(Reactivation, AServiceStartEndsAtOnceAndAFailedStartRunsOn) {
  ReactivationRig service("02:00", {"OrvisWatchService"});
  service.tickAt(8, 2, 0, 5);
  EXPECT_EQ(service.ends, 1);
  EXPECT_EQ(service.launches(), 0u);
  EXPECT_EQ(service.monitor->state().shutdownFlag, 1);
  EXPECT_EQ(service.log().back(), "(OrvisWatch),* ReActivate wait for Service Reactivate*");

  ReactivationRig failing;
  failing.launcher.failing = true;
  failing.tickAt(8, 2, 0, 5);
  EXPECT_EQ(failing.log().back(),
            "(OrvisWatch),* ReActivate * 再起動プログラムを起動できません:cannot start");
  EXPECT_EQ(failing.monitor->state().shutdownFlag, 0);
  EXPECT_TRUE(failing.monitor->timers().reactivation.enabled());
}

TEST(Reactivation, TheTestButtonAsksFirstThenTheCloseNoLongerAsks) {
  ReactivationRig rig;
  rig.monitor->autoCheck().stopAutomaticMode();
  rig.prompter.answer(mb::IdCancel);
  rig.monitor->reactivation().runTest();
  EXPECT_EQ(rig.launches(), 0u);
  rig.prompter.answer(mb::IdOk);
  rig.monitor->reactivation().runTest();
  EXPECT_EQ(rig.launches(), 1u);
  EXPECT_EQ(rig.prompter.texts()[0], "再起動テストを行います。よろしいですか？");
  EXPECT_EQ(rig.prompter.questions()[0].flags, mb::OKCancel | mb::DefButton2);
  EXPECT_TRUE(rig.monitor->confirmClose());
  EXPECT_EQ(rig.prompter.questions().size(), 2u);
}
