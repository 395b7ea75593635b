#pragma once
// Panel1: the busy panel shown during long operations, with its message
// label panelMsg, the progress label, the animation Animate1 and the
// comparison gauge Gauge2.

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

  QLabel* panelMsg;
  QLabel* progress;
  CopyAnimation* Animate1;
  QProgressBar* Gauge2;
};

}  // namespace orvis::ui
