#include "qt_prompter.h"

#include <QPushButton>

#include "qt_text.h"

namespace orvis::ui {
namespace {
// Marks a box that interrupt() closed: nobody answered it.
const char* const kInterrupted = "orvisInterrupted";
}  // namespace

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
  auto box = buildBox(owner_ ? owner_() : nullptr, fromCp932(text), fromCp932(caption), flags);
  if (!answers_.empty() || defaults_) {
    shown_.push_back({box->text(), box->windowTitle(), box->standardButtons(),
                      box->standardButton(box->defaultButton()), box->icon(), box->parentWidget()});
    if (answers_.empty()) return mb::defaultAnswer(flags);
    int a = answers_.front();
    answers_.pop_front();
    return a;
  }
  open_.push_back(box.get());
  const int result = box->exec();
  open_.pop_back();
  if (box->property(kInterrupted).toBool()) return mb::IdNone;
  return result == QMessageBox::Ok ? mb::IdOk : mb::IdCancel;
}

void QtPrompter::interrupt() {
  for (const QPointer<QMessageBox>& box : open_) {
    if (!box) continue;
    box->setProperty(kInterrupted, true);
    box->reject();
  }
}

}  // namespace orvis::ui
