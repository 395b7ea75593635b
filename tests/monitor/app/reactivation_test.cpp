// The daily reactivation and its test button, on a fake clock: the timer's
// ticks are fired by hand at the times a 10 s timer would reach.

#include <gtest/gtest.h>

#include "platform/codec.h"
#include "platform/files.h"
#include "support/monitor_rig.h"

using namespace orvis;
using namespace orvis::testing;

namespace {

const char* const kLaunched = "* ReActivate *";
const char* const kSkipped = "* ﾁｪｯｸ中のためReActivateは見送りました。 *";

// A monitor started on 2026-12-07 at 01:00 in automatic mode, with the
// restart program beside it.
struct ReactivationRig : MonitorRig {
  explicit ReactivationRig(const std::string& stored = "02:00", std::vector<std::string> args = {})
      : MonitorRig(std::move(args)) {
    writeText(path("ORVIS.ini"), "[COMMON]\r\nREACTIVATION=" + stored + "\r\n");
    writeText(path("Reactivation"), "");
    clock.set({2026, 12, 7, 1, 0, 0, 0});
    start();
    monitor->reactivation().setApplicationEnd([this] { ++ends; });
    monitor->autoCheck().startAutomaticMode();
  }
  // One tick at the given time, if the timer runs.
  void tickAt(int day, int hour, int minute, int second) {
    clock.set({2026, 12, day, hour, minute, second, 0});
    monitor->timers().reactivation.fire();
  }
  // The ticks of a whole day's set minute, 10 s apart.
  void tickThroughMinute(int day, int hour, int minute) {
    for (int second = 5; second < 60; second += 10) tickAt(day, hour, minute, second);
  }
  int count(const std::string& line) const {
    int n = 0;
    for (const auto& l : log()) n += l == "(OrvisWatch)," + line;
    return n;
  }
  bool reactivated() const { return !launcher.launches.empty() || ends > 0; }
  int ends = 0;
};

}  // namespace

TEST(Reactivation, NeverOnTheStartDayThenOnceAtTheSetMinute) {
  ReactivationRig rig;
  rig.tickThroughMinute(7, 2, 0);
  EXPECT_FALSE(rig.reactivated());
  rig.tickAt(8, 1, 59, 55);
  EXPECT_FALSE(rig.reactivated());
  rig.tickAt(8, 2, 0, 5);
  ASSERT_EQ(rig.launcher.launches.size(), 1u);
  const auto& launch = rig.launcher.launches[0];
  EXPECT_EQ(launch.commandLine, rig.path("Reactivation"));
  EXPECT_EQ(launch.workingFolder, rig.dir.path());
  EXPECT_EQ(launch.mode, platform::WindowMode::Shown);
  EXPECT_EQ(rig.launcher.waits, 0);  // not waited for
  EXPECT_EQ(rig.launcher.closes, 1);
  EXPECT_EQ(rig.count(kLaunched), 1);
  EXPECT_EQ(rig.monitor->state().shutdownFlag, 1);
  EXPECT_FALSE(rig.monitor->timers().reactivation.enabled());
  // The window now closes without the question.
  EXPECT_TRUE(rig.monitor->confirmClose());
  EXPECT_TRUE(rig.prompter.questions().empty());
}

TEST(Reactivation, TheSetTimeIsComparedAsText) {
  struct Case {
    const char* stored;
    int hour, minute;
    bool due;
  };
  const Case cases[] = {
      {"02:00", 2, 0, true}, {":", 2, 0, true},       {"", 2, 0, true},
      {"2:00", 2, 0, false}, {"23:59", 23, 59, true}, {"02:00", 2, 1, false},
  };
  for (const Case& c : cases) {
    ReactivationRig rig(c.stored);
    rig.tickThroughMinute(8, c.hour, c.minute);
    EXPECT_EQ(rig.reactivated(), c.due) << c.stored;
    EXPECT_EQ(rig.count(kLaunched), c.due ? 1 : 0) << c.stored;
    EXPECT_EQ(rig.monitor->timers().reactivation.enabled(), !c.due) << c.stored;
  }
}

