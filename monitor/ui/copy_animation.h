#pragma once

#include <QTimer>
#include <QWidget>

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

}  // namespace orvis::ui
