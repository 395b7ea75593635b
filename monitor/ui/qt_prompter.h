#pragma once
// Message boxes as QMessageBox, with the buttons, icon and default button
// that the Windows flags name. Tests set the next answers; a box is then
// built and recorded but never shown, so no test waits on a modal dialog.

#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "monitor/shell/prompter.h"

namespace orvis::ui {

class QtPrompter : public Prompter {
 public:
  // Boxes stand over the window `owner` names as each is asked (none: over
  // nothing).
  void setOwner(std::function<QWidget*()> owner) { owner_ = std::move(owner); }
  // With no display to show a box on, nobody could answer one: every box
  // then gives its default button's answer at once, as in a service start.
  void setNobodyToAnswer(bool on) { nobodyToAnswer_ = on; }

  int ask(const std::string& text, const std::string& caption, int flags) override;
  void interrupt() override;

  // The box for the flags, configured but not shown.
  static std::unique_ptr<QMessageBox> buildBox(QWidget* owner, const QString& text,
                                               const QString& caption, int flags);

  // Test hook: the answers the next boxes give, without showing them.
  struct Shown {
    QString text, caption;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton;
    QMessageBox::Icon icon;
    QPointer<QWidget> owner;
  };
  void setNextAnswers(std::vector<int> answers) { answers_.assign(answers.begin(), answers.end()); }
  // Test hook: a box with no answer waiting is answered by its default
  // button instead of being shown.
  void setAnswerWithDefaults(bool on) { defaults_ = on; }
  const std::vector<Shown>& shown() const { return shown_; }
  void clearShown() { shown_.clear(); }

 private:
  std::function<QWidget*()> owner_;
  bool nobodyToAnswer_ = false;
  // The boxes on screen now, innermost last.
  std::vector<QPointer<QMessageBox>> open_;
  std::deque<int> answers_;
  bool defaults_ = false;
  std::vector<Shown> shown_;
};

}  // namespace orvis::ui
