#pragma once
// The settings dialog, a non-modal window of fixed size, hidden and
// shown, never destroyed while the monitor runs.

#include <QDialog>

namespace orvis::ui {

class SettingsDialog : public QDialog {
  Q_OBJECT
 public:
  explicit SettingsDialog(QWidget* parent = nullptr);
};

}  // namespace orvis::ui
