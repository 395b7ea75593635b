// The icon and the background on the real main window, offscreen: a
// desktop without a notification area.

#include <QSystemTrayIcon>
#include <QTest>
#include <QToolButton>

#include "monitor/ui/main_window.h"
#include "support/window_rig.h"

using namespace orvis;
using orvis::testing::readText;

class TrayWindowTest : public QObject {
  Q_OBJECT

  static int count(const QString& log, const char* line) {
    return static_cast<int>(log.count("(OrvisWatch)," + QString::fromUtf8(line) + "\n"));
  }

 private slots:
  // The add is refused with the reason; the background minimises the
  // window, its restore from the task bar returns, and a click on the icon
  // (a double click: a click, then the double click) returns each time.
  void withoutATrayTheWindowIsMinimisedAndComesBack() {
    orvis::testing::WindowRig w;
    w.form.show();
    QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());
    QCOMPARE(
        count(w.logText(), "NEW ORVIS Monitor,SetIcon()ERROR=デスクトップに通知領域がありません"),
        1);
    QTest::mouseClick(w.find<QToolButton>("SpeedButton18"), Qt::LeftButton);
    QVERIFY(w.form.isVisible() && w.form.isMinimized());
    QCOMPARE(count(w.logText(), "通知領域が使用できないため、ウィンドウを隠さずに最小化しました。"),
             1);
    w.form.showNormal();
    QCOMPARE(count(w.logText(), "バックグラウンドから復帰しました。"), 1);
    QCOMPARE(readText(w.dir / "Mode.tmp"), std::string("[COMMON]\r\nMODE=0\r\n"));
    w.form.showNormal();  // not minimised by the background: nothing
    for (auto reason : {QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick,
                        QSystemTrayIcon::Context, QSystemTrayIcon::MiddleClick})
      w.form.trayIcon().activate(reason);
    QCOMPARE(count(w.logText(), "バックグラウンドから復帰しました。"), 4);
  }
};

QTEST_MAIN(TrayWindowTest)
#include "tray_window_test.moc"
