#pragma once
// The job grid. Row 0 of the logic is the header; rows 1..n are the
// table rows 0..n-1. Each cell is drawn as the catalogue logic decides.

#include <QPoint>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <functional>
#include <optional>

#include "monitor/catalogue/cell_look.h"
#include "monitor/catalogue/job_grid_view.h"

namespace orvis::ui {

class JobGridWidget : public QTableWidget, public JobGridView {
  Q_OBJECT
 public:
  using LookFn = std::function<CellLook(int row, int column, bool selected)>;

  explicit JobGridWidget(QWidget* parent);
  void setLook(LookFn look) { look_ = std::move(look); }
  CellLook lookAt(int row, int column, bool selected) const;

  // JobGridView
  void setRows(int rows) override;
  int rows() const override { return rowCount() + 1; }
  void setCell(int row, int column, const std::string& text) override;
  std::string cell(int row, int column) const override;
  void redraw() override { viewport()->update(); }
  int selectionTop() const override;
  int selectionBottom() const override;
  // The model's notices of single cells are held during a fill: the view
  // then hears of the whole grid once.
  void beginFill() override;
  void endFill() override;

 protected:
  QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                       const QEvent* event) const override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 signals:
  // The selected cell, in the logic's row numbers.
  void cellSelected(int column, int row);
  void clickedOnRow();
  // The context menu, at a place on the screen.
  void menuRequested(const QPoint& at);

 private:
  LookFn look_;
  bool placingCursor_ = false;
  // A menu asked for by a press of the right button waits for its release,
  // so that the click does what it always did first.
  std::optional<QPoint> menuAfterRelease_;
  int fills_ = 0;             // begun and not yet ended
  bool noticesHeld_ = false;  // whether the model's were held before the first
};

}  // namespace orvis::ui
