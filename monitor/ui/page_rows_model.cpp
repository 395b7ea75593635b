#include "page_rows_model.h"

#include <QColor>
#include <QFontDatabase>
#include <QPainter>

namespace orvis::ui {
namespace {

using Kind = DiffRow::Kind;

QColor backgroundOf(Kind kind, bool older) {
  switch (kind) {
    case Kind::Removed:
      return QColor(255, 224, 224);
    case Kind::Added:
      return QColor(224, 255, 224);
    case Kind::Changed:
      return older ? QColor(255, 224, 224) : QColor(224, 255, 224);
    case Kind::Header:
      return QColor(221, 234, 255);
    case Kind::Same:
      break;
  }
  return QColor(Qt::white);
}

const QColor kSkippedText(128, 128, 128), kSkippedBack(230, 230, 230), kMark(204, 0, 0);

}  // namespace

PageRowsModel::PageRowsModel(Layout layout, QObject* parent)
    : QAbstractTableModel(parent), layout_(layout) {}

void PageRowsModel::setDifference(std::shared_ptr<const PageDifference> difference,
                                  const QString& olderName, const QString& newerName) {
  beginResetModel();
  d_ = std::move(difference);
  olderName_ = olderName;
  newerName_ = newerName;
  decoded_.clear();
  if (layout_ == Layout::SideBySide) {
    hunks_.clear();
    rows_ = sideBySideRows(d_->runs);
  } else {
    hunks_ = hunksOf(d_->runs);
    rows_ = changeRows(hunks_);
  }
  endResetModel();
}

void PageRowsModel::clear() {
  beginResetModel();
  d_.reset();
  hunks_.clear();
  rows_.clear();
  decoded_.clear();
  endResetModel();
}

int PageRowsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int PageRowsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : layout_ == Layout::SideBySide ? 4 : 3;
}

bool PageRowsModel::isTextColumn(int column) const {
  return layout_ == Layout::SideBySide ? column == 1 || column == 3 : column == 2;
}

bool PageRowsModel::olderSide(const DiffRow& row, int column) const {
  if (layout_ == Layout::SideBySide) return column < 2;
  if (column == 0) return true;
  if (column == 1) return false;
  return row.kind == Kind::Removed;
}

std::int32_t PageRowsModel::lineOf(const DiffRow& row, int column) const {
  return olderSide(row, column) ? row.older : row.newer;
}

const ShownLine* PageRowsModel::shown(const QModelIndex& index) const {
  if (!d_ || !isTextColumn(index.column())) return nullptr;
  const DiffRow& row = rows_[static_cast<std::size_t>(index.row())];
  if (row.kind == Kind::Header) return nullptr;
  const bool older = olderSide(row, index.column());
  const std::int32_t line = older ? row.older : row.newer;
  if (line < 0) return nullptr;
  const std::int64_t key = (std::int64_t{line} << 1) | (older ? 1 : 0);
  if (auto it = decoded_.find(key); it != decoded_.end()) return &it->second;
  // Only the lines on screen are kept.
  if (decoded_.size() > 4000) decoded_.clear();
  const PageLines& page = older ? d_->older : d_->newer;
  const auto& first = older ? d_->olderFirst : d_->newerFirst;
  const std::optional<std::uint64_t> mark = first && first->line == static_cast<std::size_t>(line)
                                                ? std::optional(first->byte)
                                                : std::nullopt;
  return &decoded_
              .emplace(key, shownLine(page, older ? d_->regions.older : d_->regions.newer,
                                      static_cast<std::size_t>(line), mark))
              .first->second;
}

