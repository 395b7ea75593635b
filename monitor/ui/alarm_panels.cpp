#include "alarm_panels.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "flat_button.h"

namespace orvis::ui {

AlarmPanel::AlarmPanel(QWidget* parent) : QFrame(parent) {
  setObjectName("pnlDeviceError");
  setStyleSheet("#pnlDeviceError { background: rgb(255,0,0); border: 2px outset #800000; }");
  auto* layout = new QVBoxLayout(this);
  auto* inner = new QLabel(QStringLiteral("チェックエラーを検出"), this);
  inner->setObjectName("pnlDeviceErrorCaption");
  inner->setAlignment(Qt::AlignCenter);
  inner->setStyleSheet("color: white; font-size: 20px; font-weight: bold;");
  closeButton = flatButton(this, "SpeedButton9", QStringLiteral("閉じる"));
  layout->addWidget(inner, 1);
  layout->addWidget(closeButton, 0, Qt::AlignHCenter);
  resize(280, 110);
  hide();
}

SoundCheckPanel::SoundCheckPanel(QWidget* parent) : QFrame(parent) {
  setObjectName("PnlCheckBuzzer");
  setFrameShape(QFrame::Panel);
  setFrameShadow(QFrame::Raised);
  setAutoFillBackground(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("警告音を調整してください。"), this));
  soundChoice = new QComboBox(this);
  soundChoice->setObjectName("ComboBox4");
  soundChoice->addItem(QStringLiteral("Disconnect Sound."));
  layout->addWidget(soundChoice);
  auto* row = new QHBoxLayout;
  playButton = flatButton(this, "SpeedButton23", QStringLiteral("再生"));
  stopButton = flatButton(this, "SpeedButton11", QStringLiteral("停止"));
  closeButton = flatButton(this, "SpeedButton22", QStringLiteral("Close"));
  row->addWidget(playButton);
  row->addWidget(stopButton);
  row->addWidget(closeButton);
  layout->addLayout(row);
  resize(300, 110);
  hide();
}

}  // namespace orvis::ui
