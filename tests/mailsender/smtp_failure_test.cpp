// Refusals, retries, time-outs and broken connections, against a scripted
// server on a loopback address of each test's own.

#include <gtest/gtest.h>

#include <algorithm>

#include "scripted_smtp_server.h"
#include "session_harness.h"

using namespace orvis::testing;
using orvis::postiva::DialogueState;

namespace {

int countLines(const std::vector<std::string>& lines, const std::string& line) {
  return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

}  // namespace

TEST(SmtpFailure, RefusedRecipientIsRetriedAfterTenSecondsUntilRetriesRunOut) {
  ScriptedSmtpServer server("127.0.0.10");
  server.script = [](const Command& c) -> std::optional<Reply> {
    if (c.line == "RCPT TO:<b@rcpt.test>") return Reply{{"550 no such user\r\n"}};
    return std::nullopt;
  };
  SessionHarness h("127.0.0.10");
  h.writeSettings({"Retry=2"});
  h.writeList({"a@rcpt.test,0", "b@rcpt.test,0"});
  h.writeMessage("0", "s", {"b"});
  ASSERT_TRUE(h.start());

  ASSERT_TRUE(h.runPass());
  EXPECT_FALSE(h.ended());
  EXPECT_EQ(h.session().passTimer().interval(), 10000);
  EXPECT_FALSE(h.session().watchdog().enabled());
  EXPECT_EQ(h.app->outbox().listLines, (std::vector<std::string>{"b@rcpt.test,0"}));
  auto log = h.syslog();
  EXPECT_EQ(std::vector<std::string>(log.end() - 5, log.end()),
            (std::vector<std::string>{"Send! RSET", "Receive data:250 ok", "OK Recieved",
                                      "Disconnected!", "retry."}));

  ASSERT_TRUE(h.runToEnd());
  EXPECT_EQ(h.end.exitCode, 1);
  EXPECT_EQ(h.session().retryCount(), 3);
  log = h.syslog();
  EXPECT_EQ(countLines(log, "retry."), 2);
  EXPECT_EQ(log.back(), "retry over.Exit.");
  EXPECT_EQ(server.count("RCPT TO:<a@rcpt.test>"), 1);
  EXPECT_EQ(server.count("RCPT TO:<b@rcpt.test>"), 3);
  EXPECT_EQ(server.connections, 3);
  // Retries write no closing line of their own.
  const std::string banner = "＃＃＃＃＃　送信スタート　＃＃＃＃＃";
  const std::string error = "SEND ERROR:b@rcpt.test,CAUSE:550";
  EXPECT_EQ(h.sendlog(), (std::vector<std::string>{banner, "SEND OK   :a@rcpt.test", error, banner,
                                                   error, banner, error}));
}

TEST(SmtpFailure, NoRetryAtAllEndsAtTheFirstReset) {
  ScriptedSmtpServer server("127.0.0.11");
  server.on("MAIL", {{"451 try later\r\n"}});
  for (const char* retry : {"Retry=0", "Retry=-1"}) {
    SCOPED_TRACE(retry);
    SessionHarness h("127.0.0.11");
    h.writeSettings({retry});
    h.writeOneRecipient();
    ASSERT_TRUE(h.start());
    ASSERT_TRUE(h.runPass());
    EXPECT_TRUE(h.ended());
    EXPECT_EQ(h.syslog().back(), "retry over.Exit.");
    EXPECT_FALSE(h.logHas("retry."));
    EXPECT_EQ(h.sendlog().back(), "SEND ERROR:a@rcpt.test,CAUSE:451");
  }
}

TEST(SmtpFailure, RetryResumesAtTheFailedRecipientPastEmptyLines) {
  ScriptedSmtpServer server("127.0.0.12");
  server.script = [](const Command& c) -> std::optional<Reply> {
    if (c.line == "RCPT TO:<c@rcpt.test>" && c.seen == 2) return Reply{{"450 busy\r\n"}};
    return std::nullopt;
  };
  SessionHarness h("127.0.0.12");
  h.writeList({"a@rcpt.test,0", "", "b@rcpt.test,0", "c@rcpt.test,0"});
  h.writeMessage("0", "s", {"b"});
  ASSERT_TRUE(h.start());
  ASSERT_TRUE(h.runPass());
  // a, the empty line and b are done with; nobody is mailed twice.
  EXPECT_EQ(h.app->outbox().listLines, (std::vector<std::string>{"c@rcpt.test,0"}));
  ASSERT_TRUE(h.runToEnd());
  EXPECT_EQ(h.end.exitCode, 0);
  EXPECT_EQ(server.count("RCPT TO:<a@rcpt.test>"), 1);
  EXPECT_EQ(server.count("RCPT TO:<b@rcpt.test>"), 1);
  EXPECT_EQ(server.count("RCPT TO:<c@rcpt.test>"), 2);
  EXPECT_EQ(server.messages.size(), 3u);
}

TEST(SmtpFailure, RefusedDataOrMessageSendsQuitAndEnds) {
  struct Case {
    const char* address;
    const char* verb;
    const char* reply;
  };
  for (Case c : {Case{"127.0.0.13", "DATA", "554 no data\r\n"},
                 Case{"127.0.0.14", ".", "552 too big\r\n"}}) {
    SCOPED_TRACE(c.verb);
    ScriptedSmtpServer server(c.address);
    server.on(c.verb, {{c.reply}});
    SessionHarness h(c.address);
    h.writeOneRecipient();
    ASSERT_TRUE(h.start());
    ASSERT_TRUE(h.runPass());
    EXPECT_EQ(h.end.exitCode, 1);
    auto log = h.syslog();
    EXPECT_EQ(log.back(), "Disconnected!");
    EXPECT_EQ(log[log.size() - 2], "Send! QUIT");
    EXPECT_EQ(h.sendlog().back(), "EXIT.");
    EXPECT_EQ(h.sendlog()[1], "SEND ERROR:a@rcpt.test,CAUSE:" + std::string(c.reply, 3));
    EXPECT_EQ(h.view.busy, (std::vector<bool>{true, false}));
    ASSERT_TRUE(runEventsUntil([&] { return server.commands.back() == "QUIT"; }));
  }
}

TEST(SmtpFailure, RefusedHeloSendsQuitInTwoPieces) {
  ScriptedSmtpServer server("127.0.0.15");
  server.on("HELO", {{"501 bad name\r\n"}});
  SessionHarness h("127.0.0.15");
  h.writeOneRecipient();
  ASSERT_TRUE(h.start());
  ASSERT_TRUE(h.runPass());
  auto log = h.syslog();
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(log.end() - 3, log.end()),
            (std::vector<std::string>{"Send!", "QUIT", "Disconnected!"}));
  EXPECT_EQ(h.sendlog(), (std::vector<std::string>{"＃＃＃＃＃　送信スタート　＃＃＃＃＃",
                                                   "SEND ERROR:a@rcpt.test,CAUSE:501", "EXIT."}));
  ASSERT_TRUE(runEventsUntil([&] { return server.count("QUIT") == 1; }));
}

