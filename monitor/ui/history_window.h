#pragma once
// The history of one job: the baseline and its generations, and what
// changed between the two chosen (by default generation 1 and the baseline:
// the last change), shown by the job's type. It only reads: no file is
// written, and a check running meanwhile is not held up.

#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "free_space_chart.h"
#include "history_task.h"
#include "monitor/history/entry_comparison.h"
#include "monitor/history/history_job.h"
#include "page_difference_view.h"

namespace orvis::ui {

class HistoryWindow : public QDialog {
  Q_OBJECT
 public:
  HistoryWindow(std::string dataFolder, QWidget* parent);
  ~HistoryWindow() override;

  // The history of the job numbered `number` (CP932); false when no job
  // file has that number.
  bool showJob(const std::string& number);
  // A difference is being worked out.
  bool busy() const { return task_.running(); }

  // The entry's name as the window gives it: "比較元", "世代 3".
  static QString entryName(int place);

  QLabel* jobLabel;              // lblJob
  QTableWidget* entryTable;      // tblEntries
  QComboBox* olderChoice;        // cmbEntryA
  QComboBox* newerChoice;        // cmbEntryB
  QToolButton* reloadButton;     // btnReload
  QLabel* statusLabel;           // lblStatus
  QProgressBar* progress;        // barProgress
  QStackedWidget* views;         // stkHistory
  PageDifferenceView* pageView;  // pnlPageDifference
  QTableWidget* fileTable;       // tblFileChanges
  QLabel* processLabel;          // lblProcessVerdict
  QTableWidget* processTable;    // tblProcessChanges
  FreeSpaceChart* chart;         // chtFreeSpace
  QLabel* freeSpaceLabel;        // lblFreeSpace

 private:
  void buildWidgets();
  void reloadEntries();
  void compareChosen();
  void showComparison(EntryComparison c, const HistoryEntry& older, const HistoryEntry& newer);
  void showListing(const std::vector<ListingChange>& changes);
  void showProcesses(const ProcessChanges& changes);
  void showFreeSpace(const EntryComparison& c, const HistoryEntry& older,
                     const HistoryEntry& newer);
  void tickProgress();

  std::string dataFolder_;
  std::optional<HistoryJob> job_;
  std::vector<HistoryEntry> entries_;
  HistoryTask task_;
  QTimer progressTimer_;
  QElapsedTimer workTime_;
};

}  // namespace orvis::ui
