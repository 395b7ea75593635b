#include "history_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLocale>
#include <QVBoxLayout>

#include "flat_button.h"
#include "form_parts.h"
#include "monitor/history/history_entries.h"
#include "qt_text.h"

namespace orvis::ui {
namespace {

QTableWidget* table(QWidget* parent, const char* name, const QStringList& captions) {
  auto* t = named(new QTableWidget(0, captions.size(), parent), name);
  t->setHorizontalHeaderLabels(captions);
  t->setEditTriggers(QAbstractItemView::NoEditTriggers);
  t->setSelectionBehavior(QAbstractItemView::SelectRows);
  t->verticalHeader()->setVisible(false);
  t->horizontalHeader()->setStretchLastSection(true);
  t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 4);
  return t;
}

QString stored(const HistoryEntry& e) { return QString::fromStdString(storedText(e.stored)); }

}  // namespace

QString HistoryWindow::entryName(int place) {
  return place == 0 ? QStringLiteral("比較元") : QStringLiteral("世代 %1").arg(place);
}

HistoryWindow::HistoryWindow(std::string dataFolder, QWidget* parent)
    : QDialog(parent, Qt::Window), dataFolder_(std::move(dataFolder)) {
  setObjectName("frmHistory");
  buildWidgets();
  progressTimer_.setInterval(100);
  connect(&progressTimer_, &QTimer::timeout, this, &HistoryWindow::tickProgress);
  connect(reloadButton, &QToolButton::clicked, this, &HistoryWindow::reloadEntries);
  for (QComboBox* choice : {olderChoice, newerChoice})
    connect(choice, &QComboBox::activated, this, &HistoryWindow::compareChosen);
  resize(1000, 680);
}

HistoryWindow::~HistoryWindow() = default;

void HistoryWindow::buildWidgets() {
  auto* layout = new QVBoxLayout(this);
  jobLabel = named(new QLabel(this), "lblJob");
  jobLabel->setStyleSheet("font-weight: bold;");
  layout->addWidget(jobLabel);

  auto* top = new QHBoxLayout;
  entryTable = table(this, "tblEntries",
                     {QStringLiteral("版"), QStringLiteral("保存日時"), QStringLiteral("サイズ")});
  entryTable->setMaximumHeight(150);
  entryTable->setColumnWidth(0, 90);
  entryTable->setColumnWidth(1, 160);
  top->addWidget(entryTable, 1);
  auto* choose = new QVBoxLayout;
  olderChoice = named(new QComboBox(this), "cmbEntryA");
  newerChoice = named(new QComboBox(this), "cmbEntryB");
  auto* row = new QHBoxLayout;
  row->addWidget(caption(this, QStringLiteral("比べる版"), olderChoice));
  row->addWidget(olderChoice);
  row->addWidget(caption(this, QStringLiteral("と"), newerChoice));
  row->addWidget(newerChoice);
  choose->addLayout(row);
  reloadButton = flatButton(this, "btnReload", QStringLiteral("再読込"),
                            QStringLiteral("保存された版を読み直します"));
  choose->addWidget(reloadButton, 0, Qt::AlignLeft);
  choose->addStretch(1);
  top->addLayout(choose);
  layout->addLayout(top);

  views = named(new QStackedWidget(this), "stkHistory");
  pageView = new PageDifferenceView(views);
  views->addWidget(pageView);
  fileTable = table(views, "tblFileChanges",
                    {QStringLiteral("種別"), QStringLiteral("以前の日時"),
                     QStringLiteral("新しい日時"), QStringLiteral("パス")});
  fileTable->setColumnWidth(1, 160);
  fileTable->setColumnWidth(2, 160);
  views->addWidget(fileTable);
  auto* processes = new QWidget(views);
  auto* p = new QVBoxLayout(processes);
  p->setContentsMargins(0, 0, 0, 0);
  processLabel = named(new QLabel(processes), "lblProcessVerdict");
  processTable = table(processes, "tblProcessChanges",
                       {QStringLiteral("種別"), QStringLiteral("PID"), QStringLiteral("親PID"),
                        QStringLiteral("プログラム")});
  p->addWidget(processLabel);
  p->addWidget(processTable, 1);
  views->addWidget(processes);
  auto* drive = new QWidget(views);
  auto* d = new QVBoxLayout(drive);
  d->setContentsMargins(0, 0, 0, 0);
  freeSpaceLabel = named(new QLabel(drive), "lblFreeSpace");
  chart = new FreeSpaceChart(drive);
  d->addWidget(freeSpaceLabel);
  d->addWidget(chart, 1);
  views->addWidget(drive);
  layout->addWidget(views, 1);

  auto* bottom = new QHBoxLayout;
  statusLabel = named(new QLabel(this), "lblStatus");
  progress = named(new QProgressBar(this), "barProgress");
  progress->setRange(0, 1000);
  progress->setMaximumWidth(240);
  progress->setTextVisible(false);
  progress->hide();
  bottom->addWidget(statusLabel, 1);
  bottom->addWidget(progress);
  layout->addLayout(bottom);
}

