#include "qt_prompter.h"

#include <QPushButton>

#include "qt_text.h"

namespace orvis::ui {

std::unique_ptr<QMessageBox> QtPrompter::buildBox(QWidget* owner, const QString& text,
                                                  const QString& caption, int flags) {
  auto box = std::make_unique<QMessageBox>(owner);
  box->setWindowTitle(caption);
  box->setText(text);
  const bool okCancel = (flags & 0x0F) == mb::OKCancel;
  box->setStandardButtons(okCancel ? (QMessageBox::Ok | QMessageBox::Cancel) : QMessageBox::Ok);
  box->setDefaultButton(okCancel && (flags & 0xF00) == mb::DefButton2 ? QMessageBox::Cancel
                                                                      : QMessageBox::Ok);
  box->setEscapeButton(okCancel ? QMessageBox::Cancel : QMessageBox::Ok);
  switch (flags & 0xF0) {
    case mb::IconStop:
      box->setIcon(QMessageBox::Critical);
      break;
    case 0x20:
      box->setIcon(QMessageBox::Question);
      break;
    case mb::IconExclamation:
      box->setIcon(QMessageBox::Warning);
      break;
    case 0x40:
      box->setIcon(QMessageBox::Information);
      break;
    default:
      box->setIcon(QMessageBox::NoIcon);
      break;
  }
  return box;
}

int QtPrompter::ask(const std::string& text, const std::string& caption, int flags) {
  if (nobodyToAnswer_) return mb::defaultAnswer(flags);
  auto box = buildBox(owner_, fromCp932(text), fromCp932(caption), flags);
  if (!answers_.empty() || defaults_) {
    shown_.push_back({box->text(), box->windowTitle(), box->standardButtons(),
                      box->standardButton(box->defaultButton()), box->icon()});
    if (answers_.empty()) return mb::defaultAnswer(flags);
    int a = answers_.front();
    answers_.pop_front();
    return a;
  }
  return box->exec() == QMessageBox::Ok ? mb::IdOk : mb::IdCancel;
}

}  // namespace orvis::ui
