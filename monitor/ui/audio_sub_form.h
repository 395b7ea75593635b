#pragma once
// TAudioSubForm: the hidden form that the alarm player lives on. It is
// created at start and never shown.

#include <QWidget>

namespace orvis::ui {

class TAudioSubForm : public QWidget {
  Q_OBJECT
 public:
  explicit TAudioSubForm(QWidget* parent = nullptr) : QWidget(parent) {
    setObjectName("AudioSubForm");
    setWindowTitle("AudioSubForm");
  }
};

}  // namespace orvis::ui
