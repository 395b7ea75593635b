// The job grid as it is drawn.

#include <QHeaderView>
#include <QImage>
#include <QSignalSpy>
#include <QTableWidget>

#include "catalogue_window_tests.h"

namespace {

QTableWidget* grid(CatalogueWindow& w) { return w.find<QTableWidget>("sg1"); }

QString cellText(CatalogueWindow& w, int row, int column) {
  auto* it = grid(w)->item(row - 1, column);
  return it ? it->text() : QString();
}

// The colour drawn at a point of a cell, as offsets from its top left.
QColor pixel(CatalogueWindow& w, int row, int column, int dx, int dy) {
  QTableWidget* g = grid(w);
  QImage image = g->viewport()->grab().toImage();
  QRect cell = g->visualRect(g->model()->index(row - 1, column));
  qreal ratio = image.devicePixelRatio();
  return image.pixelColor(QPoint(int((cell.left() + dx) * ratio), int((cell.top() + dy) * ratio)));
}

bool near(QColor c, int r, int g, int b) {
  if (!(std::abs(c.red() - r) < 40 && std::abs(c.green() - g) < 40 && std::abs(c.blue() - b) < 40))
    qWarning("colour %d,%d,%d where %d,%d,%d was expected", c.red(), c.green(), c.blue(), r, g, b);
  return std::abs(c.red() - r) < 40 && std::abs(c.green() - g) < 40 && std::abs(c.blue() - b) < 40;
}

}  // namespace

void JobGridWindowTest::captionsWidthsAndMarks() {
  CatalogueWindow w;
  w.job("1", {"NO=1", "NAME=job", "URI=http://example.com/", "USEUSERMAIL=1", "USERMAILHTML=1",
              "MAILGROUP=2", "USEPROXY=1", "CHKKOBETSU=1", "CHKWORD=0", "TYPE=URL"});
  w.open();
  const char* captions[] = {"№",    "名称",   "ﾕｰｻﾞML", "HTML", "MLGRP", "PROXY", "チェック対象",
                            "結果", "比較元", "個別",   "ﾜｰﾄﾞ", "TYPE"};
  const int widths[] = {60, 150, 45, 45, 45, 45, 365, 45, 45, 45, 45, 45};
  for (int c = 0; c < 12; ++c) {
    QCOMPARE(grid(w)->horizontalHeaderItem(c)->text(), QString::fromUtf8(captions[c]));
    QCOMPARE(grid(w)->columnWidth(c), widths[c]);
  }
  QCOMPARE(grid(w)->rowCount(), 1);
  QCOMPARE(cellText(w, 1, 2), QStringLiteral("○"));
  QCOMPARE(cellText(w, 1, 3), QStringLiteral("○"));
  QCOMPARE(cellText(w, 1, 4), QStringLiteral("3"));  // group 2 shows as 3
  QCOMPARE(cellText(w, 1, 5), QStringLiteral("○"));
  QCOMPARE(cellText(w, 1, 9), QStringLiteral("○"));
  QCOMPARE(cellText(w, 1, 10), QString());
  QCOMPARE(cellText(w, 1, 6), QStringLiteral("http://example.com/"));
}

void JobGridWindowTest::loadOrderAndTheStopAtABadGroup() {
  CatalogueWindow w;
  w.job("2", {"NO=2", "MAILGROUP=-1"});
  w.job("10", {"NO=10"});
  w.job("9", {"NO=9", "MAILGROUP=bad", "TYPE=PROC"});
  w.open();
  QCOMPARE(cellText(w, 1, 0), QStringLiteral("10"));
  QCOMPARE(cellText(w, 2, 0), QStringLiteral("2"));
  QCOMPARE(cellText(w, 2, 4), QStringLiteral("0"));  // no group shows as 0
  QCOMPARE(cellText(w, 3, 0), QStringLiteral("9"));
  QCOMPARE(cellText(w, 3, 4), QString());  // the fill stopped here
  QCOMPARE(cellText(w, 3, 11), QString());
}

void JobGridWindowTest::coloursAndPicturesPerCell() {
  CatalogueWindow w;
  w.job("1", {"NO=1", "NAME=重要", "CHECK=0", "SOURCE=1"});
  w.job("2", {"NO=2", "NAME=plain", "CHECK=1"});
  w.open();
  grid(w)->clearSelection();
  grid(w)->setCurrentCell(-1, -1);
  QApplication::processEvents();
  // Pink row for a change, the ivory background otherwise.
  QVERIFY(near(pixel(w, 1, 6, 300, 8), 255, 217, 236));
  QVERIFY(near(pixel(w, 2, 6, 300, 8), 255, 255, 236));
  // Result 0: the red picture; result 1 and baseline 1: the green one; drawn
  // 10 px in (a point of the disc clear of its white mark).
  QVERIFY(near(pixel(w, 1, 7, 13, 7), 220, 30, 30));
  QVERIFY(near(pixel(w, 2, 7, 13, 7), 34, 160, 60));
  QVERIFY(near(pixel(w, 1, 8, 13, 7), 34, 160, 60));
  QVERIFY(near(pixel(w, 1, 7, 5, 7), 255, 217, 236));  // left of the picture: the row's pink
  // "重要" is drawn as the red star instead of its name; other names as text.
  QVERIFY(near(pixel(w, 1, 1, 18, 8), 230, 20, 20));
  QVERIFY(near(pixel(w, 2, 8, 30, 8), 255, 255, 236));  // "-" as text, no picture
  // A selected row is navy.
  grid(w)->selectRow(1);
  QApplication::processEvents();
  QVERIFY(near(pixel(w, 2, 6, 300, 8), 0, 0, 128));
}

void JobGridWindowTest::aRefillIsOneNoticeOfEveryCell() {
  CatalogueWindow w;
  for (const char* no : {"1", "2", "3"}) w.job(no, {std::string("NO=") + no, "NAME=old"});
  w.open();
  w.job("2", {"NO=2", "NAME=new"});
  QSignalSpy notices(grid(w)->model(), &QAbstractItemModel::dataChanged);
  orvis::JobList& list = w.form->monitor().jobList();
  list.loadJobFiles();
  list.fillGrid();
  QCOMPARE(cellText(w, 2, 1), QStringLiteral("new"));
  QCOMPARE(notices.count(), 1);
  QCOMPARE(notices[0][0].toModelIndex(), grid(w)->model()->index(0, 0));
  QCOMPARE(notices[0][1].toModelIndex(), grid(w)->model()->index(2, 11));
}
