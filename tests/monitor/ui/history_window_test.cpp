// The history window as an operator uses it: opened from the grid's menu
// and the job editor's button, the last change of a page with what its
// check passes over in grey and the first difference marked, other entries
// chosen, a disk's readings as a chart; the grid's clicks unchanged, and no
// file touched.

#include "monitor/ui/history_window.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <map>

#include "support/window_rig.h"

using namespace orvis;
using namespace orvis::ui;

namespace {

// Every file of the data folder with its size and last write.
std::map<std::string, std::pair<std::uintmax_t, std::int64_t>> files(const std::string& folder) {
  std::map<std::string, std::pair<std::uintmax_t, std::int64_t>> all;
  for (const auto& e : std::filesystem::recursive_directory_iterator(folder))
    if (e.is_regular_file())
      all[e.path().string()] = {e.file_size(), e.last_write_time().time_since_epoch().count()};
  return all;
}

QPoint centreOf(QTableWidget* grid, int row) {
  return grid->visualRect(grid->model()->index(row - 1, 1)).center();
}

void clickRow(QTableWidget* grid, int row) {
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centreOf(grid, row));
}

// As X11 delivers a right click: the menu is asked for between the press
// and the release.
void rightClickRow(QTableWidget* grid, int row) {
  const QPoint at = centreOf(grid, row);
  QTest::mousePress(grid->viewport(), Qt::RightButton, {}, at);
  QContextMenuEvent menu(QContextMenuEvent::Mouse, at, grid->viewport()->mapToGlobal(at));
  QApplication::sendEvent(grid->viewport(), &menu);
  QTest::mouseRelease(grid->viewport(), Qt::RightButton, {}, at);
}

}  // namespace

class HistoryWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void lastChangeOfAPageThenAnotherPairThenADisk() {
    orvis::testing::WindowServices w;
    // The rig's folder is the window's data folder.
    auto job = [&w](const char* no, const char* type, const char* uri, const char* keys) {
      orvis::testing::writeText(w.dir / (std::string("info/") + no + ".ini"),
                                std::string("[COMMON]\r\nNO=") + no + "\r\nURI=" + uri +
                                    "\r\nNAME=n" + no + "\r\nTYPE=" + type + "\r\nMAILGROUP=0\r\n" +
                                    keys);
    };
    job("1", "URL", "http://x/", "CHKKOBETSU=1\r\nCHKHIKAKU=1\r\nCHKSCRIPT=1\r\n");
    job("2", "DRIVE", "/:10", "");
    const std::vector<std::string> pages = {
        "<p>a</p>\r\n<script>x=22</script>\r\n<p>same</p>\r\n<p>c</p>\r\n",
        "<p>a</p>\r\n<script>x=1</script>\r\n<p>same</p>\r\n<p>b</p>\r\n", "<p>a</p>\r\n"};
    for (std::size_t k = 0; k < pages.size(); ++k)
      orvis::testing::writeText(
          w.dir / ("src/1.ini" + (k ? "." + std::to_string(k) : std::string())), pages[k]);
    for (auto [drive, free] :
         {std::pair{"src/2.ini", "9800"}, {"src/2.ini.1", "12000"}, {"src/2.ini.2", "9900"}})
      orvis::testing::writeText(w.dir / drive, std::string(free) + "\r\n");
    auto form = w.makeWindow();
    form->show();
    const auto before = files(w.dir.path());
    auto* grid = form->findChild<QTableWidget*>("sg1");
    QCOMPARE(grid->rowCount(), 2);

    // A right click selects the job as it always did (and loads nothing
    // into the editor), then offers the history.
    QTimer::singleShot(0, [] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      QVERIFY(menu);
      menu->findChild<QAction*>("actHistory")->trigger();
      menu->close();
    });
    rightClickRow(grid, 1);
    QCOMPARE(form->findChild<QLineEdit*>("Edit1")->text(), QString());
    HistoryWindow* history = form->historyWindow();
    QVERIFY(history && history->isVisible());
    QTRY_VERIFY(!history->busy());
    QCOMPARE(history->windowTitle(), QStringLiteral("履歴 - №1 n1"));
    QCOMPARE(history->entryTable->rowCount(), 3);
    QCOMPARE(history->olderChoice->currentData().toInt(), 1);
    QCOMPARE(history->newerChoice->currentData().toInt(), 0);

    // Side by side: the script is grey, the first difference (b against c)
    // is marked on both sides.
    PageRowsModel* rows = history->pageView->sideBySideRows;
    QCOMPARE(rows->rowCount(), 4);
    const ShownLine* script = rows->shown(rows->index(1, 1));
    QVERIFY(script && script->skipped.size() == 1);
    QCOMPARE(script->text.mid(script->skipped[0].first, script->skipped[0].second),
             QStringLiteral("<script>x=1</script"));
    QCOMPARE(rows->shown(rows->index(3, 1))->mark, 3);
    QCOMPARE(rows->shown(rows->index(3, 3))->mark, 3);
    QCOMPARE(rows->shown(rows->index(2, 3))->mark, -1);
    QVERIFY(history->pageView->comparisonLabel->text().contains(
        QStringLiteral("最初の相違（赤）: 世代 1の 4 行 4 文字目")));
    PageRowsModel* changes = history->pageView->changeRows;
    QCOMPARE(changes->data(changes->index(0, 2), Qt::DisplayRole).toString(),
             QStringLiteral("@@ -1,4 +1,4 @@"));
    QCOMPARE(changes->data(changes->index(3, 2), Qt::DisplayRole).toString(),
             QStringLiteral("+<script>x=22</script>"));

    // Generation 2 against 1, chosen in either box: still older to newer.
    history->newerChoice->setCurrentIndex(history->newerChoice->findData(2));
    emit history->newerChoice->activated(history->newerChoice->currentIndex());
    QTRY_VERIFY(!history->busy());
    QVERIFY(history->statusLabel->text().startsWith(QStringLiteral("世代 2")));
    QCOMPARE(rows->rowCount(), 4);
    QCOMPARE(rows->data(rows->index(0, 3), Qt::DisplayRole).toString(), QStringLiteral("<p>a</p>"));

    // The disk, from the editor's button: three readings over time and the
    // threshold.
    clickRow(grid, 2);
    form->findChild<QToolButton*>("btnHistory")->click();
    QTRY_VERIFY(!history->busy());
    QCOMPARE(history->views->currentIndex(), 3);
    QCOMPARE(history->chart->history().points.size(), 3u);
    QCOMPARE(history->chart->history().points.front().place, 2);
    QCOMPARE(history->chart->history().thresholdMb, 10240);
    QVERIFY(history->freeSpaceLabel->text().contains(QStringLiteral("9GBとなりました")));

    QCOMPARE(files(w.dir.path()), before);
  }
};

QTEST_MAIN(HistoryWindowTest)
#include "history_window_test.moc"
