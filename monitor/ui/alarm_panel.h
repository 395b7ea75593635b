#pragma once
// The red alarm panel: shown at the end of an automatic check pass that
// found a change, hidden until then.

#include <QFrame>
#include <QToolButton>

namespace orvis::ui {

class AlarmPanel : public QFrame {
  Q_OBJECT
 public:
  explicit AlarmPanel(QWidget* parent);
  QToolButton* closeButton;  // SpeedButton9 "閉じる"
};

}  // namespace orvis::ui
