#pragma once
// The length limits of the editing fields hold for typing only: a text that
// the program puts into a field (a job loaded from its file) stays whole,
// so that saving it unchanged writes it back unchanged.

#include <QLineEdit>
#include <QString>
#include <algorithm>

namespace orvis::ui {

inline constexpr const char* kTypingLimit = "orvisTypingLimit";

// Typing cannot make the text longer than the limit, or than it is now where
// that is longer (a longer text can be shortened, never lengthened).
inline void setTypingLimit(QLineEdit* field, int limit) {
  field->setProperty(kTypingLimit, limit);
  field->setMaxLength(limit);
  QObject::connect(field, &QLineEdit::textChanged, field, [field, limit] {
    field->setMaxLength(std::max(limit, static_cast<int>(field->text().size())));
  });
}

// Sets the text whole, however long it is.
inline void setTextUncut(QLineEdit* field, const QString& text) {
  const int limit = field->property(kTypingLimit).toInt();
  if (limit > 0) field->setMaxLength(std::max(limit, static_cast<int>(text.size())));
  field->setText(text);
}

}  // namespace orvis::ui
