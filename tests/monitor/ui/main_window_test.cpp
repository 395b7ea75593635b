// The main window as a user sees it: names, captions, the status bar, the
// mode label, the busy panel and the close question.

#include "monitor/ui/main_window.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "platform/codec.h"
#include "platform/files.h"
#include "support/window_rig.h"

using namespace orvis;
using namespace orvis::ui;
using orvis::testing::FakeClock;
using orvis::testing::TempDir;

class MainWindowTest : public QObject {
  Q_OBJECT

  using Window = orvis::testing::WindowRig;

 private slots:
  void captionsNamesAndStatusPanels() {
    Window w;
    w.form.show();
    QCOMPARE(w.form.windowTitle(), QStringLiteral("NEW ORVIS Monitor"));
    QCOMPARE(w.form.size(), QSize(1017, 703));
    const std::pair<const char*, const char*> buttons[] = {
        {"SpeedButton10", "自動チェック開始"},
        {"SpeedButton14", "自動チェック停止"},
        {"SpeedButton13", "手動チェック"},
        {"SpeedButton12", "比較元ソース取得"},
        {"SpeedButton18", "ﾊﾞｯｸｸﾞﾗｳﾝﾄﾞへ"},
        {"SpeedButton15", "ReActivationﾃｽﾄ"},
        {"SpeedButton16", "ﾒｰﾙﾃｽﾄ"},
        {"SpeedButton20", "警告音確認"},
        {"SpeedButton21", "警告音停止"},
        {"SpeedButton50", "設定"},
        {"SpeedButton6", "Close"},
        {"SpeedButton8", "追加・更新"},
        {"SpeedButton2", "削除"},
        {"SpeedButton17", "URIを画面でチェック"},
    };
    for (auto [name, caption] : buttons) {
      auto* b = w.find<QToolButton>(name);
      QVERIFY2(b, name);
      QCOMPARE(b->text(), QString::fromUtf8(caption));
      QVERIFY2(b->isVisible(), name);
    }
    for (const char* hidden :
         {"SpeedButton1", "SpeedButton3", "SpeedButton4", "SpeedButton5", "SpeedButton7"}) {
      auto* b = w.find<QToolButton>(hidden);
      QVERIFY2(b && !b->isVisible(), hidden);
    }
    QVERIFY(!w.find<QToolButton>("SpeedButton14")->isEnabled());
    QCOMPARE(w.find<QLabel>("StatusPanel1")->text(), QStringLiteral("2.6.0"));
    QCOMPARE(w.find<QLabel>("StatusPanel0")->width(), 400);
    QCOMPARE(w.find<QLabel>("StatusPanel1")->width(), 300);
    QCOMPARE(w.find<QLabel>("StatusPanel2")->width(), 50);
    QCOMPARE(w.find<QLineEdit>("Edit3")->text(), QStringLiteral("60"));
    QVERIFY(w.find<QLineEdit>("Edit3")->isReadOnly());
    QCOMPARE(w.find<QProgressBar>("Gauge1")->toolTip(), QStringLiteral("ハードディスク使用量"));
    QVERIFY(w.find<QProgressBar>("Gauge1")->maximum() > 0);
    for (const char* section : {"チェック周期", "チェック対象", "動作設定"}) {
      bool found = false;
      for (auto* g : w.form.findChildren<QGroupBox*>())
        found = found || g->title() == QString::fromUtf8(section);
      QVERIFY2(found, section);
    }
    QCOMPARE(w.find<QLabel>("lblJobList")->text(), QStringLiteral("チェック対象ジョブリスト"));
    // Every input field can be found by its caption.
    for (const char* field : {"Edit1", "Edit2", "Edit4", "Edit3", "txtWord", "txtUserMailSubject",
                              "txtUserMailBody", "cmbMailGroup"}) {
      QWidget* target = w.find(field);
      bool hasBuddy = false;
      for (auto* l : w.form.findChildren<QLabel*>()) hasBuddy = hasBuddy || l->buddy() == target;
      QVERIFY2(hasBuddy, field);
    }
    // The grid's header row.
    auto* grid = w.find<QTableWidget>("sg1");
    QCOMPARE(grid->columnCount(), 12);
    QCOMPARE(grid->horizontalHeaderItem(6)->text(), QStringLiteral("チェック対象"));
    QCOMPARE(grid->columnWidth(6), 365);
    QCOMPARE(grid->verticalHeader()->defaultSectionSize(), 16);
  }

