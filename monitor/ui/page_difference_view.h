#pragma once
// The difference of two stored pages: what the check's comparison found,
// and the lines side by side or as changes only, the regions the check
// passes over in grey and its first difference in red.

#include <QLabel>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <memory>

#include "monitor/engine/compare_rules.h"
#include "monitor/history/page_difference.h"
#include "page_rows_model.h"

namespace orvis::ui {

class PageDifferenceView : public QWidget {
  Q_OBJECT
 public:
  explicit PageDifferenceView(QWidget* parent);

  void setDifference(std::shared_ptr<const PageDifference> difference, const CompareRules& rules,
                     const QString& olderName, const QString& newerName);
  void clear();
  // Scrolls both views to the first difference.
  void showFirstDifference();

  QLabel* comparisonLabel;   // lblComparison
  QToolButton* firstButton;  // btnFirstDifference
  QTabWidget* tabs;          // tabPage
  QTableView* sideBySide;    // viewSideBySide
  QTableView* changes;       // viewChanges
  PageRowsModel* sideBySideRows;
  PageRowsModel* changeRows;

 private:
  QTableView* makeView(const char* name, PageRowsModel* model);
};

// What the comparison found, for the label above the views.
QString comparisonText(const PageDifference& d, const CompareRules& rules, const QString& olderName,
                       const QString& newerName);

}  // namespace orvis::ui
