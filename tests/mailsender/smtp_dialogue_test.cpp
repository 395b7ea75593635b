// Whole runs against a scripted server: what goes over the wire, in what
// order, and what the two logs say. Each test has its own loopback address.

#include <gtest/gtest.h>

#include <algorithm>

#include "mail/header_word.h"
#include "scripted_smtp_server.h"
#include "session_harness.h"

using namespace orvis::testing;
using orvis::postiva::DialogueState;

namespace {

const std::vector<std::string> kStartupLines = {
    "送信対象リスト(1)件です。", "起動完了(mail) ver.　（Ver1.2.0.3）", "Postiva　（Ver1.2.0.3）"};

std::string subjectWord(const std::string& utf8) { return orvis::mail::encodeHeaderText(sj(utf8)); }

// The log from the HELO line (or `first`) on.
std::vector<std::string> fromHelo(const std::vector<std::string>& lines,
                                  const std::string& first = "HELO client.test") {
  auto helo = std::find(lines.begin(), lines.end(), first);
  return std::vector<std::string>(helo, lines.end());
}

}  // namespace

TEST(SmtpDialogue, OneRecipientRunWritesEveryStepInOrder) {
  ScriptedSmtpServer server("127.0.0.2");
  ASSERT_TRUE(server.listening());
  SessionHarness h("127.0.0.2");
  h.writeList({"a@rcpt.test,0"});
  h.writeMessage("0", "監視通知", {"本文です"});
  ASSERT_TRUE(h.start());
  EXPECT_EQ(h.view.caption, "Postiva　（Ver1.2.0.3）");
  EXPECT_EQ(h.view.countText, "1 件です。");
  EXPECT_EQ(h.session().passTimer().interval(), 500);

  ASSERT_TRUE(h.runToEnd());
  EXPECT_EQ(h.end.exitCode, 0);
  std::vector<std::string> expected = kStartupLines;
  for (const char* line : {"＃＃＃＃＃　送信スタート　＃＃＃＃＃",
                           "Total   1.",
                           "Send to :a@rcpt.test",
                           "MailType:0",
                           "Try SMTP socket open...to 127.0.0.2",
                           "Connecting!",
                           "Receive data:220 scripted ESMTP",
                           "Send!",
                           "HELO client.test",
                           "Receive data:250 scripted",
                           "OK Recieved",
                           "Send! MAIL FROM:<orvis@sender.test>",
                           "Receive data:250 ok",
                           "OK Recieved.",
                           "Send! RCPT TO:<a@rcpt.test>",
                           "Receive data:250 ok",
                           "OK Recieved",
                           "Send! DATA",
                           "Receive data:354 go ahead",
                           "OK Recieved"}) {
    expected.push_back(line);
  }
  expected.push_back("Send! subject: " + subjectWord("監視通知"));
  for (const char* line : {"Receive data:250 queued", "OK Recieved", "OK Recieved", "Send! QUIT",
                           "Receive data:221 bye", "OK Recieved", "Disconnected!", "送信終了"}) {
    expected.push_back(line);
  }
  EXPECT_EQ(h.syslog(), expected);
  EXPECT_EQ(h.sendlog(), (std::vector<std::string>{"＃＃＃＃＃　送信スタート　＃＃＃＃＃",
                                                   "SEND OK   :a@rcpt.test", "EXIT."}));
  EXPECT_EQ(h.view.statuses,
            (std::vector<std::string>{"動作開始します．．．", "接続開始．．．", "接続完了",
                                      "ネゴシエーション中...", "送信完了...1件"}));
  EXPECT_EQ(h.view.busy, (std::vector<bool>{true, false}));
  EXPECT_EQ(server.commands,
            (std::vector<std::string>{"HELO client.test", "MAIL FROM:<orvis@sender.test>",
                                      "RCPT TO:<a@rcpt.test>", "DATA", "QUIT"}));
}

