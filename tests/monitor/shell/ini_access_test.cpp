#include "monitor/shell/ini_access.h"

#include <gtest/gtest.h>

#include "platform/codec.h"
#include "platform/files.h"
#include "support/fake_clock.h"
#include "support/fake_prompter.h"
#include "support/temp_dir.h"

using namespace orvis;
using namespace orvis::testing;

namespace {
struct IniFixture : ::testing::Test {
  TempDir dir;
  FakeClock clock;
  FakePrompter prompter;
  SysLog log{dir.path(), clock};
  platform::StopFlag stop;
  MessageBoxes boxes{log, prompter, false, stop};
  IniAccess ini{boxes, clock, stop};
};
}  // namespace

TEST_F(IniFixture, MissingFileReadsEmptyAtOnce) {
  EXPECT_EQ(ini.read(dir / "ORVIS.ini", "COMMON", "VALIDDAY"), "");
  EXPECT_TRUE(prompter.questions().empty());
  EXPECT_EQ(clock.sleepCount(), 0);
}

TEST_F(IniFixture, OnceTheProgramIsEndingAFailedAttemptIsNotRetried) {
  platform::makeFolders(dir / "ORVIS.ini");
  stop.raise();
  EXPECT_EQ(ini.read(dir / "ORVIS.ini", "COMMON", "VALIDDAY"), "");
  EXPECT_EQ(ini.write(dir / "ORVIS.ini", "COMMON", "VALIDDAY", "3"), -1);
  EXPECT_EQ(clock.sleepCount(), 0);
  EXPECT_TRUE(prompter.questions().empty());
}

TEST_F(IniFixture, UnreadableFileCostsFiveAttemptsAndOneMessage) {
  platform::makeFolders(dir / "ORVIS.ini");  // there, but not readable as a file
  EXPECT_EQ(ini.read(dir / "ORVIS.ini", "COMMON", "VALIDDAY"), "");
  EXPECT_EQ(clock.sleepCount(), 4);
  EXPECT_EQ(clock.totalSleptMs(), 1200);
  ASSERT_EQ(prompter.questions().size(), 1u);
  EXPECT_EQ(prompter.questions()[0].text, "Access fail to inifile.");
  EXPECT_EQ(prompter.questions()[0].caption, "OrvisWatch");
  EXPECT_EQ(prompter.questions()[0].flags, 0);

  EXPECT_EQ(ini.write(dir / "ORVIS.ini", "COMMON", "VALIDDAY", "3"), -1);
  EXPECT_EQ(clock.sleepCount(), 8);
  EXPECT_EQ(prompter.questions().size(), 2u);
  // Each time the log names the file and why, then the answer.
  auto lines = readLogLines(dir / "syslog/");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "(OrvisWatch)," + sj("INIファイルにアクセスできません:") + dir / "ORVIS.ini" +
                          "," + sj("通常のファイルではありません"));
  EXPECT_EQ(lines[1], "(OrvisWatch),Access fail to inifile.->1");
}

TEST_F(IniFixture, AStoredRetryReadsAsAFailure) {
  writeText(dir / "x.ini", "[COMMON]\r\nA=retry\r\nB=ok\r\n");
  EXPECT_EQ(ini.read(dir / "x.ini", "COMMON", "A"), "");
  EXPECT_EQ(prompter.questions().size(), 1u);
  EXPECT_EQ(ini.read(dir / "x.ini", "common", "b"), "ok");
}

TEST_F(IniFixture, WritesKeepOtherKeysAndNeverLeaveHalfAFile) {
  writeText(dir / "info/1.ini", "[COMMON]\r\nNO=1\r\nSOURCE=1\r\nCHECK=1\r\n");
  EXPECT_EQ(ini.write(dir / "info/1.ini", "COMMON", "CHECK", "0"), 0);
  EXPECT_EQ(readText(dir / "info/1.ini"), "[COMMON]\r\nNO=1\r\nSOURCE=1\r\nCHECK=0\r\n");
  // Only the file itself is left: the temporary it was written through is gone.
  EXPECT_EQ(platform::listFolder(dir / "info", "*", false), std::vector<std::string>{"1.ini"});
  // A folder that does not exist fails after the attempts, and writes nothing.
  EXPECT_EQ(ini.write(dir / "none/1.ini", "COMMON", "NO", "1"), -1);
  EXPECT_FALSE(platform::pathExists(dir / "none"));
}
