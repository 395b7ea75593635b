// The background and the return by the icon's mouse messages, over the
// whole monitor: Mode.tmp follows, and only a button-up brings the window
// back, each with its line.

#include <gtest/gtest.h>

#include "support/monitor_rig.h"

using namespace orvis;
using namespace orvis::testing;

TEST(TrayBackground, OnlyAButtonUpBringsTheWindowBackAndModeFollows) {
  struct Case {
    const char* what;
    bool automatic;
    std::vector<int> messages;
    int returns;
    const char* modeAfter;
  };
  const Case cases[] = {
      {"mouse moves, button-downs, middle button",
       false,
       {0x0200, 0x0201, 0x0204, 0x0207, 0x0208},
       0,
       "2"},
      {"left click, edit mode", false, {0x0201, 0x0202}, 1, "0"},
      {"right click, automatic mode", true, {0x0204, 0x0205}, 1, "1"},
      {"double click", false, {0x0201, 0x0202, 0x0203, 0x0202}, 2, "0"},
  };
  for (const Case& c : cases) {
    MonitorRig rig;
    rig.start();
    if (c.automatic) rig.monitor->autoCheck().startAutomaticMode();
    rig.monitor->background().sendToBackground();
    EXPECT_EQ(readText(rig.path("Mode.tmp")), "[COMMON]\r\nMODE=2\r\n");  // whatever the mode
    const size_t before = rig.log().size();
    for (int message : c.messages) rig.monitor->background().iconClicked(message);
    EXPECT_EQ(rig.shell.visible, c.returns > 0) << c.what;
    auto log = rig.log();
    EXPECT_EQ(
        std::vector<std::string>(log.begin() + static_cast<long>(before), log.end()),
        std::vector<std::string>(c.returns, "(OrvisWatch),バックグラウンドから復帰しました。"))
        << c.what;
    EXPECT_EQ(readText(rig.path("Mode.tmp")),
              std::string("[COMMON]\r\nMODE=") + c.modeAfter + "\r\n")
        << c.what;
  }
}
