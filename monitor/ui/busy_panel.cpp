#include "busy_panel.h"

#include <QVBoxLayout>

namespace orvis::ui {

BusyPanel::BusyPanel(QWidget* parent) : QFrame(parent) {
  setObjectName("Panel1");
  setFrameShape(QFrame::Panel);
  setFrameShadow(QFrame::Raised);
  setLineWidth(2);
  setAutoFillBackground(true);
  setStyleSheet("#Panel1 { background: #f0f0f0; border: 2px outset #a0a0a0; }");
  auto* layout = new QVBoxLayout(this);
  animation = new CopyAnimation(this);
  animation->setObjectName("Animate1");
  message = new QLabel(this);
  message->setObjectName("panelMsg");
  message->setAlignment(Qt::AlignCenter);
  progress = new QLabel(this);
  progress->setObjectName("progress");
  progress->setAlignment(Qt::AlignCenter);
  compareGauge = new QProgressBar(this);
  compareGauge->setObjectName("Gauge2");
  compareGauge->setVisible(false);
  layout->addWidget(animation, 0, Qt::AlignHCenter);
  layout->addWidget(message);
  layout->addWidget(progress);
  layout->addWidget(compareGauge);
  resize(300, 150);
  hide();
}

}  // namespace orvis::ui
