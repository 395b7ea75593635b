#pragma once
// The rows of a page difference for a table view: side by side (line
// number and text of each page) or changes only (the two line numbers and
// the marked text of a unified diff). Lines are decoded when drawn, so a
// page of a million lines costs nothing it does not show.

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <memory>
#include <unordered_map>
#include <vector>

#include "history_line_text.h"
#include "monitor/history/diff_rows.h"
#include "monitor/history/page_difference.h"

namespace orvis::ui {

class PageRowsModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum class Layout { SideBySide, Changes };

  PageRowsModel(Layout layout, QObject* parent);

  void setDifference(std::shared_ptr<const PageDifference> difference, const QString& olderName,
                     const QString& newerName);
  void clear();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // The text of a cell of a text column as drawn, nullptr for another cell.
  const ShownLine* shown(const QModelIndex& index) const;
  // The row that shows where the comparison stopped, or -1.
  int firstDifferenceRow() const;
  bool isTextColumn(int column) const;
  const std::vector<DiffRow>& rows() const { return rows_; }

 private:
  // Which page a column shows, for a row.
  bool olderSide(const DiffRow& row, int column) const;
  std::int32_t lineOf(const DiffRow& row, int column) const;

  Layout layout_;
  std::shared_ptr<const PageDifference> d_;
  std::vector<Hunk> hunks_;
  std::vector<DiffRow> rows_;
  QString olderName_, newerName_;
  mutable std::unordered_map<std::int64_t, ShownLine> decoded_;
};

// Draws a text cell: the stretches passed over in grey on grey, the first
// difference in white on red.
class PageLineDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
};

}  // namespace orvis::ui
