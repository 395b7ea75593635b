// The capture as a user drives it: rows picked in the grid, the button
// pressed, the message boxes it answers.

#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include "capture_failure_text.h"
#include "monitor/ui/main_window.h"
#include "platform/bytes.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/ini_file.h"
#include "support/window_rig.h"

using namespace orvis;
using namespace orvis::ui;
using orvis::testing::readText;
using orvis::testing::writeText;

class CaptureWindowTest : public QObject {
  Q_OBJECT

  struct Window : orvis::testing::WindowServices {
    // URL jobs 1..count; the fetch of a URI listed in `empty` writes nothing.
    explicit Window(int count) {
      for (int n = 1; n <= count; ++n) {
        const std::string no = std::to_string(n);
        writeText(dir.path() + "info/" + no + ".ini",
                  "[COMMON]\r\nNO=" + no + "\r\nURI=http://example.com/" + no + "\r\nTYPE=URL\r\n");
      }
      launcher.onRun = [this](const orvis::testing::FakeLauncher::Launch& l) {
        const std::string uri = platform::splitCommandLine(l.commandLine).at(1);
        fetched.push_back(QString::fromStdString(uri));
        during.push_back(find("Panel1")->isVisible() && !captureButton()->isEnabled());
        busyText.push_back(find<QLabel>("panelMsg")->text());
        bool fails = std::find(empty.begin(), empty.end(), uri) != empty.end();
        writeText(dir.path() + "temp/srctemp.txt", fails ? "" : "page of " + uri);
      };
      form = makeWindow();
      form->show();
    }
    ~Window() { prompter.setNextAnswers({mb::IdOk}); }

    template <typename T = QWidget>
    T* find(const char* name) {
      return form->findChild<T*>(name);
    }
    QTableWidget* grid() { return find<QTableWidget>("sg1"); }
    QToolButton* captureButton() { return find<QToolButton>("SpeedButton12"); }
    // A user's click on a job row (1 is the first job).
    void clickRow(int row) {
      QTableWidget* g = grid();
      QRect cell = g->visualItemRect(g->item(row - 1, 0));
      QTest::mouseClick(g->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    }
    void ctrlClickRow(int row) {
      QTableWidget* g = grid();
      QRect cell = g->visualItemRect(g->item(row - 1, 0));
      QTest::mouseClick(g->viewport(), Qt::LeftButton, Qt::ControlModifier, cell.center());
    }
    void selectRows(int first, int last) {
      grid()->setRangeSelected(QTableWidgetSelectionRange(first - 1, 0, last - 1, 11), true);
    }
    // Presses the button; any message box is answered OK and recorded.
    void capture(QToolButton* button) {
      prompter.clearShown();
      prompter.setNextAnswers({mb::IdOk, mb::IdOk, mb::IdOk});
      if (button->isVisible())
        QTest::mouseClick(button, Qt::LeftButton);
      else
        button->click();
      prompter.setNextAnswers({});
    }
    QStringList messages() {
      QStringList out;
      for (const auto& box : prompter.shown()) out << box.text;
      return out;
    }
    std::string source(int n) {
      auto doc = platform::loadIniFile(dir.path() + "info/" + std::to_string(n) + ".ini");
      return doc ? doc->get("COMMON", "SOURCE").value_or("<none>") : "<no file>";
    }
    std::string file(const std::string& rel) { return readText(dir.path() + rel); }

    std::unique_ptr<MainWindow> form;
    std::vector<std::string> empty;
    QStringList fetched, busyText;
    std::vector<bool> during;
  };

  static QString failure(const QString& no) {
    return "№" + no + QString::fromUtf8(kCaptureFailureTail);
  }

