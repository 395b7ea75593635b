#pragma once
// The hidden form that the alarm player lives on. It is created at start
// and never shown.

#include <QWidget>

namespace orvis::ui {

class AudioForm : public QWidget {
  Q_OBJECT
 public:
  explicit AudioForm(QWidget* parent = nullptr) : QWidget(parent) {
    setObjectName("AudioSubForm");
    setWindowTitle("AudioSubForm");
  }
};

}  // namespace orvis::ui