QVariant PageRowsModel::data(const QModelIndex& index, int role) const {
  if (!d_ || !index.isValid()) return {};
  const DiffRow& row = rows_[static_cast<std::size_t>(index.row())];
  const bool older = olderSide(row, index.column());
  if (role == Qt::BackgroundRole) {
    if (layout_ == Layout::SideBySide && lineOf(row, index.column()) < 0)
      return QColor(240, 240, 240);
    return backgroundOf(row.kind, older);
  }
  if (role == Qt::FontRole) return QFontDatabase::systemFont(QFontDatabase::FixedFont);
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
  if (row.kind == Kind::Header) {
    if (!isTextColumn(index.column())) return {};
    return QString::fromStdString(hunkHeader(hunks_[static_cast<std::size_t>(row.older)]));
  }
  const std::int32_t line = lineOf(row, index.column());
  if (line < 0) return {};
  if (!isTextColumn(index.column())) {
    if (role == Qt::ToolTipRole) return {};
    const std::uint32_t stored = older ? d_->olderLine(static_cast<std::size_t>(line))
                                       : d_->newerLine(static_cast<std::size_t>(line));
    return QString::number(stored + 1);
  }
  const ShownLine* text = shown(index);
  if (layout_ == Layout::Changes && role == Qt::DisplayRole) {
    const QChar mark = row.kind == Kind::Removed ? u'-' : row.kind == Kind::Added ? u'+' : u' ';
    return QString(mark) + text->text;
  }
  return text->text;
}

QVariant PageRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  if (layout_ == Layout::SideBySide) {
    switch (section) {
      case 0:
      case 2:
        return QStringLiteral("行");
      case 1:
        return olderName_;
      default:
        return newerName_;
    }
  }
  if (section == 0) return olderName_;
  if (section == 1) return newerName_;
  return QStringLiteral("内容");
}

int PageRowsModel::firstDifferenceRow() const {
  if (!d_) return -1;
  if (d_->olderFirst) {
    const int row = rowShowing(rows_, static_cast<std::int32_t>(d_->olderFirst->line), true);
    if (row >= 0) return row;
  }
  if (d_->newerFirst)
    return rowShowing(rows_, static_cast<std::int32_t>(d_->newerFirst->line), false);
  return -1;
}

void PageLineDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
  const auto* model = qobject_cast<const PageRowsModel*>(index.model());
  const ShownLine* line = model ? model->shown(index) : nullptr;
  if (!line) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  painter->save();
  painter->fillRect(option.rect, index.data(Qt::BackgroundRole).value<QColor>());
  if (option.state & QStyle::State_Selected) painter->fillRect(option.rect, QColor(0, 0, 128, 40));
  QFont font = index.data(Qt::FontRole).value<QFont>();
  painter->setFont(font);
  painter->setClipRect(option.rect);
  const QFontMetrics metrics(font);
  const int baseline =
      option.rect.top() + (option.rect.height() + metrics.ascent() - metrics.descent()) / 2;
  int x = option.rect.left() + 3;
  const QString text = index.data(Qt::DisplayRole).toString();
  // The changes view puts its mark before the line's own text.
  const int shift = text.size() - line->text.size();
  auto draw = [&](int from, int to, const QColor& pen, const QColor* back) {
    if (to <= from) return;
    const QString part = text.mid(from, to - from);
    const int width = metrics.horizontalAdvance(part);
    if (back)
      painter->fillRect(QRect(x, option.rect.top() + 1, width, option.rect.height() - 2), *back);
    painter->setPen(pen);
    painter->drawText(QPoint(x, baseline), part);
    x += width;
  };
  // Cut points: where the stretches passed over and the mark begin and end.
  int at = 0;
  std::size_t next = 0;
  while (at < text.size()) {
    const int mark = line->mark >= 0 ? line->mark + shift : -1;
    int skipFrom = text.size(), skipTo = text.size();
    if (next < line->skipped.size()) {
      skipFrom = line->skipped[next].first + shift;
      skipTo = skipFrom + line->skipped[next].second;
    }
    const bool inSkip = at >= skipFrom && at < skipTo;
    int end = inSkip ? skipTo : skipFrom;
    if (mark >= at && mark < end) end = mark == at ? at + 1 : mark;
    if (end <= at) {
      ++next;
      continue;
    }
    if (at == mark) {
      const QColor white(Qt::white);
      draw(at, end, white, &kMark);
    } else {
      draw(at, end, inSkip ? kSkippedText : option.palette.color(QPalette::Text),
           inSkip ? &kSkippedBack : nullptr);
    }
    at = end;
    if (at >= skipTo) ++next;
  }
  // A mark after the last character: a bar where the line stopped.
  if (line->mark + shift >= text.size() && line->mark >= 0)
    painter->fillRect(QRect(x, option.rect.top() + 1, 3, option.rect.height() - 2), kMark);
  painter->restore();
}

}  // namespace orvis::ui
