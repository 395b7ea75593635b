#include "monitor/shell/tray_icons.h"

#include <gtest/gtest.h>

#include "platform/codec.h"
#include "support/fake_shell_view.h"
#include "support/fake_tray_view.h"
#include "support/services_rig.h"

using namespace orvis;
using namespace orvis::testing;

namespace {
struct TrayFixture {
  explicit TrayFixture(std::vector<std::string> args) : rig(std::move(args)) {
    shell.setCaption("NEW ORVIS Monitor");
  }
  ServicesRig rig;
  ShellState state;
  FakeShellView shell;
  FakeTrayView view;
  TrayIcons tray{rig.services.log, rig.host.start.isService(), state, shell, view};
  std::vector<std::string> lines() { return rig.logLines(); }
};
}  // namespace

TEST(TrayIcons, TipsFollowTheModeAndALostIconIsAddedAgain) {
  TrayFixture f({});
  f.tray.add(0);
  f.state.automaticMode = 1;
  f.tray.change(1);
  f.tray.change(0);
  f.view.present = false;  // the panel restarted
  f.tray.change(0);
  f.tray.remove();
  EXPECT_EQ(f.view.events,
            (std::vector<std::string>{"add 0 " + SJIS("NewORVIS：手動編集中"),
                                      "modify 1 " + SJIS("NewORVIS：チェック中"),
                                      "modify 0 " + SJIS("NewORVIS：自動チェック待機中"),
                                      "modify 0 " + SJIS("NewORVIS：自動チェック待機中"),
                                      "add 0 " + SJIS("NewORVIS：自動チェック待機中"), "remove"}));
  EXPECT_EQ(f.lines(),
            (std::vector<std::string>{
                "NEW ORVIS Monitor,SetIcon()Icon=0", "NEW ORVIS Monitor,MODIFYIcon()Icon=1",
                "NEW ORVIS Monitor,MODIFYIcon()Icon=0", "NEW ORVIS Monitor,MODIFYIcon()Icon=0",
                "NEW ORVIS Monitor,SetIcon()Icon=0"}));
}

TEST(TrayIcons, ARefusedAddIsLoggedWithTheDesktopsReasonOrTheFixedText) {
  for (const char* reason : {"", "no tray"}) {
    TrayFixture f({});
    f.view.addFails = true;
    f.view.addError = reason;
    f.tray.add(0);
    f.tray.change(1);  // not there: added again, and refused again
    const std::string error = *reason ? reason : "不明なエラーが発生しました";
    EXPECT_EQ(f.lines(),
              (std::vector<std::string>{
                  "NEW ORVIS Monitor,SetIcon()Icon=0", "NEW ORVIS Monitor,SetIcon()ERROR=" + error,
                  "NEW ORVIS Monitor,MODIFYIcon()Icon=1", "NEW ORVIS Monitor,SetIcon()Icon=1",
                  "NEW ORVIS Monitor,SetIcon()ERROR=" + error}));
  }
}

TEST(TrayIcons, ServiceStartOnlyLogs) {
  TrayFixture f({"OrvisWatchService", "extra"});
  f.tray.add(0);
  f.tray.change(1);
  f.tray.remove();
  EXPECT_TRUE(f.view.events.empty());
  EXPECT_EQ(f.lines(), (std::vector<std::string>{"NEW ORVIS Monitor,SetIcon():N/A",
                                                 "NEW ORVIS Monitor,MODIFYIcon():N/A",
                                                 "NEW ORVIS Monitor,DelIcon():N/A"}));
}
