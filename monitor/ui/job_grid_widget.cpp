#include "job_grid_widget.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QInputEvent>
#include <QPainter>

#include "monitor/catalogue/job_grid_column.h"
#include "pictures.h"
#include "qt_text.h"

namespace orvis::ui {
namespace {

QColor rgb(unsigned v) { return QColor((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF); }

class JobCellDelegate : public QStyledItemDelegate {
 public:
  explicit JobCellDelegate(JobGridWidget* grid) : QStyledItemDelegate(grid), grid_(grid) {}

  void paint(QPainter* g, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const bool selected = option.state & QStyle::State_Selected;
    CellLook look = grid_->lookAt(index.row() + 1, index.column(), selected);
    g->save();
    g->fillRect(option.rect, rgb(look.background));
    if (look.list != CellLook::Picture::None) {
      QPixmap picture = look.list == CellLook::Picture::Result ? resultPicture(look.picture)
                                                               : markPicture(look.picture);
      // White is the pictures' transparent colour.
      picture.setMask(picture.createMaskFromColor(Qt::white));
      g->drawPixmap(option.rect.left() + 10, option.rect.top(), picture);
    } else {
      g->setPen(rgb(look.textColor));
      g->setClipRect(option.rect);
      // 2 pixels in and 2 down: the baseline sits so that a Japanese glyph
      // (0.88 em above it) starts 2 pixels below the top of the cell.
      const int baseline = option.rect.top() + 2 + (option.font.pixelSize() * 88 + 50) / 100;
      g->setFont(option.font);
      g->drawText(QPoint(option.rect.left() + 2, baseline), index.data().toString());
    }
    g->restore();
  }

 private:
  JobGridWidget* grid_;
};

}  // namespace

JobGridWidget::JobGridWidget(QWidget* parent) : QTableWidget(parent) {
  setObjectName("sg1");
  setColumnCount(12);
  QStringList captions;
  for (int c = 0; c < 12; ++c) {
    captions << QString::fromUtf8(kJobGridColumns[c].caption);
    setColumnWidth(c, kJobGridColumns[c].width);
  }
  setHorizontalHeaderLabels(captions);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  horizontalHeader()->setStyleSheet(
      "QHeaderView::section { background: rgb(0,0,255); color: white; border: 1px solid #c0c0c0;"
      " padding-left: 2px; }");
  horizontalHeader()->setFixedHeight(18);
  verticalHeader()->setVisible(false);
  verticalHeader()->setMinimumSectionSize(16);
  verticalHeader()->setDefaultSectionSize(16);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  // One block of rows: the commands that act on a selection go from its
  // first row to its last.
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setShowGrid(true);
  setWordWrap(false);
  setStyleSheet("QTableWidget { background: rgb(255,255,236); gridline-color: #c0c0c0; }");
  // Text sits 2 pixels into a 16-pixel row, so the face must fit in 14.
  QFont small = font();
  small.setPixelSize(12);
  setFont(small);
  horizontalHeader()->setFont(small);
  setItemDelegate(new JobCellDelegate(this));
  setRowCount(1);
  connect(this, &QTableWidget::currentCellChanged, this, [this](int row, int column, int, int) {
    if (row >= 0 && !placingCursor_) emit cellSelected(column, row + 1);
  });
  // A click selects its cell even where it is the current one already.
  connect(this, &QTableWidget::cellPressed, this,
          [this](int row, int column) { emit cellSelected(column, row + 1); });
  connect(this, &QTableWidget::cellClicked, this, [this] { emit clickedOnRow(); });
  connect(this, &QTableWidget::cellDoubleClicked, this, [this] { emit clickedOnRow(); });
}

QItemSelectionModel::SelectionFlags JobGridWidget::selectionCommand(const QModelIndex& index,
                                                                    const QEvent* event) const {
  // Ctrl adds a row without the ones between it: here it starts a new block,
  // as a plain click does. Shift still extends the block.
  const auto* input = dynamic_cast<const QInputEvent*>(event);
  if (input && (input->modifiers() & Qt::ControlModifier) &&
      !(input->modifiers() & Qt::ShiftModifier))
    return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
  return QTableWidget::selectionCommand(index, event);
}

void JobGridWidget::contextMenuEvent(QContextMenuEvent* event) {
  if (event->reason() == QContextMenuEvent::Mouse &&
      (QGuiApplication::mouseButtons() & Qt::RightButton)) {
    menuAfterRelease_ = event->globalPos();
    return;
  }
  emit menuRequested(event->globalPos());
}

void JobGridWidget::mouseReleaseEvent(QMouseEvent* event) {
  QTableWidget::mouseReleaseEvent(event);
  if (event->button() == Qt::RightButton && menuAfterRelease_) {
    const QPoint at = *menuAfterRelease_;
    menuAfterRelease_.reset();
    emit menuRequested(at);
  }
}

CellLook JobGridWidget::lookAt(int row, int column, bool selected) const {
  if (look_) return look_(row, column, selected);
  return CellLook{0xFFFFEC, 0};
}

void JobGridWidget::setRows(int rows) {
  setRowCount(rows > 1 ? rows - 1 : 0);
  // As a grid starts: its first row is the current one, selected. That is no
  // user's choice, so the logic is not told.
  if (rowCount() > 0 && currentRow() < 0) {
    placingCursor_ = true;
    setCurrentCell(0, 0);
    placingCursor_ = false;
  }
}

void JobGridWidget::setCell(int row, int column, const std::string& text) {
  if (row == 0) {
    horizontalHeaderItem(column)->setText(fromCp932(text));
    return;
  }
  // A cell without an item shows nothing: an empty text needs none. A new
  // item takes its text before it joins the grid: one notice, not two.
  if (auto* it = item(row - 1, column))
    it->setText(fromCp932(text));
  else if (!text.empty())
    setItem(row - 1, column, new QTableWidgetItem(fromCp932(text)));
}

void JobGridWidget::beginFill() {
  if (fills_++ == 0) noticesHeld_ = model()->blockSignals(true);
}

void JobGridWidget::endFill() {
  if (--fills_ > 0) return;
  QAbstractItemModel* m = model();
  m->blockSignals(noticesHeld_);
  if (noticesHeld_) return;
  // The rows and columns themselves never change during a fill: only texts.
  emit m->headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
  if (rowCount() > 0)
    emit m->dataChanged(m->index(0, 0), m->index(rowCount() - 1, columnCount() - 1));
}

std::string JobGridWidget::cell(int row, int column) const {
  const QTableWidgetItem* it = row == 0 ? horizontalHeaderItem(column) : item(row - 1, column);
  return it ? toCp932(it->text()) : std::string();
}

int JobGridWidget::selectionTop() const {
  int top = 0;
  for (const auto& r : selectedRanges())
    if (top == 0 || r.topRow() + 1 < top) top = r.topRow() + 1;
  return top;
}

int JobGridWidget::selectionBottom() const {
  int bottom = 0;
  for (const auto& r : selectedRanges())
    if (r.bottomRow() + 1 > bottom) bottom = r.bottomRow() + 1;
  return bottom;
}

}  // namespace orvis::ui