bool HistoryWindow::showJob(const std::string& number) {
  task_.giveUp();
  job_ = findHistoryJob(dataFolder_, number);
  if (!job_) return false;
  const QString name = fromCp932(job_->name), target = fromCp932(job_->target);
  setWindowTitle(QStringLiteral("履歴 - №%1 %2").arg(fromCp932(job_->number).trimmed(), name));
  jobLabel->setText(
      QStringLiteral("№%1　%2　%3: %4")
          .arg(fromCp932(job_->number).trimmed(), name,
               fromCp932(job_->type ? StoredValue<JobType>(*job_->type).text() : std::string("?")),
               target));
  reloadEntries();
  return true;
}

void HistoryWindow::reloadEntries() {
  if (!job_) return;
  entries_ = historyEntries(job_->baseline);
  entryTable->setRowCount(static_cast<int>(entries_.size()));
  olderChoice->clear();
  newerChoice->clear();
  const QLocale locale;
  for (int i = 0; i < static_cast<int>(entries_.size()); ++i) {
    const HistoryEntry& e = entries_[static_cast<std::size_t>(i)];
    const QString cells[] = {entryName(e.place), stored(e),
                             locale.toString(static_cast<qulonglong>(e.size))};
    for (int c = 0; c < 3; ++c) {
      auto* item = new QTableWidgetItem(cells[c]);
      if (c == 2) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      entryTable->setItem(i, c, item);
    }
    for (QComboBox* choice : {olderChoice, newerChoice})
      choice->addItem(entryName(e.place) + "  " + stored(e), e.place);
  }
  // The last change: generation 1 against the baseline.
  olderChoice->setCurrentIndex(olderChoice->findData(1));
  newerChoice->setCurrentIndex(newerChoice->findData(0));
  compareChosen();
}

void HistoryWindow::compareChosen() {
  task_.giveUp();
  progress->hide();
  const HistoryEntry* a = entryAt(entries_, olderChoice->currentData().toInt());
  const HistoryEntry* b = entryAt(entries_, newerChoice->currentData().toInt());
  if (olderChoice->currentIndex() < 0 || newerChoice->currentIndex() < 0 || !a || !b) {
    pageView->clear();
    statusLabel->setText(entries_.empty() ? QStringLiteral("比較元ソースがまだありません。")
                                          : QStringLiteral("比べる版がありません（比較元のみ）。"));
    return;
  }
  const auto [older, newer] = olderThenNewer(*a, *b);
  statusLabel->setText(QStringLiteral("%1 と %2 を比べています…")
                           .arg(entryName(older->place), entryName(newer->place)));
  auto result = std::make_shared<ComparedOrNot>();
  const HistoryJob job = *job_;
  const std::vector<HistoryEntry> all = entries_;
  const HistoryEntry olderEntry = *older, newerEntry = *newer;
  workTime_.start();
  progressTimer_.start();
  task_.start(
      [=](WorkProgress& work) {
        *result = compareEntries(job, olderEntry, newerEntry, all, Regions::Shown, work);
      },
      [this, result, olderEntry, newerEntry] {
        progressTimer_.stop();
        progress->hide();
        if (!result->comparison) {
          statusLabel->setText(QStringLiteral("読めません: ") + fromCp932(result->error));
          return;
        }
        showComparison(std::move(*result->comparison), olderEntry, newerEntry);
      });
}

void HistoryWindow::tickProgress() {
  // Only work that takes a while shows its progress.
  if (!task_.running()) return;
  if (workTime_.elapsed() >= 500) progress->show();
  progress->setValue(task_.permille());
}

void HistoryWindow::showComparison(EntryComparison c, const HistoryEntry& older,
                                   const HistoryEntry& newer) {
  const QString olderName = entryName(older.place), newerName = entryName(newer.place);
  statusLabel->setText(
      QStringLiteral("%1（%2）→ %3（%4）: %5")
          .arg(olderName, stored(older), newerName, stored(newer),
               c.changed() ? QStringLiteral("変化あり") : QStringLiteral("変化なし")));
  switch (c.type) {
    case JobType::File:
      showListing(c.listing);
      views->setCurrentIndex(1);
      return;
    case JobType::Proc:
      showProcesses(c.processes);
      views->setCurrentIndex(2);
      return;
    case JobType::Drive:
      showFreeSpace(c, older, newer);
      views->setCurrentIndex(3);
      return;
    case JobType::Url:
      break;
  }
  views->setCurrentIndex(0);
  pageView->setDifference(std::make_shared<const PageDifference>(std::move(*c.page)), job_->rules,
                          olderName, newerName);
}

}  // namespace orvis::ui
