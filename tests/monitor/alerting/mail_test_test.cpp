// The mail test on the editor's fields: what it writes, what it hands to
// the mailer, and when it stops.

#include "monitor/alerting/mail_test.h"

#include <gtest/gtest.h>

#include "mail_folder.h"
#include "platform/files.h"
#include "support/fake_editor_view.h"
#include "support/services_rig.h"

using namespace orvis;
using namespace orvis::testing;

namespace {

class MailTestTest : public ::testing::Test {
 protected:
  MailTestTest() {
    editor.setMailGroupItems(3);
    editor.setMailGroupIndex(1);
    editor.setMailGroupName(sj("総務"));
    editor.setText(EditorControl::Target, sj("http://t.test/"));
    editor.setText(EditorControl::Name, sj("監視"));
    writeSjisLines(rig.path("mail/list.txt"), {"a@x.test,1", "b@x.test,0"});
  }
  std::string launched() const { return rig.launcher.launches.at(0).commandLine; }
  std::string expected(const std::string& gh) const {
    return rig.dir.path() + "alertmail " + rig.dir.path() + " " + gh;
  }

  ServicesRig rig;
  FakeEditorView editor;
  MailLauncher launcher{rig.services};
  AlertFiles files{rig};
  MailTest test{rig.services.boxes, rig.clock, editor, launcher, files.mail};
};

const char* const kClosing =
    "メールのテスト送信を実行しました。送信先で受信の確認をお願いします。\r\n"
    "受信できない場合は、メールアドレスの設定、メールサーバーの設定を再確認ください。";

TEST_F(MailTestTest, SystemTestMailHasSevenLinesAndAnEmptyUrl) {
  test.sendTestMail();
  EXPECT_EQ(utf8Lines(rig.path("mail/Subject-0.txt")),
            (std::vector<std::string>{"【ORVIS】システムからメールグループ[総務]への連絡です。"}));
  EXPECT_EQ(utf8Lines(rig.path("mail/Body-0.txt")),
            (std::vector<std::string>{"ORVISよりメッセージがあります。", "", "【日　付】2026/12/07",
                                      "【時　刻】09:05:03", "【ＵＲＬ】",
                                      "【内　容】テスト送信によりメール送信いたしました。", ""}));
  EXPECT_EQ(launched(), expected("1 0"));
  EXPECT_EQ(rig.launcher.launches[0].workingFolder, rig.dir.path());
  ASSERT_EQ(rig.prompter.texts().size(), 2u);
  EXPECT_EQ(rig.prompter.texts()[1], kClosing);
  EXPECT_EQ(rig.prompter.questions()[1].flags, 0);
}

TEST_F(MailTestTest, UserTestMailFillsTheFieldsAndLeavesDiff) {
  editor.setChecked(EditorControl::OwnMail, true);
  editor.setChecked(EditorControl::HtmlMail, true);
  editor.setText(EditorControl::Subject, sj("試験 <件名>"));
  editor.setBodyLines({sj("%name %uri"), sj("%sysmsg %diff"), sj("%date %time")});
  test.sendTestMail();
  EXPECT_EQ(utf8Lines(rig.path("mail/Subject-0.txt")), (std::vector<std::string>{"試験 <件名>"}));
  EXPECT_EQ(utf8Lines(rig.path("mail/Body-0.txt")),
            (std::vector<std::string>{"監視 http://t.test/",
                                      "テスト送信によりメール送信いたしました。 %diff",
                                      "2026/12/07 09:05:03"}));
  EXPECT_EQ(launched(), expected("1 1"));
}

TEST_F(MailTestTest, HtmlWithoutUserMailSendsPlainText) {
  editor.setChecked(EditorControl::HtmlMail, true);
  test.sendTestMail();
  EXPECT_EQ(launched(), expected("1 0"));
}

TEST_F(MailTestTest, GroupWithoutRecipientsIsRefusedAfterTheQuestion) {
  editor.setMailGroupIndex(2);
  writeText(rig.path("mail/Body-0.txt"), "kept\r\n");
  test.sendTestMail();
  EXPECT_EQ(rig.prompter.texts(),
            (std::vector<std::string>{
                "メール送信試験を行います。メールグループ「総務」へ送信されます。よろしいですか？",
                "送信先リストがありません。設定ボタンよりメール設定を行ってください。"}));
  EXPECT_TRUE(rig.launcher.launches.empty());
  EXPECT_EQ(readText(rig.path("mail/Body-0.txt")), "kept\r\n");
  EXPECT_TRUE(platform::fileExists(rig.path("mail/Subject-0.txt")));
}

TEST_F(MailTestTest, CancelWritesNothing) {
  rig.prompter.answer(mb::IdCancel);
  test.sendTestMail();
  EXPECT_FALSE(platform::fileExists(rig.path("mail/Subject-0.txt")));
  EXPECT_TRUE(rig.launcher.launches.empty());
  EXPECT_EQ(rig.prompter.questions().size(), 1u);
  EXPECT_EQ(rig.prompter.questions()[0].flags, mb::OKCancel | mb::DefButton2);
  EXPECT_EQ(rig.prompter.questions()[0].caption, "OrvisWatch");
}

TEST_F(MailTestTest, ClosingMessageFollowsAFailedStartToo) {
  rig.launcher.failing = true;
  test.sendTestMail();
  EXPECT_EQ(rig.launcher.launches.size(), 1u);
  ASSERT_EQ(rig.prompter.texts().size(), 2u);
  EXPECT_EQ(rig.prompter.texts()[1], kClosing);
}

TEST_F(MailTestTest, SecondClickWhileTheMailerRunsIsIgnored) {
  rig.launcher.waitsBeforeEnd = 3;
  int clicks = 0;
  rig.pump.onPump([&] {
    if (clicks++ == 0) test.sendTestMail();
  });
  test.sendTestMail();
  EXPECT_EQ(rig.launcher.launches.size(), 1u);
  EXPECT_EQ(rig.prompter.questions().size(), 2u);
}

}  // namespace
