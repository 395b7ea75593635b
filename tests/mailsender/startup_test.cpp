// Start-up: the command line, the settings file and the recipient list,
// and the log lines each failure leaves.

#include <gtest/gtest.h>

#include "platform/files.h"
#include "session_harness.h"

using namespace orvis::testing;
using orvis::postiva::DialogueState;

namespace {
using Lines = std::vector<std::string>;
}

TEST(Startup, NotExactlyOneArgumentEndsWithoutATrace) {
  for (const Lines& args : {Lines{}, Lines{"mail", "extra"}}) {
    SessionHarness h("127.0.0.25");
    h.writeList({"a@rcpt.test,0"});
    EXPECT_FALSE(h.start(args));
    EXPECT_EQ(h.app->exitCode(), 2);
    EXPECT_FALSE(orvis::platform::pathExists(h.dir / "syslog"));
    EXPECT_FALSE(orvis::platform::pathExists(h.dir / "sendlog"));
    EXPECT_EQ(h.view.caption, "");
  }
}

TEST(Startup, MissingSettingsOrListEndWithTheirLines) {
  {
    SessionHarness h("127.0.0.25");
    orvis::platform::removeFile(h.work + "Postiva.ini");
    h.writeList({"a@rcpt.test,0"});
    EXPECT_FALSE(h.start());
    EXPECT_EQ(h.app->exitCode(), 1);
    EXPECT_EQ(h.syslog(), (Lines{"初期化ファイルが見つかりません(mail)", "EXIT"}));
    EXPECT_EQ(h.view.caption, "Postiva");
    EXPECT_EQ(h.view.workFolderName, "mail");
  }
  {
    SessionHarness h("127.0.0.25");
    EXPECT_FALSE(h.start());
    EXPECT_EQ(h.syslog(), (Lines{"宛先リストファイル”list.txt”異常です。(mail)", "EXIT"}));
    EXPECT_EQ(h.view.caption, "Postiva　（Ver1.2.0.3）");
  }
}

TEST(Startup, BadListLinesAreNamed) {
  {
    SessionHarness h("127.0.0.25");
    h.writeList({"a@rcpt.test,0", "   ", "b@rcpt.test,0"});  // blanks are not an empty line
    EXPECT_FALSE(h.start());
    EXPECT_EQ(h.syslog(), (Lines{"送信対象リストフォーマットエラー(   )",
                                 "宛先リストファイル”list.txt”異常です。(mail)", "EXIT"}));
  }
  {
    SessionHarness h("127.0.0.25");
    h.writeList({"", ""});  // nothing to send: no line of its own
    EXPECT_FALSE(h.start());
    EXPECT_EQ(h.syslog(), (Lines{"宛先リストファイル”list.txt”異常です。(mail)", "EXIT"}));
  }
}

TEST(Startup, CountsRecipientsAndStartsTheFirstPassTimer) {
  SessionHarness h("127.0.0.25");
  h.writeList({"a@rcpt.test,0", "", "b@rcpt.test,0", "", "c@rcpt.test,0"});
  ASSERT_TRUE(h.start());
  EXPECT_EQ(h.view.countText, "3 件です。");
  EXPECT_EQ(h.syslog(), (Lines{"送信対象リスト(3)件です。", "起動完了(mail) ver.　（Ver1.2.0.3）",
                               "Postiva　（Ver1.2.0.3）"}));
  EXPECT_EQ(h.app->outbox().listLines.size(), 5u);
  EXPECT_EQ(h.app->settings().server, "127.0.0.25");
  EXPECT_EQ(h.session().state(), DialogueState::Idle);
  EXPECT_TRUE(h.session().passTimer().enabled());
  EXPECT_EQ(h.session().passTimer().interval(), 500);
  EXPECT_FALSE(h.session().watchdog().enabled());
  EXPECT_TRUE(h.sendlog().empty());
}

// A whole number is taken as written (a negative retry count means none);
// anything else takes the default, a pause that would outlast the server's
// patience the longest one, each with a log line.
TEST(Startup, NumbersThatCannotBeTakenAsWrittenAreReplacedWithALogLine) {
  struct Case {
    Lines settings;
    int retry, pauseInterval, pauseTime;
    Lines replaced;
  };
  for (const Case& c : {
           Case{{"Retry=many", "PauseInterval=-2", "PauseTime=1.5"},
                5,
                0,
                0,
                {"設定値不正(PauseInterval=-2)既定値0で実行",
                 "設定値不正(PauseTime=1.5)既定値0で実行", "設定値不正(Retry=many)既定値5で実行"}},
           Case{{"Retry=-1", "PauseInterval=3", "PauseTime=86400000"},
                -1,
                3,
                300000,
                {"設定値不正(PauseTime=86400000)上限300000で実行"}},
       }) {
    SCOPED_TRACE(c.settings.front());
    SessionHarness h("127.0.0.25");
    h.writeSettings(c.settings);
    h.writeList({"a@rcpt.test,0"});
    ASSERT_TRUE(h.start());
    EXPECT_EQ(h.app->settings().retry, c.retry);
    EXPECT_EQ(h.app->settings().pauseInterval, c.pauseInterval);
    EXPECT_EQ(h.app->settings().pauseTime, c.pauseTime);
    Lines log = c.replaced;
    for (const char* line : {"送信対象リスト(1)件です。", "起動完了(mail) ver.　（Ver1.2.0.3）",
                             "Postiva　（Ver1.2.0.3）"})
      log.push_back(line);
    EXPECT_EQ(h.syslog(), log);
  }
}
