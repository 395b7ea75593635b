// Switching between edit/manual and automatic mode, and the background.

#include <gtest/gtest.h>

#include "platform/codec.h"
#include "support/monitor_rig.h"

using namespace orvis;
using namespace orvis::testing;

namespace {
void job(MonitorRig& rig, const std::string& no, const std::string& source) {
  rig.writeJob(no,
               {"NO=" + no, "URI=http://example.com/" + no, "NAME=job" + no, "SOURCE=" + source});
}
}  // namespace

TEST(Modes, AutomaticModeIsRefusedWhileAJobLacksItsBaseline) {
  MonitorRig rig;
  job(rig, "1", "1");
  job(rig, "2", "0");
  job(rig, "3", "");
  rig.start();
  rig.monitor->autoCheck().startAutomaticMode();
  EXPECT_EQ(rig.prompter.texts(),
            std::vector<std::string>{
                "№2の比較元ソースが取得できていません。ソース取得を行ってください。"});
  EXPECT_EQ(rig.prompter.questions()[0].flags, 0);
  EXPECT_EQ(rig.monitor->state().automaticMode, 0);
  EXPECT_FALSE(rig.monitor->timers().check.enabled());
  EXPECT_FALSE(rig.shell.modeLabelAutomatic);
  EXPECT_TRUE(rig.shell.editControlsEnabled);
}

TEST(Modes, StartAndStopAutomaticMode) {
  MonitorRig rig;
  job(rig, "1", "1");
  writeText(rig.path("ORVIS.ini"), "[COMMON]\r\nCHECKINTERVAL=5\r\n");
  rig.start();
  rig.clock.set({2026, 12, 7, 10, 11, 12, 0});
  rig.monitor->autoCheck().startAutomaticMode();
  EXPECT_FALSE(rig.shell.editControlsEnabled);
  EXPECT_TRUE(rig.shell.modeLabelAutomatic);
  EXPECT_FALSE(rig.shell.startEnabled);
  EXPECT_TRUE(rig.shell.stopEnabled);
  EXPECT_EQ(rig.monitor->timers().check.interval(), 5 * 60000);
  EXPECT_TRUE(rig.monitor->timers().check.enabled());
  EXPECT_TRUE(rig.monitor->timers().reactivation.enabled());
  EXPECT_EQ(platform::toUtf8(rig.shell.statusText(0)), "2026/12/07 10:11:12 に起動しました。");
  EXPECT_EQ(readText(rig.path("Mode.tmp")), "[COMMON]\r\nMODE=1\r\n");
  EXPECT_EQ(rig.tray.events.back(), "modify 0 " + sj("NewORVIS：自動チェック待機中"));

  rig.monitor->autoCheck().stopAutomaticMode();
  EXPECT_TRUE(rig.shell.editControlsEnabled);
  EXPECT_FALSE(rig.shell.modeLabelAutomatic);
  EXPECT_TRUE(rig.shell.startEnabled);
  EXPECT_FALSE(rig.shell.stopEnabled);
  EXPECT_FALSE(rig.monitor->timers().check.enabled());
  EXPECT_FALSE(rig.monitor->timers().reactivation.enabled());
  EXPECT_EQ(rig.shell.statusText(0), "");
  EXPECT_EQ(readText(rig.path("Mode.tmp")), "[COMMON]\r\nMODE=0\r\n");
  EXPECT_EQ(rig.tray.events.back(), "modify 0 " + sj("NewORVIS：手動編集中"));
  auto log = rig.log();
  EXPECT_EQ(log[log.size() - 2].substr(13), "編集・手動モードに移行しました。");
}

TEST(Modes, TheIconIsLeftAloneWhileTheBusyPanelShows) {
  MonitorRig rig;
  rig.start();
  size_t events = rig.tray.events.size();
  rig.shell.busy = true;
  rig.monitor->autoCheck().startAutomaticMode();
  rig.monitor->background().sendToBackground();
  EXPECT_EQ(rig.tray.events.size(), events);
  EXPECT_FALSE(rig.shell.visible);
  EXPECT_EQ(readText(rig.path("Mode.tmp")), "[COMMON]\r\nMODE=2\r\n");
}

TEST(Modes, BackgroundInEditModeStillRemembersTwo) {
  MonitorRig rig;
  rig.start();
  rig.monitor->background().sendToBackground();
  EXPECT_FALSE(rig.shell.visible);
  EXPECT_EQ(rig.monitor->state().automaticMode, 0);
  EXPECT_EQ(readText(rig.path("Mode.tmp")), "[COMMON]\r\nMODE=2\r\n");
  EXPECT_EQ(rig.log().back().substr(13), "NEW ORVIS Monitor,MODIFYIcon()Icon=0");
}

TEST(Modes, AVeryLongPeriodStaysWithinWhatATimerHolds) {
  EXPECT_EQ(AutoCheckMode::checkIntervalMs(999999), INT32_MAX);
  EXPECT_EQ(AutoCheckMode::checkIntervalMs(60), 3600000);
}
