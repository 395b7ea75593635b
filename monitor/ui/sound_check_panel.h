#pragma once
// The sound check panel: plays and stops the alarm sound for a test,
// hidden until used.

#include <QComboBox>
#include <QFrame>
#include <QToolButton>

namespace orvis::ui {

class SoundCheckPanel : public QFrame {
  Q_OBJECT
 public:
  explicit SoundCheckPanel(QWidget* parent);
  QComboBox* soundChoice;    // ComboBox4
  QToolButton* playButton;   // SpeedButton23 "再生"
  QToolButton* stopButton;   // SpeedButton11 "停止"
  QToolButton* closeButton;  // SpeedButton22 "Close"
};

}  // namespace orvis::ui
