#pragma once
// TForm3: the settings dialog, a non-modal window of fixed size, hidden and
// shown, never destroyed while the monitor runs.

#include <QDialog>

namespace orvis::ui {

class TForm3 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm3(QWidget* parent = nullptr);
};

}  // namespace orvis::ui
