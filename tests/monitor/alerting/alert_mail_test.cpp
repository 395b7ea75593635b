// The alert mail of a check job on files: subject, recipient count, body
// (system mail and the job's own template, plain and HTML), the response-
// error alert, and what is handed to the mailer.

#include "monitor/alerting/alert_mail.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "mail_folder.h"
#include "monitor/alerting/mail_template.h"
#include "platform/files.h"
#include "support/services_rig.h"

using namespace orvis;
using namespace orvis::testing;

namespace {

class AlertMailTest : public ::testing::Test {
 protected:
  struct Job {
    std::string no = "7";
    std::string group = "2";
    std::string userMail = "0";
    std::string html = "0";
    std::string uri = "http://www.example.test/index.html";
    std::string name = "トップページ";
  };

  // Adds the job as the next grid row; returns its row.
  int addJob(const Job& j) {
    JobRecord r;
    r.number = j.no;
    r.mailGroup = j.group;
    r.ownMail = StoredValue<Switch>::fromText(j.userMail);
    r.htmlMail = StoredValue<Switch>::fromText(j.html);
    r.target = sj(j.uri);
    r.name = sj(j.name);
    jobs.append(r);
    return static_cast<int>(jobs.size());
  }
  void recipients(const std::vector<std::string>& lines) {
    writeSjisLines(rig.path("mail/list.txt"), lines);
  }
  void send(int row, const std::string& sysmsg, const std::string& diff) {
    const Job& j = added_.at(row - 1);
    alerts.sendAlert(row, sj(j.uri), sj(sysmsg), sj(j.name), sj(diff));
  }
  int add(const Job& j) {
    added_.push_back(j);
    return addJob(j);
  }
  std::vector<std::string> subject() const { return utf8Lines(rig.path("mail/Subject-0.txt")); }
  std::vector<std::string> body() const { return utf8Lines(rig.path("mail/Body-0.txt")); }
  std::string dataFolder() const { return rig.dir.path(); }
  std::string launched(size_t i = 0) const { return rig.launcher.launches.at(i).commandLine; }
  bool logHas(const std::string& text) const {
    for (const auto& l : rig.logLines())
      if (l.find(text) != std::string::npos) return true;
    return false;
  }

  ServicesRig rig;
  JobTable jobs;
  MailLauncher launcher{rig.services};
  AlertFiles files{rig};
  AlertMail alerts{rig.services.log, rig.clock, jobs, launcher, files.mail};

