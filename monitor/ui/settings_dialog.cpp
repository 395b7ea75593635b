#include "settings_dialog.h"

namespace orvis::ui {

SettingsDialog::SettingsDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("Form3");
  setWindowTitle(QStringLiteral("設定"));
  setModal(false);
  setFixedSize(732, 688);
}

}  // namespace orvis::ui
