#include "alertmail/alert_mail_job.h"

#include <gtest/gtest.h>

#include <deque>

#include "platform/files.h"
#include "support/fake_clock.h"
#include "support/fixed_mail_stamps.h"
#include "support/temp_dir.h"

namespace orvis::alertmail {
namespace {

using testing::readLogLines;
using testing::sj;
using testing::writeText;
using Kind = SendOutcome::Kind;
using Lines = std::vector<std::string>;

struct Sent {
  std::string from, to, message;
};

class FakeTransport : public SmtpTransport {
 public:
  FakeTransport(std::vector<Sent>& sent, std::deque<SendOutcome>& outcomes)
      : sent_(sent), outcomes_(outcomes) {}
  SendOutcome send(const std::string& from, const std::string& to,
                   const std::string& message) override {
    sent_.push_back({from, to, message});
    if (outcomes_.empty()) return {Kind::Accepted, "250 OK", true};
    SendOutcome o = outcomes_.front();
    outcomes_.pop_front();
    return o;
  }

 private:
  std::vector<Sent>& sent_;
  std::deque<SendOutcome>& outcomes_;
};

class AlertMailJobTest : public ::testing::Test {
 protected:
  AlertMailJobTest() {
    writeText(dir / "mail/Postiva.ini", sj("[メール同報システム]\r\nSMTPServer=mail.example."
                                           "jp\r\n送信元メールアドレス=orvis@example.jp\r\n"
                                           "送信元名称=監視\r\nSMTP=SMTP\r\n"));
    writeText(dir / "mail/list.txt", "a@x.jp,0\r\nb@x.jp,1\r\nc@x.jp,0\r\n");
    writeText(dir / "mail/Subject-0.txt", sj("警報\r\n二行目\r\n"));
    writeText(dir / "mail/Body-0.txt", sj("本文\r\n"));
  }

  int run(std::string group = "0") {
    AlertMailJob job(sys, send, stamps, [this](const AlertSettings& s) {
      ++opened;
      EXPECT_EQ(s.server, "mail.example.jp");
      return std::make_unique<FakeTransport>(sent, outcomes);
    });
    return job.run({dir.path(), group, false});
  }
  Lines sendLog() const { return readLogLines(dir / "sendlog/alertmail/"); }
  Lines sysLog() const { return readLogLines(dir / "syslog/alertmail/"); }