TEST(SmtpFailure, RefusedResetEndsTheRun) {
  ScriptedSmtpServer server("127.0.0.16");
  server.on("RCPT", {{"550 no\r\n"}});
  server.on("RSET", {{"502 no reset\r\n"}});
  SessionHarness h("127.0.0.16");
  h.writeOneRecipient();
  ASSERT_TRUE(h.start());
  ASSERT_TRUE(h.runPass());
  EXPECT_EQ(h.end.exitCode, 1);
  EXPECT_TRUE(h.logHas("Send! QUIT"));
  auto sent = h.sendlog();
  EXPECT_EQ(
      std::vector<std::string>(sent.end() - 3, sent.end()),
      (std::vector<std::string>{"SEND ERROR:a@rcpt.test,CAUSE:550", "SEND ERROR RSET", "EXIT."}));
}

TEST(SmtpFailure, ServerThatClosesMidDialogueEndsThroughTheWatchdog) {
  ScriptedSmtpServer server("127.0.0.17");
  server.on("MAIL", {{"", 0, true}});
  SessionHarness h("127.0.0.17");
  h.writeOneRecipient();
  ASSERT_TRUE(h.start());
  ASSERT_TRUE(h.runPass([&] { return h.logHas("Disconnected!"); }));
  EXPECT_EQ(h.session().state(), DialogueState::MailFromSent);
  EXPECT_FALSE(h.logHas("Socket error."));
  ASSERT_TRUE(h.session().watchdog().enabled());
  EXPECT_EQ(h.session().watchdog().interval(), 30000);

  h.session().watchdog().fire();
  auto log = h.syslog();
  EXPECT_EQ(std::vector<std::string>(log.end() - 2, log.end()),
            (std::vector<std::string>{"read timeout.", "Send! RSET"}));
  EXPECT_EQ(h.session().state(), DialogueState::RsetSent);
  ASSERT_TRUE(h.session().watchdog().enabled());

  h.session().watchdog().fire();
  EXPECT_EQ(h.syslog().back(), "RSET Timed out.Exit.");
  EXPECT_TRUE(h.ended());
  EXPECT_EQ(h.end.exitCode, 1);
}

