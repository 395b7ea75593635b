// Start-up, the mode restore and the stop sequence of the monitor.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "platform/codec.h"
#include "platform/files.h"
#include "support/monitor_rig.h"

using namespace orvis;
using namespace orvis::testing;

namespace {
std::vector<std::string> tail(std::vector<std::string> lines) {
  for (auto& l : lines) l = l.substr(13);  // without "(OrvisWatch),"
  return lines;
}
}  // namespace

TEST(Startup, LinesInOrderAndTheWindowSetUp) {
  MonitorRig rig({"OrvisWatchService"});
  rig.start();
  EXPECT_EQ(tail(rig.log()),
            (std::vector<std::string>{
                "************************* OrvisWatch起動 *************************",
                "起動パラメータ:OrvisWatchService", "Form1起動", "2.6.0", "Global,情報収集",
                "ListDisp():開始", "NEW ORVIS Monitor,SetIcon():N/A",
                "自動チェックモードに移行しました。", "NEW ORVIS Monitor,MODIFYIcon():N/A",
                "バックグラウンドへ移行しました。", "NEW ORVIS Monitor,MODIFYIcon():N/A"}));
  EXPECT_EQ(rig.shell.caption(), "NEW ORVIS Monitor");
  EXPECT_EQ(rig.shell.statusText(1), "2.6.0");
  EXPECT_TRUE(rig.shell.movedToTopLeft);
  EXPECT_EQ(rig.shell.checkPeriod, "60");
  EXPECT_GT(rig.shell.gaugeMax, 0);
  EXPECT_GE(rig.shell.gaugeProgress, 0);
  EXPECT_EQ(readText(rig.path("ORVIS.ini")), "[COMMON]\r\nMAILGROUPCOUNT=1\r\n");
  EXPECT_EQ(readText(rig.path("Mode.tmp")), "[COMMON]\r\nMODE=2\r\n");
  EXPECT_FALSE(rig.shell.visible);
  EXPECT_TRUE(rig.shell.modeLabelAutomatic);
  EXPECT_EQ(rig.monitor->state().automaticMode, 1);
  EXPECT_TRUE(rig.monitor->timers().check.enabled());
  EXPECT_EQ(rig.monitor->timers().check.interval(), 60 * 60000);
  EXPECT_TRUE(rig.monitor->timers().reactivation.enabled());
  EXPECT_FALSE(rig.monitor->timers().startup.enabled());
  EXPECT_TRUE(rig.prompter.questions().empty());
}

TEST(Startup, TheParameterSelectsTheKindOfStart) {
  struct Case {
    std::vector<std::string> args;
    const char* storedMode;
    int automatic;
    bool visible;
    const char* modeAfter;
  };
  const Case cases[] = {
      {{"OrvisWatch"}, "2", 1, false, "2"},
      {{"OrvisWatch"}, "1", 1, true, "1"},
      {{"OrvisWatch"}, "0", 0, true, "0"},
      {{"OrvisWatch"}, "abc", 0, true, "abc"},
      {{}, "1", 0, true, "1"},  // no parameter: edit mode, the file keeps its value
      {{"OrvisWatch", "more"}, "2", 0, true, "2"},
      {{"OrvisWatchService", "more"}, "0", 0, true, "0"},
      {{"other"}, "2", 0, true, "2"},
      {{"監視 する"}, "2", 0, true, "2"},  // logged in the log's own encoding
  };
  for (const auto& c : cases) {
    MonitorRig rig(c.args);
    writeText(rig.path("Mode.tmp"), std::string("[COMMON]\r\nMODE=") + c.storedMode + "\r\n");
    rig.start();
    SCOPED_TRACE(c.args.empty() ? "(none)" : c.args[0] + " " + c.storedMode);
    EXPECT_EQ(tail(rig.log()).at(1), "起動パラメータ:" + (c.args.empty() ? "" : c.args[0]));
    EXPECT_EQ(rig.monitor->state().automaticMode, c.automatic);
    EXPECT_EQ(rig.shell.visible, c.visible);
    EXPECT_EQ(readText(rig.path("Mode.tmp")),
              std::string("[COMMON]\r\nMODE=") + c.modeAfter + "\r\n");
  }
}

TEST(Startup, SettingsShownAndReadWithTheirDefaults) {
  MonitorRig rig;
  writeText(rig.path("ORVIS.ini"), "[COMMON]\r\nCHECKINTERVAL=5\r\nREACTIVATION=:\r\n");
  rig.start();
  EXPECT_EQ(rig.shell.checkPeriod, "5");
  EXPECT_EQ(rig.monitor->settings().current().reactivation, "02:00");
  EXPECT_EQ(rig.monitor->state().lastReactivationDay, "20261207");
  EXPECT_EQ(readText(rig.path("ORVIS.ini")),
            "[COMMON]\r\nCHECKINTERVAL=5\r\nREACTIVATION=:\r\nMAILGROUPCOUNT=1\r\n");
}

