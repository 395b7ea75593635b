#include "alarm_panel.h"

#include <QLabel>
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

}  // namespace orvis::ui
