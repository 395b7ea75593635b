// The history window's views of the types whose snapshot is a list: a
// folder's files, the running programs, a disk's free space.

#include <QFont>

#include "history_window.h"
#include "qt_text.h"

namespace orvis::ui {
namespace {

void setRow(QTableWidget* table, int row, const QStringList& cells, const QColor& background,
            bool bold = false) {
  for (int c = 0; c < cells.size(); ++c) {
    auto* item = new QTableWidgetItem(cells[c]);
    item->setBackground(background);
    if (bold) {
      QFont font = item->font();
      font.setBold(true);
      item->setFont(font);
    }
    table->setItem(row, c, item);
  }
}

const QColor kAdded(224, 255, 224), kRemoved(255, 224, 224), kUpdated(255, 250, 205);

}  // namespace

void HistoryWindow::showListing(const std::vector<ListingChange>& changes) {
  fileTable->setRowCount(static_cast<int>(changes.size()));
  for (int i = 0; i < static_cast<int>(changes.size()); ++i) {
    const ListingChange& c = changes[static_cast<std::size_t>(i)];
    using Kind = ListingChange::Kind;
    const QString kind = c.kind == Kind::Updated   ? QStringLiteral("更新")
                         : c.kind == Kind::Deleted ? QStringLiteral("削除")
                                                   : QStringLiteral("追加");
    const QColor& back = c.kind == Kind::Updated   ? kUpdated
                         : c.kind == Kind::Deleted ? kRemoved
                                                   : kAdded;
    setRow(fileTable, i,
           {kind, c.oldStamp.empty() ? QStringLiteral("N/A") : fromCp932(c.oldStamp),
            c.newStamp.empty() ? QStringLiteral("N/A") : fromCp932(c.newStamp), fromCp932(c.path)},
           back);
  }
}

void HistoryWindow::showProcesses(const ProcessChanges& changes) {
  processLabel->setText(changes.verdict
                            ? fromCp932(*changes.verdict)
                            : QStringLiteral("%1 の状態は変わっていません（チェックは変化なし）。")
                                  .arg(fromCp932(job_->target)));
  processTable->setRowCount(static_cast<int>(changes.ended.size() + changes.started.size()));
  int row = 0;
  for (const auto* list : {&changes.ended, &changes.started}) {
    const bool ended = list == &changes.ended;
    for (const ProcessLine& p : *list)
      setRow(processTable, row++,
             {ended ? QStringLiteral("終了") : QStringLiteral("起動"), fromCp932(p.pid),
              fromCp932(p.parent), fromCp932(p.name)},
             ended ? kRemoved : kAdded, isWatchedProgram(job_->target, p));
  }
}

void HistoryWindow::showFreeSpace(const EntryComparison& c, const HistoryEntry& older,
                                  const HistoryEntry& newer) {
  chart->setHistory(c.drive, older.place, newer.place);
  QString text = QStringLiteral("%1: %2 MB → %3: %4 MB（しきい値 %5 MB）")
                     .arg(entryName(older.place))
                     .arg(c.olderFreeMb)
                     .arg(entryName(newer.place))
                     .arg(c.newerFreeMb)
                     .arg(c.drive.thresholdMb);
  if (const auto detail =
          driveChange(job_->target, std::to_string(c.olderFreeMb), std::to_string(c.newerFreeMb)))
    text += QStringLiteral("　") + fromCp932(*detail);
  freeSpaceLabel->setText(text);
}

}  // namespace orvis::ui
