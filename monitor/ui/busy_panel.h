#pragma once
// The busy panel shown during long operations: a message, a progress line,
// an animation and the comparison gauge.

#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

namespace orvis::ui {

// A small looping animation of a sheet travelling from one folder to
// another, in the manner of the system's file-copy animation.
class CopyAnimation : public QWidget {
  Q_OBJECT
 public:
  explicit CopyAnimation(QWidget* parent = nullptr);
  void start();
  void stop();
  bool running() const { return timer_.isActive(); }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  QTimer timer_;
  int frame_ = 0;
};

class BusyPanel : public QFrame {
  Q_OBJECT
 public:
  explicit BusyPanel(QWidget* parent);

  QLabel* message;             // panelMsg
  QLabel* progress;            // progress
  CopyAnimation* animation;    // Animate1
  QProgressBar* compareGauge;  // Gauge2
};

}  // namespace orvis::ui