// A pass from 01:59:50 to 02:00:30 keeps both timers off; the first tick
// after it, still in the minute, reactivates. A pass through the whole
// minute puts it off to the next day.
TEST(Reactivation, APassPostponesItWithinTheMinuteOrToTheNextDay) {
  for (int passEndsSecond : {30, 65}) {
    ReactivationRig rig;
    auto& timers = rig.monitor->timers();
    rig.clock.set({2026, 12, 8, 1, 59, 50, 0});
    timers.reactivation.setEnabled(false);
    timers.check.setEnabled(false);
    rig.tickAt(8, 2, 0, 0);  // off: does not fire
    rig.tickAt(8, 2, 0, 10);
    timers.check.setEnabled(true);
    timers.reactivation.setEnabled(true);
    rig.tickAt(8, 2, passEndsSecond / 60, passEndsSecond % 60 + 10);
    EXPECT_EQ(rig.reactivated(), passEndsSecond < 60) << passEndsSecond;
    rig.tickAt(9, 2, 0, 5);
    EXPECT_EQ(rig.count(kLaunched), 1) << passEndsSecond;
    EXPECT_EQ(rig.count(kSkipped), 0);
  }
}

// The timer running while a pass is at work (a manual pass, or one that
// holds the check timer off): skipped with a line, tried again at the
// next tick of the minute.
TEST(Reactivation, ATickDuringAPassIsSkippedWithALine) {
  for (bool checkTimerOff : {true, false}) {
    ReactivationRig rig;
    if (checkTimerOff)
      rig.monitor->timers().check.setEnabled(false);
    else
      rig.monitor->state().checkPassRunning = true;
    rig.tickAt(8, 2, 0, 5);
    rig.tickAt(8, 2, 0, 15);
    EXPECT_FALSE(rig.reactivated());
    EXPECT_EQ(rig.count(kSkipped), 2);
    EXPECT_TRUE(rig.monitor->timers().reactivation.enabled());
    rig.monitor->timers().check.setEnabled(true);
    rig.monitor->state().checkPassRunning = false;
    rig.tickAt(8, 2, 0, 25);
    EXPECT_TRUE(rig.reactivated());
  }
}

TEST(Reactivation, NothingInEditModeOrWithoutTheProgram) {
  ReactivationRig editMode;
  editMode.monitor->autoCheck().stopAutomaticMode();
  editMode.tickThroughMinute(8, 2, 0);
  EXPECT_FALSE(editMode.reactivated());

  ReactivationRig missing;
  platform::removeFile(missing.path("Reactivation"));
  const size_t lines = missing.log().size();
  missing.tickThroughMinute(8, 2, 0);
  EXPECT_FALSE(missing.reactivated());
  EXPECT_EQ(missing.log().size(), lines);  // not a word
  EXPECT_TRUE(missing.monitor->timers().reactivation.enabled());
  EXPECT_EQ(missing.monitor->state().shutdownFlag, 0);
  writeText(missing.path("Reactivation"), "");  // back, but the day is spent
  missing.tickThroughMinute(8, 2, 0);
  EXPECT_FALSE(missing.reactivated());
}

// A program that is there but cannot be started: the monitor runs on as
// before, and says why.
TEST(Reactivation, AFailedStartIsLoggedAndTheMonitorRunsOn) {
  ReactivationRig rig;
  rig.launcher.failing = true;
  rig.tickAt(8, 2, 0, 5);
  auto log = rig.log();
  EXPECT_EQ(log.back(),
            "(OrvisWatch),* ReActivate * 再起動プログラムを起動できません:cannot start");
  EXPECT_EQ(rig.monitor->state().shutdownFlag, 0);
  EXPECT_TRUE(rig.monitor->timers().reactivation.enabled());
}

TEST(Reactivation, AServiceStartEndsAtOnceForItsServiceManager) {
  ReactivationRig rig("02:00", {"OrvisWatchService"});
  rig.tickAt(8, 2, 0, 5);
  EXPECT_EQ(rig.ends, 1);
  EXPECT_TRUE(rig.launcher.launches.empty());
  EXPECT_EQ(rig.monitor->state().shutdownFlag, 1);
  EXPECT_EQ(rig.log().back(), "(OrvisWatch),* ReActivate wait for Service Reactivate*");
}

TEST(Reactivation, TheTestButtonAsksFirst) {
  ReactivationRig rig;
  rig.monitor->autoCheck().stopAutomaticMode();  // the button works in edit mode
  rig.prompter.answer(mb::IdCancel);
  rig.monitor->reactivation().runTest();
  EXPECT_FALSE(rig.reactivated());
  rig.prompter.answer(mb::IdOk);
  rig.monitor->reactivation().runTest();
  EXPECT_EQ(rig.launcher.launches.size(), 1u);
  ASSERT_EQ(rig.prompter.questions().size(), 2u);
  EXPECT_EQ(rig.prompter.texts()[0], "再起動テストを行います。よろしいですか？");
  EXPECT_EQ(rig.prompter.questions()[0].flags, mb::OKCancel | mb::DefButton2);
  EXPECT_TRUE(rig.monitor->confirmClose());
  EXPECT_EQ(rig.prompter.questions().size(), 2u);
}