TEST(SmtpDialogue, TransmitsTheMessageByteForByte) {
  ScriptedSmtpServer server("127.0.0.3");
  SessionHarness h("127.0.0.3");
  h.writeList({"a@rcpt.test,0"});
  h.writeMessage("0", "abc", {"1行目", "", ".", ".start", "end."});
  ASSERT_TRUE(h.start());
  ASSERT_TRUE(h.runToEnd());
  ASSERT_EQ(server.messages.size(), 1u);
  // "監視システム" in ISO-2022-JP is ESC $ B 4F;k%7%9%F%` ESC ( B.
  EXPECT_EQ(server.messages[0],
            "subject: =?iso-2022-jp?B?YWJj?=\r\n"
            "to: a@rcpt.test\r\n"
            "from: =?iso-2022-jp?B?GyRCNEY7ayU3JTklRiVgGyhC?= <orvis@sender.test>\r\n"
            "Mime-Version: 1.0\r\n"
            "Content-Type: text/plain;charset=\"iso-2022-jp\"\r\n"
            "Content-Transfer-Encoding: 7bit\r\n"
            "X-Mailer: Mailer(Original)\r\n"
            "Date: Mon, 07 Dec 2026 09:05:03 +0900\r\n"
            "Message-ID: <n@sender.test>\r\n"
            "\r\n"
            "1\x1b$B9TL\\\x1b(B\r\n"
            "\r\n"
            "..\r\n"
            "..start\r\n"
            "end.\r\n");
  // The body line "." did not end the text: the end mark came after it.
  EXPECT_NE(server.received.find("end.\r\n.\r\nQUIT\r\n"), std::string::npos);
}

TEST(SmtpDialogue, GreetingAndHeloReplyInOneRead) {
  ScriptedSmtpServer server("127.0.0.4");
  server.on("HELO", {{"220 scripted ESMTP\r\n250 scripted\r\n"}});
  SessionHarness h("127.0.0.4");
  h.writeOneRecipient();
  ASSERT_TRUE(h.start());
  ASSERT_TRUE(h.runToEnd());
  auto log = fromHelo(h.syslog());
  ASSERT_GE(log.size(), 6u);
  // The read is logged as received, its line break included.
  EXPECT_EQ(log[1], "Receive data:220 scripted ESMTP");
  EXPECT_EQ(log[2], "250 scripted");
  EXPECT_EQ(log[3], "we recieved 220&250");
  EXPECT_EQ(log[4], "OK Recieved");
  EXPECT_EQ(log[5], "Send! MAIL FROM:<orvis@sender.test>");
  EXPECT_EQ(h.end.exitCode, 0);
}

TEST(SmtpDialogue, ContinuedGreetingAndShortReadsWaitForTheHeloReply) {
  ScriptedSmtpServer server("127.0.0.5");
  server.greeting = {{"220-first line\r\n"}, {"220 second line\r\n", 60}};
  // Three characters alone are no reply; the whole one follows.
  server.on("HELO", {{"250", 150}, {"250 scripted\r\n", 60}});
  SessionHarness h("127.0.0.5");
  h.writeOneRecipient();
  ASSERT_TRUE(h.start());
  ASSERT_TRUE(h.runToEnd());
  // HELO waits for the greeting's last line.
  auto log = fromHelo(h.syslog(), "Connecting!");
  ASSERT_GE(log.size(), 10u);
  EXPECT_EQ(log[1], "Receive data:220-first line");
  EXPECT_EQ(log[2], "220- Recieved");
  EXPECT_EQ(log[3], "Receive data:220 second line");
  EXPECT_EQ(log[5], "HELO client.test");
  EXPECT_EQ(log[6], "Receive data:250");
  EXPECT_EQ(log[7], "Receive data:250 scripted");
  EXPECT_EQ(log[8], "OK Recieved");
  EXPECT_EQ(log[9], "Send! MAIL FROM:<orvis@sender.test>");
  EXPECT_EQ(server.count("MAIL FROM:<orvis@sender.test>"), 1);
  EXPECT_EQ(h.end.exitCode, 0);
}

