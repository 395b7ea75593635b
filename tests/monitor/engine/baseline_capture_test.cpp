// The baseline capture on the whole monitor logic: selection rules, the
// steps per row, SOURCE, the failure message and the generations.

#include <gtest/gtest.h>

#include "capture_failure_text.h"
#include "monitor/engine/generations.h"
#include "platform/bytes.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "support/monitor_rig.h"

using namespace orvis;
using namespace orvis::testing;

namespace {

const std::string kFailureTail = kCaptureFailureTail;

struct CaptureRig : MonitorRig {
  // URL jobs whose pages are "page of " + URI; URIs listed in `empty` fetch nothing.
  CaptureRig() {
    launcher.onRun = [this](const FakeLauncher::Launch& l) {
      const std::string uri = platform::splitCommandLine(l.commandLine).at(1);
      seen.push_back(uri + " " + platform::toUtf8(shell.busyMessage) + (shell.busy ? " busy" : "") +
                     (shell.editControlsEnabled ? " unlocked" : " locked"));
      bool fails = std::find(empty.begin(), empty.end(), uri) != empty.end();
      writeText(path("temp/srctemp.txt"), fails ? "" : "page of " + uri);
    };
  }
  void urlJob(const std::string& no, const std::string& source = "") {
    writeJob(no, {"NO=" + no, "URI=http://example.com/" + no, "TYPE=URL", "SOURCE=" + source});
  }
  std::string source(const std::string& no) {
    auto doc = platform::loadIniFile(path("info/" + no + ".ini"));
    return doc ? doc->get("COMMON", "SOURCE").value_or("<none>") : "<no file>";
  }
  // Starts the monitor and captures rows top..bottom with `clicked` last clicked.
  void capture(int top, int bottom, int clicked) {
    if (!monitor) {
      start();
      prompter.clear();
    }
    grid.top = top;
    grid.bottom = bottom;
    monitor->jobList().selectCell(0, clicked);
    monitor->capture().captureSelectedJobs();
  }

