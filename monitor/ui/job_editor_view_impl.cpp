// The editor's fields as the logic sees them.

#include <QAbstractButton>

#include "job_editor_panel.h"
#include "platform/bytes.h"
#include "qt_text.h"
#include "typing_limit.h"

namespace orvis::ui {

QWidget* JobEditorPanel::widgetFor(EditorControl c) const {
  switch (c) {
    case EditorControl::Number:
      return numberField;
    case EditorControl::Target:
      return targetField;
    case EditorControl::Name:
      return nameField;
    case EditorControl::Subject:
      return subjectField;
    case EditorControl::Body:
      return bodyField;
    case EditorControl::Word:
      return wordField;
    case EditorControl::UseProxy:
      return useProxyBox;
    case EditorControl::OwnMail:
      return ownMailBox;
    case EditorControl::HtmlMail:
      return htmlMailBox;
    case EditorControl::OwnCompareRules:
      return ownCompareRulesBox;
    case EditorControl::CompareContent:
      return compareContentBox;
    case EditorControl::IgnoreScript:
      return ignoreScriptBox;
    case EditorControl::IgnoreComment:
      return ignoreCommentBox;
    case EditorControl::IgnoreLinks:
      return ignoreLinksBox;
    case EditorControl::IgnoreSrc:
      return ignoreSrcBox;
    case EditorControl::IgnoreAlt:
      return ignoreAltBox;
    case EditorControl::IgnoreHead:
      return ignoreHeadBox;
    case EditorControl::WordCheck:
      return wordCheckBox;
    case EditorControl::IncludeSubfolders:
      return includeSubfoldersBox;
    case EditorControl::MailGroup:
      return mailGroupChoice;
  }
  return nullptr;
}

std::string JobEditorPanel::text(EditorControl field) const {
  if (auto* e = qobject_cast<QLineEdit*>(widgetFor(field))) return toCp932(e->text());
  if (field == EditorControl::Body) return toCp932(bodyField->toPlainText());
  return std::string();
}

void JobEditorPanel::setText(EditorControl field, const std::string& text) {
  if (auto* e = qobject_cast<QLineEdit*>(widgetFor(field))) setTextUncut(e, fromCp932(text));
  if (field == EditorControl::Body) bodyField->setPlainText(fromCp932(text));
}

std::vector<std::string> JobEditorPanel::bodyLines() const {
  // A memo's lines: an empty memo has none, a final line break adds none.
  return platform::splitLines(toCp932(bodyField->toPlainText()));
}

void JobEditorPanel::setBodyLines(const std::vector<std::string>& lines) {
  // Each line with its line break, as the memo shows a file: read back,
  // the final break adds no line, so empty lines at the end stay.
  QString text;
  for (const auto& l : lines) text += fromCp932(l) + '\n';
  bodyField->setPlainText(text);
}

bool JobEditorPanel::checked(EditorControl box) const {
  auto* b = qobject_cast<QAbstractButton*>(widgetFor(box));
  return b && b->isChecked();
}

void JobEditorPanel::setChecked(EditorControl box, bool on) {
  if (auto* b = qobject_cast<QAbstractButton*>(widgetFor(box))) b->setChecked(on);
}

bool JobEditorPanel::enabled(EditorControl control) const {
  return widgetFor(control)->isEnabled();
}

void JobEditorPanel::setEnabled(EditorControl control, bool on) {
  widgetFor(control)->setEnabled(on);
}

void JobEditorPanel::focus(EditorControl control) {
  widgetFor(control)->setFocus(Qt::OtherFocusReason);
}

JobType JobEditorPanel::type() const {
  if (urlTypeButton->isChecked()) return JobType::Url;
  if (fileTypeButton->isChecked()) return JobType::File;
  if (procTypeButton->isChecked()) return JobType::Proc;
  if (driveTypeButton->isChecked()) return JobType::Drive;
  return JobType::Url;
}

void JobEditorPanel::setType(JobType type) {
  QRadioButton* rb = type == JobType::File    ? fileTypeButton
                     : type == JobType::Proc  ? procTypeButton
                     : type == JobType::Drive ? driveTypeButton
                                              : urlTypeButton;
  rb->setChecked(true);
}

void JobEditorPanel::setTypeTexts(const std::string& targetLabel, const std::string& example,
                                  const std::string& previewCaption) {
  targetCaption->setText(fromCp932(targetLabel));
  targetExample->setText(fromCp932(example));
  previewButton->setText(fromCp932(previewCaption));
}

void JobEditorPanel::setMailGroupItems(int count) {
  mailGroupChoice->clear();
  for (int i = 1; i <= count; ++i) mailGroupChoice->addItem(QString::number(i));
  mailGroupChoice->setCurrentIndex(-1);
}

void JobEditorPanel::addMailGroupItem(const std::string& item) {
  const int selected = mailGroupChoice->currentIndex();
  mailGroupChoice->addItem(fromCp932(item));
  mailGroupChoice->setCurrentIndex(selected);
}

void JobEditorPanel::removeLastMailGroupItem() {
  const int last = mailGroupChoice->count() - 1;
  if (last < 0) return;
  const QSignalBlocker quiet(mailGroupChoice);
  // The group of the job being edited is gone: choose none rather than let
  // the list slide onto another group that a save would then store.
  const bool chosenGoes = mailGroupChoice->currentIndex() == last;
  mailGroupChoice->removeItem(last);
  if (chosenGoes) {
    mailGroupChoice->setCurrentIndex(-1);
    mailGroupNameLabel->clear();
  }
}

int JobEditorPanel::mailGroupIndex() const { return mailGroupChoice->currentIndex(); }

void JobEditorPanel::setMailGroupIndex(int index) {
  const QSignalBlocker quiet(mailGroupChoice);  // a change by the logic is not a user's choice
  mailGroupChoice->setCurrentIndex(index);
}

std::string JobEditorPanel::mailGroupName() const { return toCp932(mailGroupNameLabel->text()); }

void JobEditorPanel::setMailGroupName(const std::string& name) {
  mailGroupNameLabel->setText(fromCp932(name));
}

}  // namespace orvis::ui
