// The mail test as the user meets it in the main window: the button
// "ﾒｰﾙﾃｽﾄ", its refusals with the focus they leave, the question and the
// closing message.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>

#include "platform/codec.h"
#include "support/window_rig.h"

using namespace orvis;
using namespace orvis::ui;

class MailTestWindowTest : public QObject {
  Q_OBJECT

  struct Window : orvis::testing::WindowRig {
    Window() {
      form.show();
      form.activateWindow();
      form.jobEditor().setMailGroupItems(2);
    }
    void recipients(const char* text) { orvis::testing::writeText(dir / "mail/list.txt", text); }
    // The boxes shown by one click on "ﾒｰﾙﾃｽﾄ", answered in order.
    std::vector<QtPrompter::Shown> clickAnswering(std::vector<int> answers) {
      prompter.clearShown();
      prompter.setNextAnswers(std::move(answers));
      QTest::mouseClick(find<QToolButton>("SpeedButton16"), Qt::LeftButton);
      return prompter.shown();
    }
  };

  static void verifyNotice(const QtPrompter::Shown& box, const QString& text) {
    QCOMPARE(box.text, text);
    QCOMPARE(box.caption, QStringLiteral("OrvisWatch"));
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(box.icon, QMessageBox::NoIcon);
  }

 private slots:
  void refusesUntilTheFieldsAreComplete() {
    Window w;
    QVERIFY(QTest::qWaitForWindowActive(&w.form));
    const QString noList =
        QStringLiteral("送信先リストがありません。設定ボタンよりメール設定を行ってください。");
    auto shown = w.clickAnswering({mb::IdOk});
    QCOMPARE(shown.size(), size_t(1));
    verifyNotice(shown[0], noList);

    w.recipients("a@x.test,0\r\n");
    shown = w.clickAnswering({mb::IdOk});
    QCOMPARE(shown.size(), size_t(1));
    verifyNotice(
        shown[0],
        QStringLiteral(
            "チェック対象を設定し、チェック対象を選択した後にﾒｰﾙﾃｽﾄを実行してみてください。"));

    w.find<QComboBox>("cmbMailGroup")->setCurrentIndex(0);
    QTest::mouseClick(w.find<QCheckBox>("chkUseUserMail"), Qt::LeftButton);
    shown = w.clickAnswering({mb::IdOk});
    QCOMPARE(shown.size(), size_t(1));
    verifyNotice(shown[0],
                 QStringLiteral("ユーザーメールが指定されていますが、件名が指定されていません。"));
    QCOMPARE(QApplication::focusWidget(), w.find<QLineEdit>("txtUserMailSubject"));

    w.find<QLineEdit>("txtUserMailSubject")->setText(QStringLiteral("件名"));
    shown = w.clickAnswering({mb::IdOk});
    QCOMPARE(shown.size(), size_t(1));
    verifyNotice(shown[0],
                 QStringLiteral("ユーザーメールが指定されていますが、本文が指定されていません。"));
    QCOMPARE(QApplication::focusWidget(), w.find<QPlainTextEdit>("txtUserMailBody"));

    QVERIFY(w.launcher.launches.empty());
    QVERIFY(!QFile::exists(QString::fromStdString(w.dir / "mail/Subject-0.txt")));
  }

  void questionNamesTheGroupAndCancelStops() {
    Window w;
    w.recipients("a@x.test,1\r\n");
    w.find<QComboBox>("cmbMailGroup")->setCurrentIndex(1);
    w.find<QLabel>("pnlMailGroup")->setText(QStringLiteral("営業"));
    auto shown = w.clickAnswering({mb::IdCancel});
    QCOMPARE(shown.size(), size_t(1));
    QCOMPARE(
        shown[0].text,
        QStringLiteral(
            "メール送信試験を行います。メールグループ「営業」へ送信されます。よろしいですか？"));
    QCOMPARE(shown[0].caption, QStringLiteral("OrvisWatch"));
    QCOMPARE(shown[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(shown[0].defaultButton, QMessageBox::Cancel);
    QVERIFY(w.launcher.launches.empty());
    QVERIFY(!QFile::exists(QString::fromStdString(w.dir / "mail/Subject-0.txt")));
  }

  void okSendsAndShowsTheClosingMessage() {
    Window w;
    w.recipients("a@x.test,1\r\n");
    w.find<QComboBox>("cmbMailGroup")->setCurrentIndex(1);
    QTest::mouseClick(w.find<QCheckBox>("chkUseUserMail"), Qt::LeftButton);
    w.find<QCheckBox>("chkUserMailHtml")->setChecked(true);
    w.find<QLineEdit>("txtUserMailSubject")->setText(QStringLiteral("件名"));
    w.find<QPlainTextEdit>("txtUserMailBody")->setPlainText(QStringLiteral("本文 %sysmsg\n二行目"));
    auto shown = w.clickAnswering({mb::IdOk, mb::IdOk});
    QCOMPARE(shown.size(), size_t(2));
    verifyNotice(
        shown[1],
        QStringLiteral(
            "メールのテスト送信を実行しました。送信先で受信の確認をお願いします。\r\n"
            "受信できない場合は、メールアドレスの設定、メールサーバーの設定を再確認ください。"));
    QCOMPARE(w.launcher.launches.size(), size_t(1));
    const std::string d = w.dir.path();
    QCOMPARE(w.launcher.launches[0].commandLine, d + "alertmail " + d + " 1 1");
    QCOMPARE(orvis::testing::readText(w.dir / "mail/Body-0.txt"),
             platform::toCp932("本文 テスト送信によりメール送信いたしました。\r\n二行目\r\n"));
  }
};

QTEST_MAIN(MailTestWindowTest)
#include "mail_test_window_test.moc"
