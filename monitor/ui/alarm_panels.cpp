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
  SpeedButton9 = flatButton(this, "SpeedButton9", QStringLiteral("閉じる"));
  layout->addWidget(inner, 1);
  layout->addWidget(SpeedButton9, 0, Qt::AlignHCenter);
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
  ComboBox4 = new QComboBox(this);
  ComboBox4->setObjectName("ComboBox4");
  ComboBox4->addItem(QStringLiteral("Disconnect Sound."));
  layout->addWidget(ComboBox4);
  auto* row = new QHBoxLayout;
  SpeedButton23 = flatButton(this, "SpeedButton23", QStringLiteral("再生"));
  SpeedButton11 = flatButton(this, "SpeedButton11", QStringLiteral("停止"));
  SpeedButton22 = flatButton(this, "SpeedButton22", QStringLiteral("Close"));
  row->addWidget(SpeedButton23);
  row->addWidget(SpeedButton11);
  row->addWidget(SpeedButton22);
  layout->addLayout(row);
  resize(300, 110);
  hide();
}

}  // namespace orvis::ui
