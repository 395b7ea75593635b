// Postiva's status strip: placement, look, and what SetBusy changes.

#include "mailsender/window/tform1.h"

#include <QLabel>
#include <QTest>
#include <QToolButton>

#include "platform/codec.h"

using orvis::postiva::TForm1;

namespace {
std::string sj(const char* utf8) { return orvis::platform::toCp932(utf8); }
}  // namespace

class TForm1Test : public QObject {
  Q_OBJECT

 private slots:
  void stripIsABorderlessBarAtTheTopLeft() {
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.geometry(), QRect(0, 0, 290, 35));
    QVERIFY(form.windowFlags() & Qt::FramelessWindowHint);
    auto* panel = form.findChild<QLabel*>("Panel3");
    QVERIFY(panel);
    QCOMPARE(panel->geometry(), QRect(4, 4, 273, 29));
    QVERIFY(panel->font().bold());
    QVERIFY(panel->font().italic());
    QCOMPARE(panel->palette().color(QPalette::WindowText), QColor(Qt::red));
    QCOMPARE(panel->palette().color(QPalette::Window), QColor(76, 76, 76));
    QCOMPARE(panel->text(), QString::fromUtf8("実行準備中．．．．"));
    // The buttons lie outside the strip.
    for (const char* name : {"SpeedButton1", "SpeedButton2", "SpeedButton3"}) {
      auto* button = form.findChild<QToolButton*>(name);
      QVERIFY(button);
      QVERIFY(button->geometry().top() >= 35);
    }
  }

  void viewTextsAreShownInUnicode() {
    TForm1 form;
    form.setCaption(sj("Postiva　（Ver1.2.0.3）"));
    form.setStatus(sj("送信完了...3件"));
    form.setCountText(sj("3 件です。"));
    form.setJob("mail");
    QCOMPARE(form.windowTitle(), QString::fromUtf8("Postiva　（Ver1.2.0.3）"));
    QCOMPARE(form.findChild<QLabel*>("Panel3")->text(), QString::fromUtf8("送信完了...3件"));
    QCOMPARE(form.findChild<QLabel*>("Label2")->text(), QString::fromUtf8("3 件です。"));
    QCOMPARE(form.findChild<QLabel*>("job")->text(), QString("mail"));
  }

  void setBusyLocksTheSendButtonsAndShowsThePanel() {
    TForm1 form;
    form.show();
    auto* send = form.findChild<QToolButton*>("SpeedButton1");
    auto* test = form.findChild<QToolButton*>("SpeedButton2");
    auto* abort = form.findChild<QToolButton*>("SpeedButton3");
    auto* panel = form.findChild<QLabel*>("Panel3");
    form.SetBusy(true);
    QVERIFY(!send->isEnabled());
    QVERIFY(!test->isEnabled());
    QVERIFY(abort->isEnabled());
    QVERIFY(panel->isVisible());
    form.SetBusy(false);
    QVERIFY(send->isEnabled());
    QVERIFY(test->isEnabled());
    QVERIFY(!panel->isVisible());
  }

  void buttonsRunTheirOperationsAndTheMessageBoxHasAHook() {
    TForm1 form;
    QStringList calls;
    form.onSend = [&] { calls << "send"; };
    form.onTestSend = [&] { calls << "test"; };
    form.onAbort = [&] { calls << "abort"; };
    form.findChild<QToolButton*>("SpeedButton2")->click();
    form.findChild<QToolButton*>("SpeedButton3")->click();
    form.findChild<QToolButton*>("SpeedButton1")->click();
    QCOMPARE(calls, QStringList({"test", "abort", "send"}));
    QCOMPARE(form.findChild<QToolButton*>("SpeedButton3")->text(), QString::fromUtf8("中　　断"));

    QString shown;
    form.messageBoxHook = [&](const QString& text, const QString& caption) {
      shown = caption + ":" + text;
    };
    form.showMessage(sj("宛先が設定されていません。"), sj("メール同報システム"));
    QCOMPARE(shown, QString::fromUtf8("メール同報システム:宛先が設定されていません。"));
  }
};

QTEST_MAIN(TForm1Test)
#include "tform1_test.moc"
