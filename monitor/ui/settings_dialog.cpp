#include "settings_dialog.h"

namespace orvis::ui {

TForm3::TForm3(QWidget* parent) : QDialog(parent) {
  setObjectName("Form3");
  setWindowTitle(QStringLiteral("設定"));
  setModal(false);
  setFixedSize(732, 688);
}

}  // namespace orvis::ui
