#pragma once
// The red alarm panel and the sound check panel, both hidden until used.

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QToolButton>

namespace orvis::ui {

class AlarmPanel : public QFrame {
  Q_OBJECT
 public:
  explicit AlarmPanel(QWidget* parent);
  QToolButton* closeButton;  // SpeedButton9 "閉じる"
};

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
