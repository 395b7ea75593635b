// The files Postiva reads and the logs it writes.

#include <gtest/gtest.h>

#include <filesystem>

#include "mailsender/mail_logs.h"
#include "mailsender/message_files.h"
#include "mailsender/postiva_settings.h"
#include "mailsender/send_list.h"
#include "platform/files.h"
#include "support/fake_clock.h"
#include "support/temp_dir.h"

using namespace orvis::postiva;
using namespace orvis::testing;
using orvis::platform::appendExclusive;

namespace {
using Lines = std::vector<std::string>;
}

TEST(Settings, ReadsItsOwnSectionTrimmedWithDefaults) {
  TempDir dir;
  EXPECT_FALSE(readPostivaSettings(dir / "mail").has_value());
  writeText(dir / "mail/Postiva.ini",
            sj("[other]\r\nSMTPServer=wrong\r\n[メール同報システム]\r\n"
               "SMTPServer=  smtp.example \t\r\n送信元名称= 監視 担当 \r\nSMTPPORT=587\r\n"));
  auto s = readPostivaSettings(dir / "mail");
  ASSERT_TRUE(s.has_value());
  EXPECT_EQ(s->server, "smtp.example");
  EXPECT_EQ(s->senderName, sj("監視 担当"));
  EXPECT_EQ(s->clientName, "");
  EXPECT_EQ(s->senderAddress, "");
  EXPECT_EQ(s->retry, 5);
  EXPECT_EQ(s->pauseInterval, 0);
  EXPECT_EQ(s->pauseTime, 0);
  EXPECT_TRUE(s->rejected.empty());

  writeText(dir / "mail/Postiva.ini",
            sj("[メール同報システム]\r\nRetry= 0\r\nPauseInterval=3\r\nPauseTime=0250\r\n"));
  s = readPostivaSettings(dir / "mail");
  EXPECT_EQ(s->retry, 0);
  EXPECT_EQ(s->pauseInterval, 3);
  EXPECT_EQ(s->pauseTime, 250);
  EXPECT_EQ(s->pauseTimeText, "0250");  // logged as written
}

TEST(SendList, LinesNeedACommaUnlessEmpty) {
  TempDir dir;
  EXPECT_FALSE(loadSendList(dir.path()).ok);
  writeText(dir / "list.txt", "a@x,0\r\n\r\nb@x,0,x\r\n\r\n");
  SendList list = loadSendList(dir.path());
  EXPECT_TRUE(list.ok);
  EXPECT_EQ(list.count, 2);
  EXPECT_EQ(list.lines, (Lines{"a@x,0", "", "b@x,0,x", ""}));

  writeText(dir / "list.txt", "a@x,0\r\nno comma\r\nc@x,0\r\n");
  list = loadSendList(dir.path());
  EXPECT_FALSE(list.ok);
  EXPECT_EQ(list.badLine, "no comma");
}

TEST(MessageFiles, SubjectIsTheFirstLineAndTheBodyEveryLine) {
  TempDir dir;
  std::string subject = "stale";
  Lines body = {"stale"};
  EXPECT_EQ(loadMessageFiles(dir.path(), "0,x", subject, body), -1);
  EXPECT_EQ(subject, "");
  EXPECT_TRUE(body.empty());

  writeText(dir / "Subject-0,x.txt", sj("件名\r\n二行目\r\n"));
  EXPECT_EQ(loadMessageFiles(dir.path(), "0,x", subject, body), -1);  // no body file
  writeText(dir / "Body-0,x.txt", sj("一行目\r\n\r\n三行目"));
  EXPECT_EQ(loadMessageFiles(dir.path(), "0,x", subject, body), 0);
  EXPECT_EQ(subject, sj("件名"));
  EXPECT_EQ(body, (Lines{sj("一行目"), "", sj("三行目")}));

  writeText(dir / "Body-0,x.txt", "\r\n");  // one empty line is a body
  EXPECT_EQ(loadMessageFiles(dir.path(), "0,x", subject, body), 0);
  EXPECT_EQ(body, (Lines{""}));
  writeText(dir / "Body-0,x.txt", "");  // no line at all is not
  EXPECT_EQ(loadMessageFiles(dir.path(), "0,x", subject, body), -1);

  writeText(dir / "Subject-1.txt", "\r\nlater text\r\n");
  writeText(dir / "Body-1.txt", "b\r\n");
  EXPECT_EQ(loadMessageFiles(dir.path(), "1", subject, body), -1);
}

TEST(MessageFiles, JapaneseMailTypesNameUtf8Files) {
  TempDir dir;
  writeText(dir / "Subject-営業.txt", "s\r\n");
  writeText(dir / "Body-営業.txt", "b\r\n");
  std::string subject;
  Lines body;
  EXPECT_EQ(loadMessageFiles(dir.path(), sj("営業"), subject, body), 0);
}

TEST(MessageFiles, MailTypesNameFilesOfTheWorkFolderOnly) {
  TempDir dir;
  const std::string work = dir / "mail";
  writeText(dir / "outside.txt", "s\r\n");  // what a '/' would reach
  writeText(work + "/Subject-x/keep", "");
  writeText(work + "/Body-x/keep", "");
  writeText(work + "/Subject-0", "s\r\n");  // what a NUL would cut the name to
  writeText(work + "/Body-0", "b\r\n");
  std::string subject;
  Lines body;
  for (const std::string& type : {std::string("x/../../outside"), std::string("0\0x", 3)}) {
    EXPECT_EQ(loadMessageFiles(work, type, subject, body), -1) << type;
  }
}

TEST(MailLogs, SystemLogIsTaggedAndTheSendLogIsNot) {
  TempDir dir;
  FakeClock clock({2026, 12, 7, 9, 5, 3, 42});
  MailLogs logs(dir.path(), "mail", clock);
  logs.writeSystemLog(sj("起動完了 \r\n"));
  logs.writeSendLog("EXIT.");
  EXPECT_EQ(readText(dir / "syslog/mail/20261207.txt"),
            sj("2026/12/07,09:05:03.042,(MAIL),起動完了\r\n"));
  EXPECT_EQ(readText(dir / "sendlog/mail/20261207.txt"), "2026/12/07,09:05:03.042,EXIT.\r\n");
  clock.advanceMs(15L * 3600 * 1000);  // past midnight: a new day file
  logs.writeSendLog(std::string(600, 'x'));
  EXPECT_EQ(readText(dir / "sendlog/mail/20261208.txt").size(), 514u);
}

TEST(MailLogs, AFileRemovedWhileTheRunGoesOnIsCreatedAgain) {
  TempDir dir;
  FakeClock clock({2026, 12, 7, 9, 5, 3, 42});
  MailLogs logs(dir.path(), "mail", clock);
  logs.writeSystemLog("one");
  std::filesystem::remove_all(dir / "syslog");
  clock.advanceMs(1000);  // it is looked for once a second
  logs.writeSystemLog("two");
  EXPECT_EQ(readLines(dir / "syslog/mail/20261207.txt"),
            (Lines{"2026/12/07,09:05:04.042,(MAIL),two"}));
  // Lines written by someone else meanwhile stay, and ours follow them.
  appendExclusive(dir / "syslog/mail/20261207.txt", "other\r\n");
  logs.writeSystemLog("three");
  EXPECT_EQ(readLines(dir / "syslog/mail/20261207.txt"),
            (Lines{"2026/12/07,09:05:04.042,(MAIL),two", "other",
                   "2026/12/07,09:05:04.042,(MAIL),three"}));
}
