#include "flat_button.h"

namespace orvis::ui {

QToolButton* flatButton(QWidget* parent, const char* name, const QString& caption,
                        const QString& hint) {
  auto* b = new QToolButton(parent);
  b->setObjectName(name);
  b->setText(caption);
  b->setToolButtonStyle(Qt::ToolButtonTextOnly);
  b->setAutoRaise(false);
  b->setMinimumHeight(24);
  b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  if (!hint.isEmpty()) b->setToolTip(hint);
  return b;
}

}  // namespace orvis::ui
