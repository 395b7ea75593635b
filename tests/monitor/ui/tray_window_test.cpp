// The icon, the background and the reactivation on the real main window,
// offscreen: a desktop without a notification area.

#include <QSystemTrayIcon>
#include <QTest>
#include <QToolButton>

#include "monitor/ui/main_window.h"
#include "platform/codec.h"
#include "support/window_rig.h"

using namespace orvis;
using orvis::testing::readText;
using orvis::testing::writeText;

class TrayWindowTest : public QObject {
  Q_OBJECT

  using Window = orvis::testing::WindowRig;

  static int count(const QString& text, const char* line) {
    return static_cast<int>(text.count(QStringLiteral("(OrvisWatch),") + QString::fromUtf8(line) +
                                       QStringLiteral("\n")));
  }

 private slots:
  // No notification area: the add is refused with the reason, and the
  // background minimises the window, which its restore brings back.
  void withoutATrayTheWindowIsMinimisedAndComesBack() {
    Window w;
    w.form.show();
    QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());
    QCOMPARE(
        count(w.logText(), "NEW ORVIS Monitor,SetIcon()ERROR=デスクトップに通知領域がありません"),
        1);
    QTest::mouseClick(w.find<QToolButton>("SpeedButton18"), Qt::LeftButton);
    QVERIFY(w.form.isVisible());
    QVERIFY(w.form.isMinimized());
    QCOMPARE(readText(w.dir / "Mode.tmp"), std::string("[COMMON]\r\nMODE=2\r\n"));
    QCOMPARE(count(w.logText(), "通知領域が使用できないため、ウィンドウを隠さずに最小化しました。"),
             1);
    w.form.showNormal();  // from the task bar
    QCOMPARE(count(w.logText(), "バックグラウンドから復帰しました。"), 1);
    QCOMPARE(readText(w.dir / "Mode.tmp"), std::string("[COMMON]\r\nMODE=0\r\n"));
    w.form.showNormal();  // a restore of a window we did not minimise
    QCOMPARE(count(w.logText(), "バックグラウンドから復帰しました。"), 1);
  }

  void iconClicksReachTheLogicAsButtonUps() {
    using R = QSystemTrayIcon::ActivationReason;
    // A double click comes as a click, then the double click.
    const std::pair<std::vector<R>, int> cases[] = {
        {{R::Trigger}, 1},     {{R::Context}, 1}, {{R::Trigger, R::DoubleClick}, 2},
        {{R::MiddleClick}, 0}, {{R::Unknown}, 0},
    };
    for (const auto& [reasons, returns] : cases) {
      Window w;
      w.form.show();
      for (R reason : reasons) w.form.trayIcon().activate(reason);
      QCOMPARE(count(w.logText(), "バックグラウンドから復帰しました。"), returns);
    }
  }

  void testButtonStartsTheRestartAndTheCloseNoLongerAsks() {
    orvis::testing::WindowServices s;
    writeText(s.dir / "Reactivation", "");
    auto form = s.makeWindow();
    form->show();
    s.prompter.setNextAnswers({mb::IdOk});
    QTest::mouseClick(form->findChild<QToolButton*>("SpeedButton15"), Qt::LeftButton);
    QCOMPARE(s.launcher.launches.size(), size_t(1));
    QCOMPARE(s.prompter.shown().size(), size_t(1));
    QCOMPARE(s.prompter.shown()[0].text,
             QStringLiteral("再起動テストを行います。よろしいですか？"));
    QTest::mouseClick(form->findChild<QToolButton*>("SpeedButton6"), Qt::LeftButton);
    QCOMPARE(s.stops, 1);
    QCOMPARE(s.prompter.shown().size(), size_t(1));
  }

  // The service start's reactivation ends the event loop as it stands: no
  // stop sequence, and nothing written after its line.
  void serviceStartEndsWithoutTheStopSequence() {
    orvis::testing::WindowServices s;
    writeText(s.dir / "ORVIS.ini", "[COMMON]\r\nREACTIVATION=02:00\r\n");
    s.clock.set({2026, 12, 7, 1, 0, 0, 0});
    auto form = s.makeWindow({"OrvisWatchService"});
    form->show();
    form->monitor().timers().startup.fire();
    s.clock.set({2026, 12, 8, 2, 0, 5, 0});
    form->monitor().timers().reactivation.fire();
    QCOMPARE(s.stops, 1);
    QVERIFY(form->stopped());
    QVERIFY2(s.logText().endsWith(
                 QStringLiteral("(OrvisWatch),* ReActivate wait for Service Reactivate*\n")),
             qPrintable(s.logText()));
    form->close();
    QCoreApplication::processEvents();
    QCOMPARE(s.stops, 1);
    QVERIFY(!s.logText().contains(QStringLiteral("終了")));
  }
};

QTEST_MAIN(TrayWindowTest)
#include "tray_window_test.moc"