TEST(SmtpFailure, UnansweredMessageIsResetAndSentAgainToTheSameRecipient) {
  ScriptedSmtpServer server("127.0.0.20");
  server.script = [](const Command& c) -> std::optional<Reply> {
    if (c.verb == "." && c.seen == 0) return Reply{};
    return std::nullopt;
  };
  SessionHarness h("127.0.0.20");
  h.writeOneRecipient();
  ASSERT_TRUE(h.start());
  ASSERT_TRUE(h.runPass([&] { return server.messages.size() == 1; }));
  ASSERT_TRUE(runEventsUntil([&] { return h.session().state() == DialogueState::MessageSent; }));
  h.session().watchdog().fire();
  ASSERT_TRUE(runEventsUntil([&] { return h.session().passTimer().enabled(); }));
  EXPECT_TRUE(h.logHas("read timeout."));
  EXPECT_EQ(h.app->outbox().listLines, (std::vector<std::string>{"a@rcpt.test,0"}));
  ASSERT_TRUE(h.runToEnd());
  EXPECT_EQ(h.end.exitCode, 0);
  EXPECT_EQ(server.messages.size(), 2u);
}

// A server that answers a message twice: the second 250 comes in while the
// strip shows the first one, when the program lets events run, and answers
// nothing the program sent. Each recipient is served once, the run ends
// with its QUIT.
TEST(SmtpFailure, SecondAcceptanceWhileTheStripRepaintsIsIgnored) {
  ScriptedSmtpServer server("127.0.0.21");
  server.on(".", {{"250 ok\r\n"}, {"250 ok again\r\n", 5}});
  SessionHarness h("127.0.0.21");
  h.writeList({"a@rcpt.test,0", "b@rcpt.test,0"});
  h.writeMessage("0", "s", {"b"});
  h.pump.onPump([] { runEventsUntil([] { return false; }, 50); });
  ASSERT_TRUE(h.start());
  ASSERT_TRUE(h.runToEnd());
  EXPECT_EQ(h.end.exitCode, 0);
  EXPECT_EQ(server.count("RCPT TO:<a@rcpt.test>"), 1);
  EXPECT_EQ(server.count("RCPT TO:<b@rcpt.test>"), 1);
  auto sent = h.sendlog();
  EXPECT_EQ(
      std::vector<std::string>(sent.begin() + 1, sent.end()),
      (std::vector<std::string>{"SEND OK   :a@rcpt.test", "SEND OK   :b@rcpt.test", "EXIT."}));
  EXPECT_TRUE(h.logHas("Receive data:250 ok again"));
}

TEST(SmtpFailure, RefusedConnectionIsASocketError) {
  SessionHarness h("127.0.0.18");  // nothing listens there
  h.writeOneRecipient();
  ASSERT_TRUE(h.start());
  ASSERT_TRUE(h.runPass());
  auto log = h.syslog();
  EXPECT_EQ(
      std::vector<std::string>(log.end() - 3, log.end()),
      (std::vector<std::string>{"Try SMTP socket open...to 127.0.0.18", "Socket error.", "EXIT"}));
  EXPECT_EQ(h.end.exitCode, 1);
  EXPECT_FALSE(h.session().watchdog().enabled());
  EXPECT_EQ(h.sendlog().size(), 1u);  // the banner only
}

TEST(SmtpFailure, EmptyServerNameIsASocketError) {
  SessionHarness h("");
  h.writeOneRecipient();
  ASSERT_TRUE(h.start());
  ASSERT_TRUE(h.runPass());
  auto log = h.syslog();
  EXPECT_EQ(std::vector<std::string>(log.end() - 3, log.end()),
            (std::vector<std::string>{"Try SMTP socket open...to", "Socket error.", "EXIT"}));
}

TEST(SmtpFailure, ConnectTimeoutEndsAndLaterEventsAreIgnored) {
  ScriptedSmtpServer server("127.0.0.19");
  SessionHarness h("127.0.0.19");
  h.writeOneRecipient();
  ASSERT_TRUE(h.start());
  h.session().passTimer().fire();
  ASSERT_EQ(h.session().state(), DialogueState::Connecting);
  h.session().watchdog().fire();
  EXPECT_TRUE(h.ended());
  runEventsUntil([] { return false; }, 200);
  auto log = h.syslog();
  EXPECT_EQ(std::vector<std::string>(log.end() - 2, log.end()),
            (std::vector<std::string>{"connect timeout.", "EXIT"}));
  EXPECT_EQ(h.end.calls, 1);
}

