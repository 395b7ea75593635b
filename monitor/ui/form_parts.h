#pragma once
// Small builders the windows share: a widget named after its component, a
// note in small grey type, a line edit with its limit, a caption label that
// names its field.

#include <QLabel>
#include <QLineEdit>
#include <QString>

namespace orvis::ui {

template <typename W>
W* named(W* widget, const char* name) {
  widget->setObjectName(name);
  return widget;
}

QLabel* note(QWidget* parent, const QString& text);

QLineEdit* edit(QWidget* parent, const char* name, int maxLength, const QString& hint = {});

// A caption label that names its field for assistive tools and GUI tests.
QLabel* caption(QWidget* parent, const QString& text, QWidget* buddy);

}  // namespace orvis::ui
