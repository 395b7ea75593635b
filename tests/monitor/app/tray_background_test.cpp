// The icon's clicks, the background and the return, over the whole monitor.

#include <gtest/gtest.h>

#include "platform/codec.h"
#include "support/monitor_rig.h"

using namespace orvis;
using namespace orvis::testing;

namespace {
constexpr int kLeftUp = 0x0202, kRightUp = 0x0205;

// The log lines after the first `from`, without their tag.
std::vector<std::string> linesSince(const MonitorRig& rig, size_t from) {
  std::vector<std::string> out;
  auto log = rig.log();
  for (size_t i = from; i < log.size(); ++i) out.push_back(log[i].substr(13));
  return out;
}
std::string mode(const MonitorRig& rig) { return readText(rig.path("Mode.tmp")); }
}  // namespace

TEST(TrayBackground, TipsFollowTheModeAndEachPass) {
  MonitorRig rig;
  rig.start();
  Monitor& m = *rig.monitor;
  m.autoCheck().startAutomaticMode();
  m.tray().change(TrayIcons::kCheckingPicture);  // a pass begins
  m.tray().change(TrayIcons::kNormalPicture);    // and ends
  m.autoCheck().stopAutomaticMode();
  EXPECT_EQ(rig.tray.events, (std::vector<std::string>{
                                 "add 0 " + sj("NewORVIS：手動編集中"),
                                 "modify 0 " + sj("NewORVIS：自動チェック待機中"),
                                 "modify 1 " + sj("NewORVIS：チェック中"),
                                 "modify 0 " + sj("NewORVIS：自動チェック待機中"),
                                 "modify 0 " + sj("NewORVIS：手動編集中"),
                             }));
}

TEST(TrayBackground, OnlyAButtonUpBringsTheWindowBackAndEachOneLogs) {
  struct Case {
    const char* what;
    std::vector<int> messages;
    int returns;
  };
  const Case cases[] = {
      {"mouse moves and button-downs", {0x0200, 0x0201, 0x0204, 0x0207, 0x0200}, 0},
      {"middle button", {0x0207, 0x0208}, 0},
      {"left click", {0x0201, kLeftUp}, 1},
      {"right click", {0x0204, kRightUp}, 1},
      {"double click", {0x0201, kLeftUp, 0x0203, kLeftUp}, 2},
  };
  for (const Case& c : cases) {
    MonitorRig rig;
    rig.start();
    rig.monitor->background().sendToBackground();
    const size_t before = rig.log().size();
    for (int message : c.messages) rig.monitor->background().iconClicked(message);
    EXPECT_EQ(rig.shell.visible, c.returns > 0) << c.what;
    EXPECT_EQ(linesSince(rig, before),
              std::vector<std::string>(c.returns, "バックグラウンドから復帰しました。"))
        << c.what;
    EXPECT_EQ(mode(rig), c.returns ? "[COMMON]\r\nMODE=0\r\n" : "[COMMON]\r\nMODE=2\r\n") << c.what;
  }
}

TEST(TrayBackground, ModeFileFollowsTheBackgroundAndTheReturn) {
  MonitorRig rig;
  rig.start();
  Monitor& m = *rig.monitor;
  m.background().sendToBackground();  // edit mode: 2 all the same
  EXPECT_FALSE(rig.shell.visible);
  EXPECT_EQ(mode(rig), "[COMMON]\r\nMODE=2\r\n");
  m.background().iconClicked(kLeftUp);
  EXPECT_EQ(mode(rig), "[COMMON]\r\nMODE=0\r\n");

  m.autoCheck().startAutomaticMode();
  m.background().sendToBackground();
  EXPECT_EQ(mode(rig), "[COMMON]\r\nMODE=2\r\n");
  m.background().iconClicked(kRightUp);
  EXPECT_EQ(mode(rig), "[COMMON]\r\nMODE=1\r\n");
  EXPECT_TRUE(rig.shell.visible);
  EXPECT_FALSE(rig.shell.minimized);
}

// A desktop without a notification area: a hidden window could never come
// back, so it is minimised; its restore is the return.
TEST(TrayBackground, WithoutANotificationAreaTheWindowIsMinimisedInstead) {
  MonitorRig rig;
  rig.tray.desktopHasTray = false;
  rig.start();
  const size_t before = rig.log().size();
  rig.monitor->background().windowRestored();  // not minimised by us: nothing
  rig.monitor->background().sendToBackground();
  EXPECT_TRUE(rig.shell.visible);
  EXPECT_TRUE(rig.shell.minimized);
  EXPECT_EQ(mode(rig), "[COMMON]\r\nMODE=2\r\n");
  rig.monitor->background().windowRestored();
  EXPECT_FALSE(rig.shell.minimized);
  EXPECT_EQ(mode(rig), "[COMMON]\r\nMODE=0\r\n");
  const std::string refused = "NEW ORVIS Monitor,SetIcon()ERROR=不明なエラーが発生しました";
  EXPECT_EQ(
      linesSince(rig, before),
      (std::vector<std::string>{
          "通知領域が使用できないため、ウィンドウを隠さずに最小化しました。",
          "バックグラウンドへ移行しました。", "NEW ORVIS Monitor,MODIFYIcon()Icon=0",
          "NEW ORVIS Monitor,SetIcon()Icon=0", refused, "バックグラウンドから復帰しました。"}));
}

TEST(TrayBackground, ServiceStartHasNoIconAndHidesTheWindow) {
  MonitorRig rig({"OrvisWatchService"});
  rig.tray.desktopHasTray = false;
  rig.start();
  EXPECT_TRUE(rig.tray.events.empty());
  EXPECT_FALSE(rig.shell.visible);
  EXPECT_FALSE(rig.shell.minimized);
  auto log = rig.log();
  EXPECT_NE(std::find(log.begin(), log.end(), "(OrvisWatch),NEW ORVIS Monitor,SetIcon():N/A"),
            log.end());
}
