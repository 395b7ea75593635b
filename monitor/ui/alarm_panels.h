#pragma once
// The red alarm panel pnlDeviceError and the sound check panel
// PnlCheckBuzzer, both hidden until used.

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QToolButton>

namespace orvis::ui {

class AlarmPanel : public QFrame {
  Q_OBJECT
 public:
  explicit AlarmPanel(QWidget* parent);
  QToolButton* SpeedButton9;  // "閉じる"
};

class SoundCheckPanel : public QFrame {
  Q_OBJECT
 public:
  explicit SoundCheckPanel(QWidget* parent);
  QComboBox* ComboBox4;
  QToolButton* SpeedButton23;  // "再生"
  QToolButton* SpeedButton11;  // "停止"
  QToolButton* SpeedButton22;  // "Close"
};

}  // namespace orvis::ui
