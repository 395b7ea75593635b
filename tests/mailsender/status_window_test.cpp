// Postiva's status strip: placement, look, and what setBusy changes.

#include "mailsender/window/status_window.h"

#include <QLabel>
#include <QTest>
#include <QToolButton>

#include "platform/codec.h"

using orvis::postiva::StatusWindow;

namespace {
std::string sj(const char* utf8) { return orvis::platform::toCp932(utf8); }
}  // namespace

class StatusWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void stripIsABorderlessBarAtTheTopLeft() {
    StatusWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.geometry(), QRect(0, 0, 290, 35));
    QVERIFY(window.windowFlags() & Qt::FramelessWindowHint);
    auto* panel = window.findChild<QLabel*>("Panel3");
    QVERIFY(panel);
    QCOMPARE(panel->geometry(), QRect(4, 4, 273, 29));
    QVERIFY(panel->font().bold());
    QVERIFY(panel->font().italic());
    QCOMPARE(panel->palette().color(QPalette::WindowText), QColor(Qt::red));
    QCOMPARE(panel->palette().color(QPalette::Window), QColor(76, 76, 76));
    QCOMPARE(panel->text(), QString::fromUtf8("実行準備中．．．．"));
    // The buttons lie outside the strip.
    for (const char* name : {"SpeedButton1", "SpeedButton2", "SpeedButton3"}) {
      auto* button = window.findChild<QToolButton*>(name);
      QVERIFY(button);
      QVERIFY(button->geometry().top() >= 35);
    }
  }

  void viewTextsAreShownInUnicode() {
    StatusWindow window;
    window.setCaption(sj("Postiva　（Ver1.2.0.3）"));
    window.setStatus(sj("送信完了...3件"));
    window.setCountText(sj("3 件です。"));
    window.setWorkFolderName("mail");
    QCOMPARE(window.windowTitle(), QString::fromUtf8("Postiva　（Ver1.2.0.3）"));
    QCOMPARE(window.findChild<QLabel*>("Panel3")->text(), QString::fromUtf8("送信完了...3件"));
    QCOMPARE(window.findChild<QLabel*>("Label2")->text(), QString::fromUtf8("3 件です。"));
    QCOMPARE(window.findChild<QLabel*>("job")->text(), QString("mail"));
  }

  void setBusyLocksTheSendButtonsAndShowsThePanel() {
    StatusWindow window;
    window.show();
    auto* send = window.findChild<QToolButton*>("SpeedButton1");
    auto* test = window.findChild<QToolButton*>("SpeedButton2");
    auto* abort = window.findChild<QToolButton*>("SpeedButton3");
    auto* panel = window.findChild<QLabel*>("Panel3");
    window.setBusy(true);
    QVERIFY(!send->isEnabled());
    QVERIFY(!test->isEnabled());
    QVERIFY(abort->isEnabled());
    QVERIFY(panel->isVisible());
    window.setBusy(false);
    QVERIFY(send->isEnabled());
    QVERIFY(test->isEnabled());
    QVERIFY(!panel->isVisible());
  }

  void buttonsRunTheirOperationsAndTheMessageBoxHasAHook() {
    StatusWindow window;
    QStringList calls;
    window.onSend = [&] { calls << "send"; };
    window.onTestSend = [&] { calls << "test"; };
    window.onAbort = [&] { calls << "abort"; };
    window.findChild<QToolButton*>("SpeedButton2")->click();
    window.findChild<QToolButton*>("SpeedButton3")->click();
    window.findChild<QToolButton*>("SpeedButton1")->click();
    QCOMPARE(calls, QStringList({"test", "abort", "send"}));
    QCOMPARE(window.findChild<QToolButton*>("SpeedButton3")->text(), QString::fromUtf8("中　　断"));

    QString shown;
    window.messageBoxHook = [&](const QString& text, const QString& caption) {
      shown = caption + ":" + text;
    };
    window.showMessage(sj("宛先が設定されていません。"), sj("メール同報システム"));
    QCOMPARE(shown, QString::fromUtf8("メール同報システム:宛先が設定されていません。"));
  }
};

QTEST_MAIN(StatusWindowTest)
#include "status_window_test.moc"