  testing::TempDir dir;
  testing::FakeClock clock;
  platform::DayLog sys{dir / "syslog/alertmail/", "alertmail", clock};
  platform::DayLog send{dir / "sendlog/alertmail/", "", clock};
  testing::FixedMailStamps stamps;
  std::vector<Sent> sent;
  std::deque<SendOutcome> outcomes;
  int opened = 0;
};

TEST_F(AlertMailJobTest, EveryRecipientOfTheGroupGetsTheMessage) {
  EXPECT_EQ(run(), kAllSent);
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[1].from, "orvis@example.jp");
  EXPECT_EQ(sent[1].to, "c@x.jp");
  AlertContent content{sj("警報"), {sj("本文")}, false, sj("監視"), "orvis@example.jp"};
  EXPECT_EQ(sent[1].message, buildAlertMessage(content, "c@x.jp", stamps.date(), "<n@example.jp>"));
  EXPECT_EQ(sendLog(), (Lines{"SEND OK   :a@x.jp", "SEND OK   :c@x.jp"}));
}

TEST_F(AlertMailJobTest, RefusedRecipientDoesNotStopTheOthers) {
  outcomes = {{Kind::Refused, "550 5.1.1 unknown user", true}};
  EXPECT_EQ(run(), kSomeFailed);
  EXPECT_EQ(sent.size(), 2u);
  EXPECT_EQ(sendLog(),
            (Lines{"SEND ERROR:a@x.jp,CAUSE:550 5.1.1 unknown user", "SEND OK   :c@x.jp"}));
}

TEST_F(AlertMailJobTest, BrokenSessionFailsTheRestWithoutWaitingAgain) {
  writeText(dir / "mail/list.txt", "a@x.jp,0\r\nb@x.jp,0\r\nc@x.jp,0\r\n");
  outcomes = {{Kind::Accepted, "250 OK", true}, {Kind::Broken, "Connection timed out", false}};
  EXPECT_EQ(run(), kSomeFailed);
  EXPECT_EQ(sent.size(), 2u);
  EXPECT_EQ(sendLog(), (Lines{"SEND OK   :a@x.jp", "SEND ERROR:b@x.jp,CAUSE:Connection timed out",
                              "SEND ERROR:c@x.jp,CAUSE:Connection timed out"}));
}

TEST_F(AlertMailJobTest, SessionsTheServerEndsAreOpenedAnewBoundedPerRun) {
  writeText(dir / "mail/list.txt", "a@x.jp,0\r\nb@x.jp,0\r\nc@x.jp,0\r\nd@x.jp,0\r\n");
  const SendOutcome ok{Kind::Accepted, "250 OK", false}, drop{Kind::Dropped, "421 bye", false};
  struct Case {
    std::deque<SendOutcome> outcomes;
    int sessions;
    Lines lastTwo;
  };
  const Case cases[] = {
      // One message per session: each accepted one renews the budget.
      {{ok, drop, ok, drop, ok, drop, ok}, 4, {"SEND OK   :c@x.jp", "SEND OK   :d@x.jp"}},
      // A server that takes nothing: three in a row, then the rest fail.
      {std::deque<SendOutcome>(8, drop),
       4,
       {"SEND ERROR:c@x.jp,CAUSE:421 bye", "SEND ERROR:d@x.jp,CAUSE:421 bye"}},
  };
  for (const Case& c : cases) {
    platform::removeFile(dir / "sendlog/alertmail/20261207.txt");
    outcomes = c.outcomes;
    opened = 0;
    run();
    EXPECT_EQ(opened, c.sessions);
    Lines lines = sendLog();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(Lines(lines.begin() + 2, lines.end()), c.lastTwo);
  }
}

TEST_F(AlertMailJobTest, GroupWithoutRecipientsSendsNothing) {
  EXPECT_EQ(run("2"), kNoRecipient);
  EXPECT_EQ(opened, 0);
  EXPECT_TRUE(sendLog().empty());
  EXPECT_NE(sysLog().back().find("EXIT"), std::string::npos);
}

TEST_F(AlertMailJobTest, UnusableInputEndsWithALogLineAndAResultPerRecipient) {
  platform::removeFile(dir / "mail/Body-0.txt");
  EXPECT_EQ(run(), kBadInput);
  EXPECT_EQ(opened, 0);
  Lines lines = sendLog();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1].rfind("SEND ERROR:c@x.jp,CAUSE:" + sj("本文ファイルがありません:"), 0), 0u);

  writeText(dir / "mail/Body-0.txt", "");
  writeText(dir / "mail/Postiva.ini", sj("[メール同報システム]\r\nSMTPServer=h\r\n"));
  EXPECT_EQ(run(), kBadInput);
  EXPECT_EQ(opened, 0);

  platform::removeFile(dir / "mail/list.txt");
  EXPECT_EQ(run(), kBadInput);
  EXPECT_EQ(sendLog().size(), 4u);  // no recipients known, no new lines
  EXPECT_NE(sysLog().back().find(sj("送信先リストがありません")), std::string::npos);
}

TEST_F(AlertMailJobTest, EmptySubjectAndBodyStillGoOut) {
  writeText(dir / "mail/Subject-0.txt", "");
  writeText(dir / "mail/Body-0.txt", "");
  EXPECT_EQ(run(), kAllSent);
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0].message.rfind("subject: \r\n", 0), 0u);
}

}  // namespace
}  // namespace orvis::alertmail