TEST(SmtpDialogue, EmptyLineIsSkippedAndCountedInTheStatus) {
  ScriptedSmtpServer server("127.0.0.6");
  SessionHarness h("127.0.0.6");
  // Blanks around an address are no part of it; the lines stay as typed.
  const std::vector<std::string> list = {"a@rcpt.test ,0", "", " c@rcpt.test\t,1"};
  h.writeList(list);
  h.writeMessage("0", "件名ゼロ", {"zero"});
  h.writeMessage("1", "件名イチ", {"one"});
  ASSERT_TRUE(h.start());
  EXPECT_EQ(h.view.countText, "2 件です。");
  ASSERT_TRUE(h.runToEnd());
  EXPECT_TRUE(h.logHas("Total   3."));
  EXPECT_EQ(h.view.statuses.back(), "送信完了...3件");
  EXPECT_EQ(server.commands,
            (std::vector<std::string>{
                "HELO client.test", "MAIL FROM:<orvis@sender.test>", "RCPT TO:<a@rcpt.test>",
                "DATA", "MAIL FROM:<orvis@sender.test>", "RCPT TO:<c@rcpt.test>", "DATA", "QUIT"}));
  // Each recipient gets the message of its own mail type.
  ASSERT_EQ(server.messages.size(), 2u);
  EXPECT_EQ(server.messages[0].substr(0, server.messages[0].find("\r\n")),
            "subject: " + subjectWord("件名ゼロ"));
  EXPECT_NE(server.messages[1].find("\r\n\r\none\r\n"), std::string::npos);
  EXPECT_EQ(h.sendlog(), (std::vector<std::string>{"＃＃＃＃＃　送信スタート　＃＃＃＃＃",
                                                   "SEND OK   :a@rcpt.test",
                                                   "SEND OK   :c@rcpt.test", "EXIT."}));
  EXPECT_EQ(server.messages[1].substr(server.messages[1].find("\r\nto: "), 19),
            "\r\nto: c@rcpt.test\r\n");
  EXPECT_EQ(h.app->outbox().listLines, list);
}

// HELO goes out only after the server's greeting: servers that enforce the
// order of the dialogue refuse a client that speaks first. The watchdog
// still ends the wait for a server that never greets.
TEST(SmtpDialogue, HeloWaitsForTheGreeting) {
  struct Case {
    const char* address;
    Reply greeting;
    std::vector<std::string> commands;
    std::vector<std::string> lastLog;
  };
  for (const Case& c : {
           Case{"127.0.0.50",
                {{"220 late\r\n", 300}},
                {"HELO client.test", "MAIL FROM:<orvis@sender.test>", "RCPT TO:<a@rcpt.test>",
                 "DATA", "QUIT"},
                {"Disconnected!", "送信終了"}},
           Case{"127.0.0.51", {}, {}, {"connect timeout.", "EXIT", "Disconnected!"}},
           Case{"127.0.0.52", {{"554 not now\r\n"}}, {"QUIT"}, {"Send!", "QUIT", "Disconnected!"}},
       }) {
    SCOPED_TRACE(c.address);
    ScriptedSmtpServer server(c.address);
    server.greeting = c.greeting;
    SessionHarness h(c.address);
    h.writeOneRecipient();
    ASSERT_TRUE(h.start());
    ASSERT_TRUE(h.runPass(
        [&] { return c.greeting.empty() && h.session().state() == DialogueState::Greeting; }));
    if (!h.ended()) {
      runEventsUntil([] { return false; }, 200);
      ASSERT_TRUE(h.session().watchdog().enabled());
      h.session().watchdog().fire();
    }
    EXPECT_TRUE(h.ended());
    auto log = h.syslog();
    EXPECT_EQ(std::vector<std::string>(log.end() - static_cast<long>(c.lastLog.size()), log.end()),
              c.lastLog);
    runEventsUntil([&] { return server.commands.size() >= c.commands.size(); }, 2000);
    EXPECT_EQ(server.commands, c.commands);
  }
}

TEST(SmtpDialogue, PauseRuleBlocksAfterEverySoManyMessagesAndCountsAgainAfterARetry) {
  ScriptedSmtpServer server("127.0.0.7");
  server.script = [](const Command& c) -> std::optional<Reply> {
    if (c.line == "RCPT TO:<d@rcpt.test>" && c.seen == 3) return Reply{{"450 busy\r\n"}};
    return std::nullopt;
  };
  SessionHarness h("127.0.0.7");
  h.writeSettings({"PauseInterval=2", "PauseTime=1000"});
  h.writeList(
      {"a@rcpt.test,0", "b@rcpt.test,0", "c@rcpt.test,0", "d@rcpt.test,0", "e@rcpt.test,0"});
  h.writeMessage("0", "s", {"b"});
  ASSERT_TRUE(h.start());
  ASSERT_TRUE(h.runToEnd());
  std::vector<std::string> pauses;
  for (const auto& line : h.syslog()) {
    if (line.rfind("送信ポーズ実行", 0) == 0) pauses.push_back(line);
  }
  // After b (2nd of pass 1) and after e (2nd of the retry pass).
  EXPECT_EQ(pauses, (std::vector<std::string>{"送信ポーズ実行 Count=2,Time=1000msec.",
                                              "送信ポーズ実行 Count=2,Time=1000msec."}));
  EXPECT_EQ(h.clock.sleepCount(), 2);
  EXPECT_EQ(h.clock.totalSleptMs(), 2000);
  EXPECT_EQ(server.messages.size(), 5u);
  EXPECT_EQ(h.end.exitCode, 0);
}

