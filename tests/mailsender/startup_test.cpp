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

TEST(Startup, NumbersThatCannotBeTakenAsWrittenAreReplacedWithALogLine) {
  SessionHarness h("127.0.0.25");
  h.writeSettings({"Retry=many", "PauseInterval=-2", "PauseTime=1.5"});
  h.writeList({"a@rcpt.test,0"});
  ASSERT_TRUE(h.start());
  EXPECT_EQ(h.app->settings().retry, 5);
  EXPECT_EQ(h.app->settings().pauseInterval, 0);
  EXPECT_EQ(h.app->settings().pauseTime, 0);
  EXPECT_EQ(h.syslog(), (Lines{"設定値不正(PauseInterval=-2)既定値0で実行",
                               "設定値不正(PauseTime=1.5)既定値0で実行",
                               "設定値不正(Retry=many)既定値5で実行", "送信対象リスト(1)件です。",
                               "起動完了(mail) ver.　（Ver1.2.0.3）", "Postiva　（Ver1.2.0.3）"}));
  // A negative count is a count (no retry); a pause past any server's
  // patience is cut to the longest one.
  SessionHarness g("127.0.0.25");
  g.writeSettings({"Retry=-1", "PauseTime=86400000"});
  g.writeList({"a@rcpt.test,0"});
  ASSERT_TRUE(g.start());
  EXPECT_EQ(g.app->settings().retry, -1);
  EXPECT_EQ(g.app->settings().pauseTime, 300000);
  EXPECT_EQ(g.syslog().front(), "設定値不正(PauseTime=86400000)上限300000で実行");
}
