#include "sound_check_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "flat_button.h"

namespace orvis::ui {

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