  void modeLabelFollowsTheMode() {
    Window w;
    w.form.show();
    auto* label = w.find<QLabel>("Label10");
    QCOMPARE(label->text(), QStringLiteral("編集・手動モード"));
    QVERIFY(label->styleSheet().contains("rgb(0,0,255)"));
    QTest::mouseClick(w.find<QToolButton>("SpeedButton10"), Qt::LeftButton);
    QCOMPARE(label->text(), QStringLiteral("自動チェックモード"));
    QVERIFY(label->styleSheet().contains("rgb(255,0,0)"));
    QVERIFY(!w.find<QToolButton>("SpeedButton10")->isEnabled());
    QVERIFY(w.find<QToolButton>("SpeedButton14")->isEnabled());
    for (const char* locked : {"SpeedButton2", "SpeedButton8", "SpeedButton12", "SpeedButton13",
                               "SpeedButton15", "SpeedButton16", "SpeedButton17", "SpeedButton20",
                               "SpeedButton21", "SpeedButton50", "Edit1", "Edit2", "Edit4"})
      QVERIFY2(!w.find(locked)->isEnabled(), locked);
    QVERIFY(w.find("SpeedButton18")->isEnabled());
    QVERIFY(w.find<QLabel>("StatusPanel0")->text().endsWith(QStringLiteral(" に起動しました。")));
    QTest::mouseClick(w.find<QToolButton>("SpeedButton14"), Qt::LeftButton);
    QCOMPARE(label->text(), QStringLiteral("編集・手動モード"));
    QVERIFY(w.find("Edit1")->isEnabled());
    QCOMPARE(w.find<QLabel>("StatusPanel0")->text(), QString());
  }

  void busyPanelLocksAndUnlocks() {
    Window w;
    w.form.show();
    auto* panel = w.find("Panel1");
    QVERIFY(panel->isHidden());
    w.form.setBusyMessage(platform::toCp932("情報更新中です。お待ちください・・"));
    w.form.showBusyPanel();
    QVERIFY(panel->isVisible());
    QCOMPARE(panel->pos(), QPoint(352, 260));
    QVERIFY(w.find<CopyAnimation>("Animate1")->running());
    for (const char* locked :
         {"SpeedButton2", "SpeedButton6", "SpeedButton8", "SpeedButton1", "SpeedButton3",
          "SpeedButton4", "SpeedButton5", "SpeedButton7", "sg1"})
      QVERIFY2(!w.find(locked)->isEnabled(), locked);
    QVERIFY(w.find("SpeedButton10")->isEnabled());
    w.form.hideBusyPanel();
    QVERIFY(panel->isHidden());
    QVERIFY(!w.find<CopyAnimation>("Animate1")->running());
    for (const char* unlocked : {"SpeedButton2", "SpeedButton6", "SpeedButton8", "sg1"})
      QVERIFY2(w.find(unlocked)->isEnabled(), unlocked);
    QCOMPARE(w.find<QLabel>("panelMsg")->text(),
             QStringLiteral("情報更新中です。お待ちください・・"));
    // Hidden with the window, the panel still counts by its own flag.
    w.form.showBusyPanel();
    w.form.hide();
    QVERIFY(w.form.busyPanelVisible());
  }

