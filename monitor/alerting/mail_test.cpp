#include "mail_test.h"

#include "alert_texts.h"
#include "mail_template.h"
#include "monitor/shell/prompter.h"
#include "platform/codec.h"
#include "platform/files.h"

namespace orvis {

const std::string& MailTest::noList() {
  return SJIS("送信先リストがありません。設定ボタンよりメール設定を行ってください。");
}

int MailTest::message(const std::string& text, int flags) const {
  return boxes_.show(text, "OrvisWatch", flags);
}

void MailTest::sendTestMail() {
  // The wait for the mailer lets clicks through; a second test would
  // rewrite the files the first one's mailer is reading.
  if (running_) return;
  if (!platform::fileExists(files_.listPath())) {
    message(noList(), mb::OK);
    return;
  }
  const int group = editor_.mailGroupIndex();
  if (group < 0) {
    message(SJIS("チェック対象を設定し、チェック対象を選択した後にﾒｰﾙﾃｽﾄを実行してみてください。"),
            mb::OK);
    return;
  }
  const bool userMail = editor_.checked(EditorControl::OwnMail);
  if (userMail && editor_.text(EditorControl::Subject).empty()) {
    message(SJIS("ユーザーメールが指定されていますが、件名が指定されていません。"), mb::OK);
    editor_.focus(EditorControl::Subject);
    return;
  }
  if (userMail && editor_.bodyLines().empty()) {
    message(SJIS("ユーザーメールが指定されていますが、本文が指定されていません。"), mb::OK);
    editor_.focus(EditorControl::Body);
    return;
  }
  const std::string groupName = editor_.mailGroupName();
  if (message(SJIS("メール送信試験を行います。メールグループ「") + groupName +
                  SJIS("」へ送信されます。よろしいですか？"),
              mb::OKCancel | mb::DefButton2) != mb::IdOk)
    return;

  running_ = true;
  send(userMail, group, groupName);
  running_ = false;
}

void MailTest::send(bool userMail, int group, const std::string& groupName) {
  if (!launcher_.waitForRunningMailer()) return;
  const std::string subject =
      userMail ? editor_.text(EditorControl::Subject) : alert_text::groupSubject(groupName);
  const std::string& cannotWrite = SJIS("メール送信用のファイルを作成できませんでした。");
  if (!files_.writeSubject(subject)) {
    message(cannotWrite, mb::IconExclamation);
    return;
  }
  const std::string groupText = std::to_string(group);
  if (files_.recipientCount(groupText) == 0) {
    message(noList(), mb::OK);
    return;
  }
  const std::string& test = alert_text::testMessage();
  std::vector<std::string> body =
      userMail ? fillTemplate(editor_.bodyLines(),
                              {editor_.text(EditorControl::Target),
                               editor_.text(EditorControl::Name), test, std::nullopt, false},
                              clock_)
               : alert_text::systemMail(clock_, std::nullopt, "", test, "");
  if (!files_.writeBody(body)) {
    message(cannotWrite, mb::IconExclamation);
    return;
  }
  launcher_.runMailer(groupText,
                      alert_text::htmlFlag(userMail, editor_.checked(EditorControl::HtmlMail)));
  // (When the program is asked to end meanwhile, the closing box does not open.)
  message(
      SJIS("メールのテスト送信を実行しました。送信先で受信の確認をお願いします。") + "\r\n" +
          SJIS("受信できない場合は、メールアドレスの設定、メールサーバーの設定を再確認ください。"),
      mb::OK);
}

}  // namespace orvis