TEST(Startup, ADamagedGroupCountCannotHangTheStart) {
  MonitorRig rig;
  writeText(rig.path("ORVIS.ini"), "[COMMON]\r\nMAILGROUPCOUNT=100000\r\n");
  rig.start();
  EXPECT_EQ(rig.editor.groupItems.size(), size_t(JobEditor::kMaxMailGroups));
  EXPECT_EQ(rig.editor.groupItems.back(), "1000");
  const auto lines = tail(rig.log());
  EXPECT_NE(
      std::find(lines.begin(), lines.end(),
                "Global,MAILGROUPCOUNT=100000->メールグループ数が大きすぎます。1000まで選択できま"
                "す。"),
      lines.end());
  EXPECT_EQ(readText(rig.path("ORVIS.ini")), "[COMMON]\r\nMAILGROUPCOUNT=100000\r\n");
}

TEST(Startup, TheFirstShowWorkRunsOnce) {
  MonitorRig rig;
  rig.start();
  int panels = rig.shell.startPanels;
  rig.monitor->windowShown();  // back from the background
  EXPECT_EQ(rig.shell.startPanels, panels);
  EXPECT_EQ(rig.shell.startPanels, rig.shell.endPanels);
  EXPECT_EQ(rig.shell.busyMessage, sj("情報更新中です。お待ちください・・"));
}

TEST(Shutdown, CloseQuestionCancelKeepsRunningOkStops) {
  MonitorRig rig;
  rig.start();
  rig.prompter.answer(mb::IdCancel);
  EXPECT_FALSE(rig.monitor->confirmClose());
  ASSERT_EQ(rig.prompter.questions().size(), 1u);
  EXPECT_EQ(rig.prompter.texts()[0],
            "チェックアプリケーションが全て終了します。終了してもよろしいですか？");
  EXPECT_EQ(rig.prompter.questions()[0].flags, 257);
  rig.prompter.answer(mb::IdOk);
  EXPECT_TRUE(rig.monitor->confirmClose());
  rig.monitor->shutDown();
  auto lines = tail(rig.log());
  std::vector<std::string> end(lines.end() - 5, lines.end());
  EXPECT_EQ(end,
            (std::vector<std::string>{
                "チェックアプリケーションが全て終了します。終了してもよろしいですか？->1",
                "オーディオ停止処理", "Global,syslog整理", "Global,<-有効ファイル数", "終了"}));
  EXPECT_FALSE(rig.monitor->timers().check.enabled());
  EXPECT_EQ(rig.tray.events.back(), "remove");
}

TEST(Shutdown, ShutdownAndServiceStartCloseWithoutAsking) {
  MonitorRig rig;
  rig.start();
  rig.monitor->sessionEnding();
  EXPECT_TRUE(rig.monitor->confirmClose());
  EXPECT_EQ(rig.log().back().substr(13), "Shutdown要求取得");
  MonitorRig service({"OrvisWatchService"});
  service.start();
  EXPECT_TRUE(service.monitor->confirmClose());
  EXPECT_TRUE(rig.prompter.questions().empty());
  EXPECT_TRUE(service.prompter.questions().empty());
}

TEST(Shutdown, TheCleanUpKeepsValidDayFilesAndDropsWritesCutOffLongAgo) {
  MonitorRig rig;
  writeText(rig.path("ORVIS.ini"), "[COMMON]\r\nVALIDDAY=2\r\n");
  for (const char* day : {"20261201.txt", "20261202.txt", "20261203.txt"})
    writeText(rig.path(std::string("syslog/") + day), "x\r\n");
  // What a killed write leaves: old ones go, a young one may be a write
  // going on now, and files of others in the data folder stay.
  const struct timespec old[2] = {{1700000000, 0}, {1700000000, 0}};
  for (const char* left : {".ORVIS.ini.Ab3dEf", "info/.1.ini.Zz09aB", "src/.1.ini.x1y2z3"}) {
    writeText(rig.path(left), "cut");
    ::utimensat(AT_FDCWD, rig.path(left).c_str(), old, 0);
  }
  writeText(rig.path("src/.2.ini.young1"), "cut");
  writeText(rig.path(".other.cfg.Ab3dEf"), "theirs");
  ::utimensat(AT_FDCWD, rig.path(".other.cfg.Ab3dEf").c_str(), old, 0);
  rig.start();
  rig.monitor->shutDown();
  EXPECT_EQ(platform::listFolder(rig.path("syslog"), "????????.txt"),
            (std::vector<std::string>{"20261203.txt", "20261207.txt"}));
  const std::vector<std::string> log = rig.log();
  for (const char* left : {".ORVIS.ini.Ab3dEf", "info/.1.ini.Zz09aB", "src/.1.ini.x1y2z3"}) {
    EXPECT_FALSE(platform::pathExists(rig.path(left))) << left;
    EXPECT_NE(std::find_if(log.begin(), log.end(),
                           [&](const std::string& l) {
                             return l.ends_with("Global,DeleteTemp->" + rig.path(left));
                           }),
              log.end())
        << left;
  }
  EXPECT_TRUE(platform::pathExists(rig.path("src/.2.ini.young1")));
  EXPECT_TRUE(platform::pathExists(rig.path(".other.cfg.Ab3dEf")));
}