  void closeQuestionCancelKeepsRunningOkStops() {
    Window w;
    w.form.show();
    w.prompter.setNextAnswers({mb::IdCancel});
    QTest::mouseClick(w.find<QToolButton>("SpeedButton6"), Qt::LeftButton);
    QVERIFY(w.form.isVisible());
    QCOMPARE(w.stops, 0);
    QCOMPARE(w.prompter.shown().size(), size_t(1));
    const auto& box = w.prompter.shown()[0];
    QCOMPARE(box.text, QStringLiteral(
                           "チェックアプリケーションが全て終了します。終了してもよろしいですか？"));
    QCOMPARE(box.caption, QStringLiteral("OrvisWatch"));
    QCOMPARE(box.buttons, QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(box.defaultButton, QMessageBox::Cancel);
    w.prompter.setNextAnswers({mb::IdOk});
    QTest::mouseClick(w.find<QToolButton>("SpeedButton6"), Qt::LeftButton);
    QVERIFY(!w.form.isVisible());
    QCOMPARE(w.stops, 1);
    QVERIFY(w.logText().endsWith(QStringLiteral("終了\n")));
  }

  void shutdownRequestClosesWithoutAsking() {
    Window w;
    w.form.show();
    w.form.shutdownRequested();
    QCOMPARE(w.stops, 1);
    QVERIFY(w.prompter.shown().empty());
    QVERIFY(w.logText().contains(QStringLiteral("Shutdown要求取得")));
  }

  // A termination request while an action sits in a nested loop (a question
  // on screen, a capture waiting for its fetcher): the action gives up, the
  // stop sequence runs once it has returned, and "終了" is the last thing
  // written.
  void terminationInsideAQuestionOrAWaitEndsInOrder() {
    enum Where { Question, CloseQuestion, Wait, SessionQuit };
    for (Where where : {Question, CloseQuestion, Wait, SessionQuit}) {
      orvis::testing::WindowServices s;
      const std::string jobFile = s.dir.path() + "info/1.ini";
      const std::string job = "[COMMON]\r\nNO=1\r\nURI=http://example.com/\r\nTYPE=URL\r\n";
      orvis::testing::writeText(jobFile, job);
      s.prompter.setAnswerWithDefaults(false);  // the boxes really open
      s.launcher.waitsBeforeEnd = 1 << 30;
      auto form = s.makeWindow();
      form->show();
      QString unanswered;
      if (where == Wait) {
        s.launcher.onWait = [&] {
          if (s.launcher.waits == 3) form->shutdownRequested();
        };
        auto* grid = form->findChild<QTableWidget*>("sg1");
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualItemRect(grid->item(0, 0)).center());
        QTest::mouseClick(form->findChild<QToolButton*>("SpeedButton12"), Qt::LeftButton);
        QCOMPARE(s.launcher.waits, 3);
        QCOMPARE(s.launcher.terminations, 1);  // the fetcher's page is of no use now
      } else {
        QTimer::singleShot(0, form.get(), [&] {
          if (where != SessionQuit) return form->shutdownRequested();
          QEvent quit(QEvent::Quit);  // what quit() sends
          QCoreApplication::sendEvent(qApp, &quit);
        });
        if (where != CloseQuestion) {
          // Refused with a box: the job has no baseline.
          QTest::mouseClick(form->findChild<QToolButton*>("SpeedButton10"), Qt::LeftButton);
          unanswered = "№1の比較元ソースが取得できていません。ソース取得を行ってください。->0\n";
        } else {
          form->close();  // the window's own close button
          unanswered = "チェックアプリケーションが全て終了します。終了してもよろしいですか？->0\n";
        }
        QVERIFY2(s.logText().contains(unanswered), qPrintable(s.logText()));
      }
      QCOMPARE(s.stops, 1);
      QVERIFY2(s.logText().endsWith(
                   QStringLiteral("(OrvisWatch),Global,<-有効ファイル数\n(OrvisWatch),終了\n")),
               qPrintable(s.logText()));
      QCOMPARE(orvis::testing::readText(jobFile), job);
      QVERIFY(!platform::pathExists(s.dir.path() + "Mode.tmp"));
      // A second request, and the event loop, change nothing any more.
      form->shutdownRequested();
      QCoreApplication::processEvents();
      QCOMPARE(s.stops, 1);
    }
  }

  void anUnhandledErrorEndsTheActionAndTheWindowStays() {
    Window w;
    w.form.show();
    w.form.runGuarded([] { throw std::runtime_error("disk full"); });
    QCOMPARE(w.prompter.shown().size(), size_t(1));
    QCOMPARE(w.prompter.shown()[0].text, QStringLiteral("disk full"));
    QCOMPARE(w.prompter.shown()[0].icon, QMessageBox::Critical);
    QVERIFY(w.form.isVisible());
    QVERIFY(w.logText().contains(QStringLiteral("disk full->1")));
    // The next action works as before.
    QTest::mouseClick(w.find<QToolButton>("SpeedButton10"), Qt::LeftButton);
    QCOMPARE(w.find<QLabel>("Label10")->text(), QStringLiteral("自動チェックモード"));
  }

  void messageBoxFlagsMapToButtons() {
    auto box = QtPrompter::buildBox(nullptr, "t", "c", 48);
    QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(box->icon(), QMessageBox::Warning);
    box = QtPrompter::buildBox(nullptr, "t", "c", 305);
    QCOMPARE(box->standardButtons(), QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(box->standardButton(box->defaultButton()), QMessageBox::Cancel);
    QCOMPARE(box->icon(), QMessageBox::Warning);
    box = QtPrompter::buildBox(nullptr, "t", "c", 1);
    QCOMPARE(box->standardButton(box->defaultButton()), QMessageBox::Ok);
    QCOMPARE(box->icon(), QMessageBox::NoIcon);
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
