#pragma once

#include <QToolButton>

namespace orvis::ui {

// A flat button with a caption, named after its component.
QToolButton* flatButton(QWidget* parent, const char* name, const QString& caption,
                        const QString& hint = QString());

}  // namespace orvis::ui
