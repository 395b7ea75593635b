#include "monitor/shell/sys_log.h"

#include <gtest/gtest.h>

#include "monitor/shell/text.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "support/fake_clock.h"
#include "support/temp_dir.h"

using namespace orvis;
using namespace orvis::testing;

namespace {

struct LogFixture : ::testing::Test {
  TempDir dir;
  FakeClock clock{{2026, 12, 7, 9, 5, 3, 42}};
  SysLog log{dir.path(), clock};

  void dayFiles(std::initializer_list<const char*> names) {
    for (auto n : names) writeText(dir / (std::string("syslog/") + n), "x\r\n");
  }
  std::vector<std::string> files() const {
    return platform::listFolder(dir / "syslog", "*", false);
  }
  std::vector<std::string> lines() const {
    std::vector<std::string> out;
    for (auto& l : readLines(dir / "syslog/20261207.txt")) out.push_back(platform::toUtf8(l));
    return out;
  }
};

}  // namespace

TEST_F(LogFixture, LinesAreTaggedCutAndTrimmed) {
  log.write("Form1" + SJIS("起動") + "  \r\n");
  log.write(std::string(600, 'a'));
  std::string text = readText(dir / "syslog/20261207.txt");
  auto lines = readLines(dir / "syslog/20261207.txt");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(platform::toUtf8(lines[0]), "2026/12/07,09:05:03.042,(OrvisWatch),Form1起動");
  EXPECT_EQ(lines[1].size(), 512u);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

TEST_F(LogFixture, CleanUpDeletesTheOldestBeyondTheNumberKept) {
  // Five day files, today's among them.
  dayFiles({"20261207.txt", "20261203.txt", "20261205.txt", "20261204.txt", "20261206.txt",
            "notes.txt"});
  deleteOldLogFiles(log, "????????.txt", "3");
  EXPECT_EQ(files(), (std::vector<std::string>{"20261205.txt", "20261206.txt", "20261207.txt",
                                               "notes.txt"}));
  auto l = lines();
  ASSERT_EQ(l.size(), 5u);  // the day file's own first line, then the clean-up's
  l.erase(l.begin());
  EXPECT_EQ(l[0].substr(24), "(OrvisWatch),Global,syslog整理");
  EXPECT_EQ(l[1].substr(24), "(OrvisWatch),Global,3<-有効ファイル数");
  EXPECT_EQ(l[2].substr(24),
            "(OrvisWatch),Global,DeleteLog->" + dir.path() + "syslog/20261203.txt");
  EXPECT_EQ(l[3].substr(24),
            "(OrvisWatch),Global,DeleteLog->" + dir.path() + "syslog/20261204.txt");
}

TEST_F(LogFixture, CleanUpKeepsTenWithoutANumberAndNoneWithZero) {
  for (int d = 1; d <= 12; ++d) {
    char name[16];
    std::snprintf(name, sizeof name, "202611%02d.txt", d);
    writeText(dir / (std::string("syslog/") + name), "x");
  }
  deleteOldLogFiles(log, "????????.txt", "abc");
  EXPECT_EQ(files().size(), 10u);  // 12 and today's, made by the first line: 3 deleted
  EXPECT_EQ(files().front(), "20261104.txt");
  deleteOldLogFiles(log, "????????.txt", "0");
  // Every day file went, and the clean-up's own lines made today's again.
  EXPECT_EQ(files(), std::vector<std::string>{"20261207.txt"});
}

TEST_F(LogFixture, CleanUpEndsForEveryCountAndTouchesOnlyTheEntriesListed) {
  // A negative count keeps nothing, as 0 does; a folder that the mask names
  // is not deleted, and an entry with a leading blank is deleted by its own
  // name, not by the trimmed one of another file.
  for (const char* keep : {"-1", "-2147483648", "0"}) {
    dayFiles({"20261201.txt", "20261202.txt", " 0261203.txt"});
    writeText(dir / "syslog/0261203.txt", "another file");
    writeText(dir / "syslog/20261130.txt/inside", "x");
    deleteOldLogFiles(log, "????????.txt", keep);
    EXPECT_EQ(files(), (std::vector<std::string>{"0261203.txt", "20261130.txt", "20261207.txt"}))
        << keep;
    EXPECT_TRUE(platform::fileExists(dir / "syslog/20261130.txt/inside"));
  }
}

TEST_F(LogFixture, CleanUpRefusesAMaskWithoutQuestionMark) {
  dayFiles({"20261201.txt", "20261202.txt"});
  deleteOldLogFiles(log, "*.txt", "0");
  EXPECT_EQ(files().size(), 3u);
  auto l = lines();
  ASSERT_EQ(l.size(), 3u);
  EXPECT_EQ(l[2].substr(24), "(OrvisWatch),Global,指定ファイル種別不正");
}

TEST(BlankRemoval, OnlyHalfWidthBlanksGo) {
  EXPECT_EQ(removeBlanks("src = \"a\"\t" + SJIS("　")), "src=\"a\"\t" + SJIS("　"));
}