  std::vector<std::string> empty;
  std::vector<std::string> seen;
};

TEST(BaselineCapture, SelectedRowsInOrderOneAfterAnother) {
  CaptureRig rig;
  for (const char* no : {"1", "2", "3", "4"}) rig.urlJob(no);
  writeText(rig.path("temp/srctemp.bat"), "dir \"C:\\x\"\r\n");
  rig.capture(2, 4, 3);
  EXPECT_EQ(rig.seen, (std::vector<std::string>{
                          "http://example.com/2 №2のサーバーと通信中・・ busy locked",
                          "http://example.com/3 №3のサーバーと通信中・・ busy locked",
                          "http://example.com/4 №4のサーバーと通信中・・ busy locked"}));
  for (const char* no : {"2", "3", "4"}) {
    EXPECT_EQ(readText(rig.path("src/") + no + ".ini"),
              std::string("page of http://example.com/") + no);
    EXPECT_EQ(rig.source(no), "1");
  }
  EXPECT_FALSE(platform::pathExists(rig.path("src/1.ini")));
  EXPECT_EQ(rig.source("1"), "");
  EXPECT_FALSE(platform::pathExists(rig.path("temp/srctemp.txt")));
  EXPECT_FALSE(platform::pathExists(rig.path("temp/srctemp.bat")));
  EXPECT_TRUE(rig.prompter.questions().empty());
  // Locked while it runs, the list reloaded, then unlocked.
  EXPECT_EQ(rig.shell.editControlsHistory, (std::vector<bool>{false, true}));
  EXPECT_FALSE(rig.shell.busy);
  EXPECT_EQ(rig.grid.cell(3, 8), "1");
  EXPECT_EQ(rig.grid.cell(1, 8), "-");
  auto log = rig.log();
  EXPECT_EQ(std::count_if(log.begin(), log.end(),
                          [](const std::string& l) { return l.ends_with(",起動成功"); }),
            3);
}

TEST(BaselineCapture, FailedFetchesGiveSourceZeroAndOneMessageForTheFirst) {
  CaptureRig rig;
  for (const char* no : {"1", "2", "3"}) rig.urlJob(no, "1");
  writeText(rig.path("src/1.ini"), "old baseline");
  rig.empty = {"http://example.com/1", "http://example.com/3"};
  rig.capture(1, 3, 1);
  EXPECT_EQ(rig.source("1"), "0");
  EXPECT_EQ(rig.source("2"), "1");
  EXPECT_EQ(rig.source("3"), "0");
  EXPECT_FALSE(platform::pathExists(rig.path("src/1.ini")));
  EXPECT_FALSE(platform::pathExists(rig.path("src/3.ini")));
  EXPECT_EQ(rig.prompter.texts(), std::vector<std::string>{"№1" + kFailureTail});
  EXPECT_EQ(rig.prompter.questions()[0].caption, "OrvisWatch");
  EXPECT_EQ(rig.prompter.questions()[0].flags, 0);
  EXPECT_EQ(rig.grid.cell(1, 8), "-");
}

TEST(BaselineCapture, FetcherThatCannotStartKeepsSourceButNotTheBaseline) {
  CaptureRig rig;
  rig.urlJob("1", "1");
  rig.urlJob("2", "0");
  writeText(rig.path("src/1.ini"), "old baseline");
  rig.launcher.failing = true;
  rig.capture(1, 1, 1);
  EXPECT_EQ(rig.source("1"), "1");
  EXPECT_FALSE(platform::pathExists(rig.path("src/1.ini")));
  EXPECT_TRUE(rig.prompter.questions().empty());
  // An old "0" is reported, by its trimmed number.
  rig.writeJob("2", {"NO= 2 ", "URI=http://example.com/2", "SOURCE=0"});
  rig.monitor->jobList().loadJobFiles();
  rig.capture(2, 2, 2);
  EXPECT_EQ(rig.source("2"), "0");
  EXPECT_EQ(rig.prompter.texts(), std::vector<std::string>{"№2" + kFailureTail});
}

TEST(BaselineCapture, GenerationsMoveUpAndTheOldBaselineIsNotKept) {
  CaptureRig rig;
  rig.urlJob("5", "1");
  // A capture of a job no check has handled leaves no generation.
  rig.capture(1, 1, 1);
  rig.capture(1, 1, 1);
  EXPECT_EQ(platform::listFolder(rig.path("src/"), "*"), std::vector<std::string>{"5.ini"});
  // After a check pass has made generations, they move up and ".1" is
  // found twice.
  writeText(rig.path("src/5.ini"), "baseline of the last check");
  writeText(rig.path("src/5.ini.1"), "g1");
  writeText(rig.path("src/5.ini.2"), "g2");
  rig.capture(1, 1, 1);
  EXPECT_EQ(readText(rig.path("src/5.ini")), "page of http://example.com/5");
  EXPECT_EQ(readText(rig.path("src/5.ini.1")), "g1");
  EXPECT_EQ(readText(rig.path("src/5.ini.2")), "g1");
  EXPECT_EQ(readText(rig.path("src/5.ini.3")), "g2");
  EXPECT_FALSE(platform::pathExists(rig.path("src/5.ini.4")));
}

TEST(Generations, TwentyCopiesNewestFirst) {
  TempDir dir;
  const std::string p = dir / "src/9.ini";
  writeText(p, "now");
  for (int k = 1; k <= 20; ++k) writeText(p + "." + std::to_string(k), "g" + std::to_string(k));
  rotateGenerations(p);
  EXPECT_EQ(readText(p), "now");
  EXPECT_EQ(readText(p + ".1"), "now");
  for (int k = 2; k <= 20; ++k)
    EXPECT_EQ(readText(p + "." + std::to_string(k)), "g" + std::to_string(k - 1));
  EXPECT_FALSE(platform::pathExists(p + ".21"));
  // Gaps are skipped: a missing ".1" leaves ".2" as it was.
  TempDir gaps;
  const std::string q = gaps / "w.ini";
  writeText(q + ".2", "two");
  rotateGenerations(q);
  EXPECT_EQ(readText(q + ".2"), "two");
  EXPECT_EQ(readText(q + ".3"), "two");
  EXPECT_FALSE(platform::pathExists(q + ".1"));
  EXPECT_FALSE(platform::pathExists(q));
}

TEST(BaselineCapture, SelectionRules) {
  CaptureRig rig;
  rig.urlJob("1");
  rig.urlJob("2");
  rig.capture(0, 0, 1);
  EXPECT_EQ(rig.prompter.texts(), std::vector<std::string>{"選択領域が異常です。"});
  EXPECT_TRUE(rig.log().back().ends_with(",invalid selection."));
  const std::string nothingClicked =
      "リスト上で対象をクリックし単独選択するか、複数選択してください。";
  for (int clicked : {0, 3}) {
    rig.prompter.clear();
    rig.capture(1, 2, clicked);
    EXPECT_EQ(rig.prompter.texts(), std::vector<std::string>{nothingClicked}) << clicked;
  }
  EXPECT_TRUE(rig.launcher.launches.empty());
  EXPECT_TRUE(rig.shell.editControlsHistory.empty());
  // A selection that starts at the title row starts at the first job.
  rig.prompter.clear();
  rig.capture(0, 2, 2);
  EXPECT_EQ(rig.launcher.launches.size(), 2u);
  EXPECT_TRUE(rig.prompter.questions().empty());
}

TEST(BaselineCapture, JobNumberThatNamesNoFileOfItsFolderWritesNothing) {
  CaptureRig rig;
  rig.writeJob("8", {"NO=", "URI=http://example.com/8", "SOURCE=1"});
  rig.writeJob("9", {"NO=../evil", "URI=http://example.com/9", "SOURCE=1"});
  writeText(rig.path("evil.ini"), "not ours");
  rig.capture(1, 2, 2);
  EXPECT_TRUE(rig.launcher.launches.empty());
  EXPECT_EQ(readText(rig.path("evil.ini")), "not ours");
  EXPECT_FALSE(platform::pathExists(rig.path("evil.ini.1")));
  EXPECT_FALSE(platform::pathExists(rig.path("info/.ini")));
  EXPECT_EQ(rig.source("9"), "1");
  auto log = rig.log();
  const std::string refused =
      "->ジョブ番号がファイル名に使えないため、比較元ソースを取得しません。";
  EXPECT_EQ(std::count_if(log.begin(), log.end(),
                          [&](const std::string& l) {
                            return l.ends_with("," + refused) || l.ends_with(",../evil" + refused);
                          }),
            2);
  EXPECT_EQ(rig.prompter.texts(), std::vector<std::string>{"№" + kFailureTail});
}

TEST(BaselineCapture, DriveFileAndProcessJobs) {
  CaptureRig rig;
  const std::string watched = rig.path("watched");
  platform::makeFolders(watched);
  rig.writeJob("1", {"NO=1", "URI=/:10", "TYPE=DRIVE"});
  rig.writeJob("2", {"NO=2", "URI=" + watched, "TYPE=FILE"});
  rig.writeJob("3", {"NO=3", "URI=notepad.exe", "TYPE=PROC"});
  rig.writeJob("4", {"NO=4", "URI=/:10", "TYPE=DRIVE"});
  rig.processes.entries = {{1, 0, "init"}};
  rig.disks.disks["/"] = platform::DiskSpace{100ull << 30, 40ull << 30, 30ull << 30};
  rig.start();
  rig.prompter.clear();
  rig.disks.disks["/"] = platform::DiskSpace{100ull << 30, 1024 * 1024 - 1, 0};
  rig.disks.anyPath.reset();
  rig.capture(1, 3, 1);
  // Job 1 was read with too little space left; job 4 is not selected.
  EXPECT_EQ(rig.source("1"), "0");
  EXPECT_EQ(readText(rig.path("src/2.ini")), "@\r\n");
  EXPECT_EQ(readText(rig.path("src/3.ini")), "000001 000000 init\r\n");
  EXPECT_EQ(rig.prompter.texts(), std::vector<std::string>{"№1" + kFailureTail});
  rig.disks.disks["/"] = platform::DiskSpace{100ull << 30, 40ull << 30, 30ull << 30};
  rig.prompter.clear();
  rig.capture(4, 4, 4);
  EXPECT_EQ(readText(rig.path("src/4.ini")), "40960\r\n");
  EXPECT_TRUE(rig.prompter.questions().empty());
}

}  // namespace