 private:
  std::vector<Job> added_;
};

TEST_F(AlertMailTest, SystemMailNamesTheGroupUntrimmedAndGoesToTheJobsGroup) {
  writeSjisLines(rig.path("mail/Group-2.txt"), {"  営業部 ", "second line"});
  recipients({"a@x.test,2 ", "b@x.test,1"});
  int row = add({});
  send(row, "ファイル更新を検出", "");
  EXPECT_EQ(readText(rig.path("mail/Subject-0.txt")),
            sj("【ORVIS】システムからメールグループ[  営業部 ]への連絡です。\r\n"));
  ASSERT_EQ(rig.launcher.launches.size(), 1u);
  const std::string d = dataFolder();
  EXPECT_EQ(launched(), d + "alertmail " + d + " 2 0");
  EXPECT_EQ(rig.launcher.launches[0].workingFolder, d);
  EXPECT_EQ(rig.launcher.launches[0].mode, platform::WindowMode::Hidden);
  EXPECT_EQ(rig.logLines(), (std::vector<std::string>{"メール送信起動成功"}));
}

TEST_F(AlertMailTest, SystemMailWithoutDifferenceHasExactlyEightLines) {
  recipients({"a@x.test,2"});
  send(add({}), "プロセス状態更新を検出", "");
  EXPECT_EQ(body(),
            (std::vector<std::string>{"ORVISよりメッセージがあります。", "", "【日　付】2026/12/07",
                                      "【時　刻】09:05:03", "【名　称】トップページ",
                                      "【ＵＲＬ】http://www.example.test/index.html",
                                      "【内　容】プロセス状態更新を検出", ""}));
  // Eight lines, each ended by CR LF, and nothing more.
  const std::string raw = readText(rig.path("mail/Body-0.txt"));
  EXPECT_EQ(raw.substr(raw.size() - 4), "\r\n\r\n");
  EXPECT_EQ(std::count(raw.begin(), raw.end(), '\n'), 8);
}

TEST_F(AlertMailTest, SystemMailWithDifferenceAddsTheHeadingTheTextAndAnEmptyLine) {
  recipients({"a@x.test,2"});
  send(add({}), "HTMLソース比較エラーを検出", "<p>旧</p>\r\n<p>新</p>");
  std::vector<std::string> b = body();
  ASSERT_EQ(b.size(), 12u);
  EXPECT_EQ(std::vector<std::string>(b.begin() + 8, b.end()),
            (std::vector<std::string>{"【更新検出個所】", "<p>旧</p>", "<p>新</p>", ""}));
  EXPECT_EQ(b[6], "【内　容】HTMLソース比較エラーを検出");
}

TEST_F(AlertMailTest, HtmlTemplateEscapesTheDifferenceAndKeepsItOnOneLine) {
  recipients({"a@x.test,2"});
  writeSjisLines(rig.path("userMail/7.sub"), {"<b>自分の件名</b>", "ignored"});
  writeSjisLines(rig.path("userMail/7.bdy"), {"<p>%name:%diff</p>", "%diff"});
  int row = add({.userMail = "1", .html = "1"});
  send(row, "指定ワードを検出", "x<y\r\nz");
  EXPECT_EQ(subject(), (std::vector<std::string>{"<b>自分の件名</b>"}));
  EXPECT_EQ(body(), (std::vector<std::string>{"<p>トップページ:x&lt;y<BR>z</p>", "x&lt;y<BR>z"}));
  EXPECT_EQ(launched(), dataFolder() + "alertmail " + dataFolder() + " 2 1");

  // Every special character but the ampersand is escaped.
  send(row, "指定ワードを検出", "a&b \"q\" 'r' <s>");
  EXPECT_EQ(body()[1], "a&b &quot;q&quot; &#39;r&#39; &lt;s&gt;");
}

TEST_F(AlertMailTest, PlainTemplateInsertsTheDifferenceWithItsLineBreaks) {
  recipients({"a@x.test,2"});
  writeSjisLines(rig.path("userMail/7.sub"), {"件名"});
  writeSjisLines(rig.path("userMail/7.bdy"), {"%name:%diff", "end"});
  send(add({.userMail = "1"}), "指定ワードを検出", "x<y\r\nz");
  EXPECT_EQ(body(), (std::vector<std::string>{"トップページ:x<y", "z", "end"}));
  EXPECT_EQ(launched(), dataFolder() + "alertmail " + dataFolder() + " 2 0");
}

TEST_F(AlertMailTest, TemplateVariablesFillInOrderAndFeedTheLaterOnes) {
  recipients({"a@x.test,2"});
  writeSjisLines(rig.path("userMail/7.bdy"),
                 {"%date %time|%uri|%name|%sysmsg|%diff|%DATE %Name", "[%diff]"});
  // The name carries a later variable and is filled in again by it; the URI
  // carries an earlier one, which stays.
  int row = add({.userMail = "1", .uri = "http://h.test/?d=%date&n=%name", .name = "名%sysmsg"});
  send(row, "ドライブ残量状態更新を検出", "");
  EXPECT_EQ(body(), (std::vector<std::string>{
                        "2026/12/07 09:05:03|http://h.test/?d=%date&n=名ドライブ残量状態更新を検出|"
                        "名ドライブ残量状態更新を検出|ドライブ残量状態更新を検出||%DATE %Name",
                        "[]"}));
}

TEST_F(AlertMailTest, MissingOwnMailFilesGiveAnEmptySubjectAndBodyAndStillSend) {
  recipients({"a@x.test,2"});
  writeText(rig.path("mail/Body-0.txt"), "old body\r\n");
  send(add({.userMail = "1"}), "ファイル更新を検出", "diff");
  EXPECT_EQ(readText(rig.path("mail/Subject-0.txt")), "\r\n");
  EXPECT_EQ(readText(rig.path("mail/Body-0.txt")), "");
  EXPECT_EQ(rig.launcher.launches.size(), 1u);
}

TEST_F(AlertMailTest, WithoutRecipientsOnlyTheSubjectIsRewritten) {
  writeSjisLines(rig.path("mail/Group-2.txt"), {"二課"});
  writeText(rig.path("mail/Body-0.txt"), "old body\r\n");
  writeText(rig.path("mail/Subject-0.txt"), "old subject\r\n");
  int row = add({});
  // No list at all, then a list whose lines are for other groups or no group.
  send(row, "ファイル更新を検出", "d");
  EXPECT_EQ(subject(),
            (std::vector<std::string>{"【ORVIS】システムからメールグループ[二課]への連絡です。"}));
  recipients({"a@x.test,1", "b@x.test", "c@x.test,02", "d@x.test,2,2"});
  writeText(rig.path("mail/Subject-0.txt"), "old subject\r\n");
  send(row, "ファイル更新を検出", "d");
  EXPECT_EQ(subject().size(), 1u);
  EXPECT_NE(readText(rig.path("mail/Subject-0.txt")), "old subject\r\n");
  EXPECT_EQ(readText(rig.path("mail/Body-0.txt")), "old body\r\n");
  EXPECT_TRUE(rig.launcher.launches.empty());
  EXPECT_TRUE(rig.logLines().empty());
}

TEST_F(AlertMailTest, JobWithoutMailGroupNamesAnEmptyGroupAndSendsNothing) {
  recipients({"a@x.test,0", "b@x.test,1"});
  send(add({.group = "-1"}), "ファイル更新を検出", "");
  EXPECT_EQ(subject(),
            (std::vector<std::string>{"【ORVIS】システムからメールグループ[]への連絡です。"}));
  EXPECT_FALSE(platform::fileExists(rig.path("mail/Body-0.txt")));
  EXPECT_TRUE(rig.launcher.launches.empty());
}

TEST_F(AlertMailTest, SystemMailIsSentAsPlainTextEvenWhenTheJobAsksForHtml) {
  recipients({"a@x.test,2"});
  send(add({.userMail = "0", .html = "1"}), "HTMLソース比較エラーを検出", "<script>x</script>");
  EXPECT_EQ(launched(), dataFolder() + "alertmail " + dataFolder() + " 2 0");
  EXPECT_EQ(body()[9], "<script>x</script>");
}

TEST_F(AlertMailTest, ResponseErrorSystemMailHasNoNameLineAndPlainText) {
  recipients({"a@x.test,2"});
  add({});
  int row = add({.no = "12", .html = "1", .uri = "http://down.test/"});
  alerts.sendResponseErrorAlert(row);
  EXPECT_EQ(body(),
            (std::vector<std::string>{"ORVISよりメッセージがあります。", "", "【日　付】2026/12/07",
                                      "【時　刻】09:05:03", "【ＵＲＬ】http://down.test/",
                                      "【内　容】応答エラーを検出しました。", ""}));
  EXPECT_EQ(launched(), dataFolder() + "alertmail " + dataFolder() + " 2 0");
  EXPECT_EQ(rig.logLines(),
            (std::vector<std::string>{"12->接続リトライオーバー", "メール送信起動成功"}));
}

TEST_F(AlertMailTest, ResponseErrorTemplateKeepsDiffAsWritten) {
  recipients({"a@x.test,3"});
  writeSjisLines(rig.path("userMail/9.sub"), {"応答なし"});
  writeSjisLines(rig.path("userMail/9.bdy"), {"%name %uri: %sysmsg %diff"});
  int row = add({.no = "9", .group = "3", .userMail = "1", .html = "1", .uri = "u"});
  alerts.sendResponseErrorAlert(row);
  EXPECT_EQ(subject(), (std::vector<std::string>{"応答なし"}));
  EXPECT_EQ(body(), (std::vector<std::string>{"トップページ u: 応答エラーを検出しました。 %diff"}));
  EXPECT_EQ(launched(), dataFolder() + "alertmail " + dataFolder() + " 3 1");
}

TEST_F(AlertMailTest, ResponseErrorWithoutRecipientsStillLogsTheRetryOver) {
  add({.no = "5"});
  alerts.sendResponseErrorAlert(1);
  EXPECT_EQ(rig.logLines(), (std::vector<std::string>{"5->接続リトライオーバー"}));
  EXPECT_TRUE(rig.launcher.launches.empty());
}

TEST_F(AlertMailTest, MailerThatCannotStartIsSilentAndDoesNotHoldTheCaller) {
  recipients({"a@x.test,2"});
  rig.launcher.failing = true;
  send(add({}), "ファイル更新を検出", "");
  EXPECT_EQ(rig.launcher.launches.size(), 1u);
  EXPECT_EQ(body().size(), 8u);
  EXPECT_TRUE(rig.logLines().empty());
  EXPECT_EQ(rig.pump.count(), 0);
  EXPECT_EQ(rig.clock.totalSleptMs(), 0);
}

TEST_F(AlertMailTest, UnwritableMailFileStopsTheAlertWithALogLine) {
  recipients({"a@x.test,2"});
  // A folder where the subject file belongs cannot be written over.
  platform::makeFolders(rig.path("mail/Subject-0.txt"));
  writeText(rig.path("mail/Body-0.txt"), "previous alert\r\n");
  send(add({}), "ファイル更新を検出", "");
  EXPECT_TRUE(rig.launcher.launches.empty());
  EXPECT_EQ(readText(rig.path("mail/Body-0.txt")), "previous alert\r\n");
  ASSERT_EQ(rig.logLines().size(), 1u);
  EXPECT_NE(rig.logLines()[0].find("メールファイルを書き込めません"), std::string::npos);
}

TEST_F(AlertMailTest, RowOutsideTheTableIsLoggedAndIgnored) {
  recipients({"a@x.test,2"});
  add({});
  alerts.sendAlert(2, "u", "m", "n", "");
  alerts.sendResponseErrorAlert(0);
  EXPECT_TRUE(rig.launcher.launches.empty());
  EXPECT_FALSE(platform::fileExists(rig.path("mail/Subject-0.txt")));
  EXPECT_EQ(rig.logLines().size(), 2u);
}

TEST_F(AlertMailTest, AlertRaisedWhileAMailerRunsWaitsBeforeRewritingItsFiles) {
  recipients({"a@x.test,2", "b@x.test,4"});
  writeSjisLines(rig.path("mail/Group-2.txt"), {"first"});
  writeSjisLines(rig.path("mail/Group-4.txt"), {"second"});
  int first = add({});
  int second = add({.no = "8", .group = "4"});
  rig.launcher.waitsBeforeEnd = 3;
  // What each mailer finds in the subject file when it reads it.
  std::vector<std::string> read;
  rig.launcher.onRun = [&](const FakeLauncher::Launch&) {
    read.push_back(utf8Lines(rig.path("mail/Subject-0.txt")).at(0));
  };
  bool raised = false;
  rig.pump.onPump([&] {
    if (raised) return;
    raised = true;
    send(second, "ファイル更新を検出", "");
  });
  send(first, "ファイル更新を検出", "");
  ASSERT_EQ(read.size(), 2u);
  EXPECT_EQ(read[0], "【ORVIS】システムからメールグループ[first]への連絡です。");
  EXPECT_EQ(read[1], "【ORVIS】システムからメールグループ[second]への連絡です。");
  EXPECT_EQ(rig.launcher.closes, 2);
}

TEST(HtmlEscaping, ReplacesTheFourCharactersAndLeavesTheRest) {
  EXPECT_EQ(escapeHtml("<a href=\"x\" title='t'>&amp;</a>"),
            "&lt;a href=&quot;x&quot; title=&#39;t&#39;&gt;&amp;&lt;/a&gt;");
  // Two-byte characters pass byte for byte.
  EXPECT_EQ(escapeHtml(sj("表示<ソ>")), sj("表示&lt;ソ&gt;"));
}

}  // namespace
