#include "digits_only_filter.h"

#include <QKeyEvent>

namespace orvis::ui {

bool DigitsOnlyFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const QString typed = static_cast<QKeyEvent*>(event)->text();
    // Keys without a printable character (backspace, arrows, shortcuts such
    // as Ctrl+V) are no typed character.
    const bool printable = !typed.isEmpty() && typed.at(0).isPrint();
    if (printable && !(typed.size() == 1 && typed.at(0) >= u'0' && typed.at(0) <= u'9'))
      return true;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace orvis::ui
