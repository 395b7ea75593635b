#include "form_parts.h"

#include "typing_limit.h"

namespace orvis::ui {

QLabel* note(QWidget* parent, const QString& text) {
  auto* l = new QLabel(text, parent);
  l->setWordWrap(true);
  l->setStyleSheet("color: #404040; font-size: 11px;");
  return l;
}

QLineEdit* edit(QWidget* parent, const char* name, int maxLength, const QString& hint) {
  auto* e = named(new QLineEdit(parent), name);
  setTypingLimit(e, maxLength);
  if (!hint.isEmpty()) e->setToolTip(hint);
  return e;
}

QLabel* caption(QWidget* parent, const QString& text, QWidget* buddy) {
  auto* l = new QLabel(text, parent);
  l->setBuddy(buddy);
  return l;
}

}  // namespace orvis::ui
