#include "page_difference_view.h"

#include <QHeaderView>
#include <QVBoxLayout>

#include "flat_button.h"
#include "form_parts.h"

namespace orvis::ui {
namespace {

QString placeText(const std::optional<PagePlace>& at, const QString& name) {
  if (!at) return name;
  return QStringLiteral("%1の %2 行 %3 文字目").arg(name).arg(at->line + 1).arg(at->column + 1);
}

}  // namespace

QString comparisonText(const PageDifference& d, const CompareRules& rules, const QString& olderName,
                       const QString& newerName) {
  const QString which = rules.own ? QStringLiteral("個別設定") : QStringLiteral("基本設定");
  if (!d.compared)
    return QStringLiteral(
               "%1: 比較チェックしない（応答のみ確認）ため、比較で飛ばす範囲はありません。")
        .arg(which);
  const SkipSwitches on = rules.skips();
  QStringList skipped;
  const std::pair<bool, const char*> kinds[] = {{on.script, "SCRIPT"},     {on.comment, "コメント"},
                                                {on.anchor, "<A ～ </A>"}, {on.src, "SRC"},
                                                {on.alt, "ALT"},           {on.head, "HEAD"}};
  for (auto [onOff, name] : kinds)
    if (onOff) skipped << QString::fromUtf8(name);
  QString text = QStringLiteral("%1で比較（灰色: 飛ばす範囲 %2）。")
                     .arg(which, skipped.isEmpty() ? QStringLiteral("なし") : skipped.join("、"));
  switch (d.regions.outcome) {
    case ComparisonOutcome::Difference:
      text += QStringLiteral("最初の相違（赤）: %1、%2")
                  .arg(placeText(d.olderFirst, olderName), placeText(d.newerFirst, newerName));
      break;
    case ComparisonOutcome::SnapshotShorter:
      text += QStringLiteral("%1が%2より先に終わります（赤: %3）")
                  .arg(newerName, olderName, placeText(d.olderFirst, olderName));
      break;
    case ComparisonOutcome::Equal:
      text += QStringLiteral("%1の終わりまで相違なし（チェックは変化なしとします）").arg(olderName);
      break;
    default:
      text += QStringLiteral("%1が空です（チェックは変化ありとします）").arg(olderName);
      break;
  }
  return text;
}

PageDifferenceView::PageDifferenceView(QWidget* parent) : QWidget(parent) {
  setObjectName("pnlPageDifference");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* top = new QHBoxLayout;
  comparisonLabel = named(new QLabel(this), "lblComparison");
  comparisonLabel->setWordWrap(true);
  firstButton = flatButton(this, "btnFirstDifference", QStringLiteral("最初の相違へ"));
  top->addWidget(comparisonLabel, 1);
  top->addWidget(firstButton);
  layout->addLayout(top);
  tabs = named(new QTabWidget(this), "tabPage");
  sideBySideRows = new PageRowsModel(PageRowsModel::Layout::SideBySide, this);
  changeRows = new PageRowsModel(PageRowsModel::Layout::Changes, this);
  sideBySide = makeView("viewSideBySide", sideBySideRows);
  changes = makeView("viewChanges", changeRows);
  tabs->addTab(sideBySide, QStringLiteral("並べて表示"));
  tabs->addTab(changes, QStringLiteral("変更点のみ"));
  layout->addWidget(tabs, 1);
  connect(firstButton, &QToolButton::clicked, this, &PageDifferenceView::showFirstDifference);
}

QTableView* PageDifferenceView::makeView(const char* name, PageRowsModel* model) {
  auto* view = named(new QTableView(this), name);
  view->setModel(model);
  view->setItemDelegate(new PageLineDelegate(view));
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setShowGrid(false);
  view->setWordWrap(false);
  view->verticalHeader()->setVisible(false);
  // Rows of one height: a million of them scroll as lightly as ten.
  view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
  view->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  view->horizontalHeader()->setStretchLastSection(true);
  return view;
}

void PageDifferenceView::setDifference(std::shared_ptr<const PageDifference> difference,
                                       const CompareRules& rules, const QString& olderName,
                                       const QString& newerName) {
  comparisonLabel->setText(comparisonText(*difference, rules, olderName, newerName));
  sideBySideRows->setDifference(difference, olderName, newerName);
  changeRows->setDifference(difference, olderName, newerName);
  const int number = fontMetrics().horizontalAdvance(QStringLiteral("0000000"));
  const int text = (sideBySide->viewport()->width() - 2 * number) / 2;
  sideBySide->setColumnWidth(0, number);
  sideBySide->setColumnWidth(1, std::max(text, 200));
  sideBySide->setColumnWidth(2, number);
  changes->setColumnWidth(0, number + 40);
  changes->setColumnWidth(1, number + 40);
  firstButton->setEnabled(sideBySideRows->firstDifferenceRow() >= 0);
  showFirstDifference();
}

void PageDifferenceView::clear() {
  comparisonLabel->clear();
  sideBySideRows->clear();
  changeRows->clear();
  firstButton->setEnabled(false);
}

void PageDifferenceView::showFirstDifference() {
  for (auto [view, model] :
       {std::pair{sideBySide, sideBySideRows}, std::pair{changes, changeRows}}) {
    const int row = model->firstDifferenceRow();
    if (row < 0) continue;
    const QModelIndex at = model->index(row, 1);
    view->scrollTo(at, QAbstractItemView::PositionAtCenter);
    view->selectRow(row);
  }
}

}  // namespace orvis::ui
