#pragma once
// The free space of a disk at every stored reading of a DRIVE job, as a
// line over time, with the job's threshold drawn across it: a fall below
// the line is what raises an alert. Painted by hand: the chart is small and
// a chart library would be a dependency for one picture.

#include <QWidget>

#include "monitor/history/drive_history.h"

namespace orvis::ui {

class FreeSpaceChart : public QWidget {
  Q_OBJECT
 public:
  explicit FreeSpaceChart(QWidget* parent);

  // `older` and `newer`: the places of the two entries chosen, drawn bigger.
  void setHistory(const FreeSpaceHistory& history, int older, int newer);
  const FreeSpaceHistory& history() const { return history_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  FreeSpaceHistory history_;
  int older_ = -1, newer_ = -1;
};

}  // namespace orvis::ui
