#pragma once
// Drops every typed character but the digits 0 to 9 (backspace and the
// editing keys pass). Pasted text is not filtered: the checks on storing
// catch it.

#include <QObject>

namespace orvis::ui {

class DigitsOnlyFilter : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace orvis::ui