TEST(SmtpDialogue, TestSendGoesToTheSenderWithWhatTheFieldsHold) {
  ScriptedSmtpServer server("127.0.0.8");
  SessionHarness h("127.0.0.8");
  h.writeOneRecipient();
  ASSERT_TRUE(h.start());
  h.session().passTimer().setEnabled(false);
  h.session().startTestSend();
  EXPECT_FALSE(h.session().watchdog().enabled());  // it starts with HELO
  ASSERT_TRUE(runEventsUntil([&] { return h.ended(); }));
  EXPECT_EQ(h.end.exitCode, 0);
  EXPECT_TRUE(h.logHas("＃＃＃＃＃　送信スタート（テスト送信）　＃＃＃＃＃"));
  EXPECT_TRUE(h.logHas("Send to orvis@sender.test"));
  EXPECT_TRUE(
      h.logHas("Send! subject: =?iso-2022-jp?B?"
               "?="));
  EXPECT_EQ(h.syslog().back(), "テスト送信終了");
  EXPECT_EQ(server.count("RCPT TO:<orvis@sender.test>"), 1);
  ASSERT_EQ(server.messages.size(), 1u);
  EXPECT_EQ(server.messages[0].substr(server.messages[0].size() - 4), "\r\n\r\n");
  EXPECT_EQ(h.sendlog().front(), "＃＃＃＃＃　送信スタート（テスト送信）　＃＃＃＃＃");
}

TEST(SmtpDialogue, TestSendWithoutSenderAddressAsksForOne) {
  SessionHarness h("127.0.0.9");
  h.writeSettings({"送信元メールアドレス="});
  h.writeList({"a@rcpt.test,0"});
  ASSERT_TRUE(h.start());
  h.session().startTestSend();
  EXPECT_EQ(h.view.messages,
            (std::vector<std::string>{"メール同報システム:宛先が設定されていません。"}));
  EXPECT_EQ(h.view.busy, (std::vector<bool>{true, false}));
  EXPECT_EQ(h.session().state(), DialogueState::Idle);
  EXPECT_FALSE(h.ended());
}

// A reply that comes in pieces (cut inside a line, or a reply of several
// lines in several reads) is one reply: it is taken once its last line has
// come, and never leaves a piece behind to be taken for the next reply.
TEST(SmtpDialogue, RepliesInPiecesAreTakenWhole) {
  struct Case {
    const char* address;
    const char* verb;
    Reply reply;
  };
  for (const Case& c : {
           Case{"127.0.0.44", "MAIL", {{"25"}, {"0 ok\r\n", 30}}},
           Case{"127.0.0.45", "DATA", {{"354"}, {" go ahead\r\n", 30}}},
           Case{"127.0.0.46", "RCPT", {{"250-first\r\n"}, {"250 last\r\n", 30}}},
       }) {
    SCOPED_TRACE(c.verb);
    ScriptedSmtpServer server(c.address);
    server.on(c.verb, c.reply);
    SessionHarness h(c.address);
    h.writeList({"a@rcpt.test,0", "b@rcpt.test,0"});
    h.writeMessage("0", "s", {"b"});
    ASSERT_TRUE(h.start());
    ASSERT_TRUE(h.runPass());
    EXPECT_EQ(h.end.exitCode, 0);
    EXPECT_EQ(h.syslog().back(), "送信終了");
    EXPECT_EQ(server.messages.size(), 2u);
    EXPECT_EQ(server.count("RSET"), 0);
  }
}