 private slots:
  void rowsTwoToFourInOrderWithRowThreeClicked() {
    Window w(5);
    w.clickRow(3);
    w.selectRows(2, 4);
    w.capture(w.captureButton());
    QCOMPARE(w.fetched,
             (QStringList{"http://example.com/2", "http://example.com/3", "http://example.com/4"}));
    QCOMPARE(w.busyText, (QStringList{"№2のサーバーと通信中・・", "№3のサーバーと通信中・・",
                                      "№4のサーバーと通信中・・"}));
    QVERIFY(std::all_of(w.during.begin(), w.during.end(), [](bool b) { return b; }));
    for (int n : {2, 3, 4}) {
      QCOMPARE(w.file("src/" + std::to_string(n) + ".ini"),
               "page of http://example.com/" + std::to_string(n));
      QCOMPARE(w.source(n), std::string("1"));
      QCOMPARE(w.grid()->item(n - 1, 8)->text(), QStringLiteral("1"));
    }
    QVERIFY(!platform::pathExists(w.dir.path() + "src/1.ini"));
    QVERIFY(!platform::pathExists(w.dir.path() + "src/5.ini"));
    QVERIFY(w.messages().isEmpty());
    QVERIFY(w.find("Panel1")->isHidden());
    QVERIFY(w.captureButton()->isEnabled());
    QVERIFY(w.grid()->isEnabled());
  }

  void emptyPageGivesSourceZeroAndTheMessageNamingTheJob() {
    Window w(2);
    w.empty = {"http://example.com/2"};
    w.clickRow(2);
    w.capture(w.captureButton());
    QCOMPARE(w.source(2), std::string("0"));
    QVERIFY(!platform::pathExists(w.dir.path() + "src/2.ini"));
    QCOMPARE(w.messages(), QStringList{failure("2")});
    QCOMPARE(w.prompter.shown()[0].caption, QStringLiteral("OrvisWatch"));
    QCOMPARE(w.prompter.shown()[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(w.grid()->item(1, 8)->text(), QStringLiteral("-"));
  }

  void twoFailedJobsNameOnlyTheFirst() {
    Window w(4);
    w.empty = {"http://example.com/2", "http://example.com/4"};
    w.clickRow(1);
    w.selectRows(1, 4);
    w.capture(w.captureButton());
    QCOMPARE(w.fetched.size(), 4);
    QCOMPARE(w.messages(), QStringList{failure("2")});
    QCOMPARE(w.source(1), std::string("1"));
    QCOMPARE(w.source(4), std::string("0"));
  }

  void generationsShiftWhenTheCaptureFollowsACheck() {
    Window w(1);
    writeText(w.dir.path() + "src/1.ini", "baseline of the last check");
    writeText(w.dir.path() + "src/1.ini.1", "generation 1");
    writeText(w.dir.path() + "src/1.ini.2", "generation 2");
    w.clickRow(1);
    // The hidden "全ソース取得" does the same.
    w.capture(w.find<QToolButton>("SpeedButton5"));
    QCOMPARE(w.file("src/1.ini"), std::string("page of http://example.com/1"));
    QCOMPARE(w.file("src/1.ini.1"), std::string("generation 1"));
    QCOMPARE(w.file("src/1.ini.2"), std::string("generation 1"));
    QCOMPARE(w.file("src/1.ini.3"), std::string("generation 2"));
    QVERIFY(!platform::pathExists(w.dir.path() + "src/1.ini.4"));
    QVERIFY(w.messages().isEmpty());
  }

  void theGridSelectsOneBlockWithTheFirstRowCurrentAtStart() {
    Window w(3);
    // Nothing clicked yet: the first row is current, so the user is asked
    // to click a target.
    w.capture(w.captureButton());
    QCOMPARE(w.messages(),
             QStringList{QStringLiteral(
                 "リスト上で対象をクリックし単独選択するか、複数選択してください。")});
    // A Ctrl+click makes no gap: the rows between are never acted on.
    w.clickRow(1);
    w.ctrlClickRow(3);
    QCOMPARE(w.grid()->selectedRanges().size(), 1);
    w.capture(w.captureButton());
    QVERIFY(!w.fetched.contains("http://example.com/2"));
    QVERIFY(!platform::pathExists(w.dir.path() + "src/2.ini"));
    QCOMPARE(w.source(2), std::string("<none>"));
  }

  void invalidSelectionAndNothingClicked() {
    Window w(2);
    w.grid()->clearSelection();
    w.capture(w.captureButton());
    QCOMPARE(w.messages(), QStringList{QStringLiteral("選択領域が異常です。")});
    w.selectRows(1, 2);
    w.capture(w.captureButton());
    QCOMPARE(w.messages(),
             QStringList{QStringLiteral(
                 "リスト上で対象をクリックし単独選択するか、複数選択してください。")});
    QVERIFY(w.fetched.isEmpty());
    QVERIFY(w.captureButton()->isEnabled());
  }
};

QTEST_MAIN(CaptureWindowTest)
#include "capture_window_test.moc"
