#pragma once
// The busy panel shown during long operations: a message, a progress line,
// an animation and the comparison gauge.

#include <QFrame>
#include <QLabel>
#include <QProgressBar>

#include "copy_animation.h"

namespace orvis::ui {

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
