// The editor's fields as the logic sees them.

#include <QAbstractButton>

#include "job_editor_panel.h"
#include "platform/bytes.h"
#include "qt_text.h"

namespace orvis::ui {

QWidget* JobEditorPanel::widgetFor(EditorControl c) const {
  switch (c) {
    case EditorControl::Number:
      return Edit1;
    case EditorControl::Target:
      return Edit2;
    case EditorControl::Name:
      return Edit4;
    case EditorControl::Subject:
      return txtUserMailSubject;
    case EditorControl::Body:
      return txtUserMailBody;
    case EditorControl::Word:
      return txtWord;
    case EditorControl::UseProxy:
      return chkUseProxy;
    case EditorControl::UseUserMail:
      return chkUseUserMail;
    case EditorControl::UserMailHtml:
      return chkUserMailHtml;
    case EditorControl::Kobetsu:
      return chkKobetsu;
    case EditorControl::Hikaku:
      return chkHikaku;
    case EditorControl::Script:
      return chkScript;
    case EditorControl::Comment:
      return chkComment;
    case EditorControl::Ref:
      return chkRef;
    case EditorControl::Src:
      return chkSrc;
    case EditorControl::Alt:
      return chkAlt;
    case EditorControl::Head:
      return chkHead;
    case EditorControl::WordCheck:
      return chkWord;
    case EditorControl::SubFolder:
      return chkSubFolder;
    case EditorControl::MailGroup:
      return cmbMailGroup;
  }
  return nullptr;
}

std::string JobEditorPanel::text(EditorControl field) const {
  if (auto* e = qobject_cast<QLineEdit*>(widgetFor(field))) return toCp932(e->text());
  if (field == EditorControl::Body) return toCp932(txtUserMailBody->toPlainText());
  return std::string();
}

void JobEditorPanel::setText(EditorControl field, const std::string& text) {
  if (auto* e = qobject_cast<QLineEdit*>(widgetFor(field))) e->setText(fromCp932(text));
  if (field == EditorControl::Body) txtUserMailBody->setPlainText(fromCp932(text));
}

std::vector<std::string> JobEditorPanel::bodyLines() const {
  // A memo's lines: an empty memo has none, a final line break adds none.
  return platform::splitLines(toCp932(txtUserMailBody->toPlainText()));
}

void JobEditorPanel::setBodyLines(const std::vector<std::string>& lines) {
  QStringList list;
  for (const auto& l : lines) list << fromCp932(l);
  txtUserMailBody->setPlainText(list.join('\n'));
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
  if (rbUrl->isChecked()) return JobType::Url;
  if (rbFile->isChecked()) return JobType::File;
  if (rbProc->isChecked()) return JobType::Proc;
  if (rbDrive->isChecked()) return JobType::Drive;
  return JobType::Url;
}

void JobEditorPanel::setType(JobType type) {
  QRadioButton* rb = type == JobType::File    ? rbFile
                     : type == JobType::Proc  ? rbProc
                     : type == JobType::Drive ? rbDrive
                                              : rbUrl;
  rb->setChecked(true);
}

void JobEditorPanel::setTypeTexts(const std::string& targetLabel, const std::string& example,
                                  const std::string& previewCaption) {
  Label7->setText(fromCp932(targetLabel));
  Label5->setText(fromCp932(example));
  SpeedButton17->setText(fromCp932(previewCaption));
}

void JobEditorPanel::setMailGroupItems(int count) {
  cmbMailGroup->clear();
  for (int i = 1; i <= count; ++i) cmbMailGroup->addItem(QString::number(i));
  cmbMailGroup->setCurrentIndex(-1);
}

void JobEditorPanel::addMailGroupItem(const std::string& item) {
  const int selected = cmbMailGroup->currentIndex();
  cmbMailGroup->addItem(fromCp932(item));
  cmbMailGroup->setCurrentIndex(selected);
}

void JobEditorPanel::removeLastMailGroupItem() {
  if (cmbMailGroup->count() > 0) cmbMailGroup->removeItem(cmbMailGroup->count() - 1);
}

int JobEditorPanel::mailGroupIndex() const { return cmbMailGroup->currentIndex(); }

void JobEditorPanel::setMailGroupIndex(int index) {
  const QSignalBlocker quiet(cmbMailGroup);  // a change by the logic is not a user's choice
  cmbMailGroup->setCurrentIndex(index);
}

std::string JobEditorPanel::mailGroupName() const { return toCp932(pnlMailGroup->text()); }

void JobEditorPanel::setMailGroupName(const std::string& name) {
  pnlMailGroup->setText(fromCp932(name));
}

}  // namespace orvis::ui
