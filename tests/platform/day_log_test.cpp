#include "platform/day_log.h"

#include <gtest/gtest.h>

#include "support/fake_clock.h"
#include "support/temp_dir.h"

using namespace orvis::platform;
using namespace orvis::testing;

TEST(DayLog, LineFormAndCut) {
  LocalTime t{2026, 12, 7, 9, 5, 3, 42};
  EXPECT_EQ(formatLogLine(t, "OrvisWatch", "Form1"),
            "2026/12/07,09:05:03.042,(OrvisWatch),Form1\r\n");
  EXPECT_EQ(formatLogLine(t, "", "EXIT."), "2026/12/07,09:05:03.042,EXIT.\r\n");
  EXPECT_EQ(formatLogLine(t, "MAIL", "text  \r\n\r\n"), "2026/12/07,09:05:03.042,(MAIL),text\r\n");
  std::string line = formatLogLine(t, "OrvisWatch", std::string(600, 'x'));
  ASSERT_EQ(line.size(), 514u);
  EXPECT_EQ(line.substr(512), "\r\n");
  // The cut counts bytes, and may fall inside a two-byte character.
  std::string kanji;
  for (int i = 0; i < 300; ++i) kanji += "\x93\xfa";
  std::string cut = formatLogLine(t, "OrvisWatch", "x" + kanji);
  EXPECT_EQ(cut.size(), 514u);
}

TEST(DayLog, OneFilePerDayFolderCreated) {
  TempDir dir;
  FakeClock clock({2026, 12, 7, 23, 59, 59, 900});
  DayLog log(dir / "syslog/mail", "MAIL", clock);
  log.write("before midnight");
  clock.advanceMs(200);
  log.write("after midnight");
  EXPECT_EQ(readText(dir / "syslog/mail/20261207.txt"),
            "2026/12/07,23:59:59.900,(MAIL),before midnight\r\n");
  EXPECT_EQ(readText(dir / "syslog/mail/20261208.txt"),
            "2026/12/08,00:00:00.100,(MAIL),after midnight\r\n");
}