TEST(SmtpFailure, AbortClosesAndEnds) {
  ScriptedSmtpServer server("127.0.0.22");
  server.on("HELO", {});  // never answered
  SessionHarness h("127.0.0.22");
  h.writeOneRecipient();
  ASSERT_TRUE(h.start());
  ASSERT_TRUE(h.runPass([&] { return h.session().state() == DialogueState::HeloSent; }));
  h.session().abort();
  EXPECT_EQ(h.syslog().back(), "Disconnected!");
  auto sent = h.sendlog();
  EXPECT_EQ(std::vector<std::string>(sent.end() - 2, sent.end()),
            (std::vector<std::string>{"ABORT.", "EXIT."}));
  EXPECT_EQ(h.end.exitCode, 1);
  EXPECT_FALSE(h.view.busy.back());
}

TEST(SmtpFailure, MissingMessageFilesOfALaterLineDropTheConnection) {
  ScriptedSmtpServer server("127.0.0.23");
  SessionHarness h("127.0.0.23");
  h.writeList({"a@rcpt.test,0", "b@rcpt.test,9"});
  h.writeMessage("0", "s", {"b"});
  ASSERT_TRUE(h.start());
  ASSERT_TRUE(h.runPass());
  auto log = h.syslog();
  EXPECT_EQ(
      std::vector<std::string>(log.end() - 4, log.end()),
      (std::vector<std::string>{"Send to :b@rcpt.test", "MailType:9", "送信情報異常", "EXIT"}));
  EXPECT_EQ(h.end.exitCode, 1);
  runEventsUntil([] { return false; }, 100);
  EXPECT_EQ(server.count("QUIT"), 0);
}

TEST(SmtpFailure, FirstLineFaultsEndBeforeConnecting) {
  struct Case {
    std::vector<std::string> list;
    std::vector<std::string> lastLines;
  };
  for (const Case& c : {
           Case{{"", "a@rcpt.test,0"}, {"Total   2.", "宛先不明", "EXIT"}},
           Case{{",0"}, {"MailType:0", "宛先不明", "EXIT"}},
           Case{{"a@rcpt.test,"}, {"MailType:", "メールタイプ不明:アドレス→a@rcpt.test", "EXIT"}},
           Case{{"a@rcpt.test,7"}, {"MailType:7", "送信情報異常。", "EXIT"}},
       }) {
    SCOPED_TRACE(c.list.front());
    SessionHarness h("127.0.0.24");
    h.writeList(c.list);
    h.writeMessage("0", "s", {"b"});
    writeText(h.work + "Subject-.txt", "s\r\n");
    writeText(h.work + "Body-.txt", "b\r\n");
    ASSERT_TRUE(h.start());
    h.session().passTimer().fire();
    EXPECT_TRUE(h.ended());
    EXPECT_EQ(h.end.exitCode, 1);
    auto log = h.syslog();
    EXPECT_EQ(std::vector<std::string>(log.end() - 3, log.end()), c.lastLines);
    EXPECT_EQ(h.view.busy, (std::vector<bool>{true, false}));
    EXPECT_FALSE(h.logHas("Try SMTP socket open...to 127.0.0.24"));
  }
}

// A reset, on a read or on a write, is a transfer error: the run ends at
// once instead of waiting for the watchdog as after an orderly close.
TEST(SmtpFailure, ResetConnectionIsASocketError) {
  struct Case {
    const char *address, *verb;
    Reply reply;
  };
  for (const Case& c : {Case{"127.0.0.40", "MAIL", {{"", 0, false, true}}},
                        Case{"127.0.0.42", "DATA", {{"354 go\r\n"}, {"", 0, false, true}}}}) {
    SCOPED_TRACE(c.verb);
    ScriptedSmtpServer server(c.address);
    server.on(c.verb, c.reply);
    SessionHarness h(c.address);
    h.writeList({"a@rcpt.test,0"});
    h.writeMessage("0", "s", std::vector<std::string>(2000, std::string(2000, 'x')));
    ASSERT_TRUE(h.start());
    ASSERT_TRUE(h.runPass());
    EXPECT_EQ(h.end.exitCode, 1);
    auto log = h.syslog();
    EXPECT_EQ(std::vector<std::string>(log.end() - 2, log.end()),
              (std::vector<std::string>{"Socket error.", "EXIT"}));
    EXPECT_FALSE(h.logHas("Disconnected!"));
    EXPECT_FALSE(h.session().watchdog().enabled());
  }
}
