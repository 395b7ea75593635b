// The daily reactivation and its test button, on a fake clock: the timer's
// ticks are fired by hand at the times a 10 s timer reaches.

#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/monitor_rig.h"

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

// A pass from 01:59:50 to 02:00:30 keeps both timers off, and the first tick
// after it, still in the minute, reactivates; one to 02:01:05 puts it off to
// the next day. A tick while the check timer is off or a pass runs is
// skipped with a line.
TEST(Reactivation, APassPostponesIt) {
  for (int passEnds : {30, 65}) {
    ReactivationRig rig;
    auto& timers = rig.monitor->timers();
    timers.reactivation.setEnabled(false);
    timers.check.setEnabled(false);
    rig.tickAt(8, 2, 0, 0);
    rig.tickAt(8, 2, 0, 10);
    timers.reactivation.setEnabled(true);
    rig.tickAt(8, 2, 0, 20);  // the check timer still off
    rig.monitor->state().checkPassRunning = true;
    timers.check.setEnabled(true);
    rig.tickAt(8, 2, 0, 25);
    rig.monitor->state().checkPassRunning = false;
    EXPECT_EQ(rig.count("* ﾁｪｯｸ中のためReActivateは見送りました。 *"), 2);
    rig.tickAt(8, 2, passEnds / 60, passEnds % 60 + 10);
    EXPECT_EQ(rig.launches(), passEnds < 60 ? 1u : 0u) << passEnds;
    rig.tickAt(9, 2, 0, 5);
    EXPECT_EQ(rig.launches(), 1u) << passEnds;
  }
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
