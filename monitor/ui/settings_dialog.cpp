#include "settings_dialog.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSignalBlocker>

#include "elided_label.h"
#include "main_window.h"
#include "qt_text.h"
#include "typing_limit.h"

namespace orvis::ui {

SettingsDialog::SettingsDialog(MainWindow& owner)
    : QDialog(nullptr),
      guard_([&owner, this](const std::function<void()>& f) { owner.runGuarded(f, this); }),
      monitorEnding_(
          [&owner] { return owner.stopped() || owner.monitor().stopRequest().requested(); }) {
  setObjectName("Form3");
  setWindowTitle(QStringLiteral("設定"));
  setModal(false);
  buildWidgets();
  setFixedSize(732, 688);
  Monitor& m = owner.monitor();
  editor_ = std::make_unique<SettingsEditor>(
      m.services(), m.start(), m.state(), m.settings(), *this,
      SettingsEditor::MainWindowParts{owner.jobEditor(), owner},
      [&m](std::vector<std::string>& names) { return m.alarmSound().outputDeviceNames(names); });
  wireEvents();
}

SettingsDialog::~SettingsDialog() = default;

void SettingsDialog::showCentred() {
  if (isVisible()) {
    // Brought back as it was left, edits and all.
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
    return;
  }
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  show();
}

void SettingsDialog::onClick(QAbstractButton* button, std::function<void()> action) {
  connect(button, &QAbstractButton::clicked, this, [this, action] { guard_(action); });
}

void SettingsDialog::wireEvents() {
  SettingsEditor& e = *editor_;
  onClick(confirmButton_, [&e] { e.saveSettings(); });
  onClick(closeButton_, [&e] { e.requestClose(); });
  onClick(compareContentBox_, [&e] { e.compareContentToggled(); });
  onClick(addGroupButton_, [&e] { e.addMailGroup(); });
  onClick(deleteGroupButton_, [&e] { e.deleteLastMailGroup(); });
  onClick(saveRecipientsButton_, [&e] { e.saveRecipients(); });
  onClick(javaCheckButton_, [&e] { e.openJavaCheckPage(); });
  connect(smtpTypeChoice_, &QComboBox::activated, this,
          [this, &e] { guard_([&e] { e.smtpTypeChosen(); }); });
  connect(mailGroupChoice_, &QComboBox::activated, this,
          [this, &e] { guard_([&e] { e.mailGroupChosen(); }); });
}

void SettingsDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Every show by the program reloads the files; a window restored from the
  // task bar keeps what is being edited.
  if (!event->spontaneous()) guard_([this] { editor_->refill(); });
}

void SettingsDialog::closeEvent(QCloseEvent* event) {
  // Once the monitor ends, nothing may ask any more: the dialog goes at once
  // (also when the end came while its own question was open).
  bool mayClose = monitorEnding_();
  if (!mayClose) guard_([this, &mayClose] { mayClose = editor_->confirmClose(); });
  if (mayClose || monitorEnding_())
    event->accept();
  else
    event->ignore();
}

// ---- SettingsEditorView -------------------------------------------------------

QWidget* SettingsDialog::widgetFor(SettingsControl control) const {
  using C = SettingsControl;
  switch (control) {
    case C::LogDays:
      return logDaysField_;
    case C::CheckInterval:
      return checkIntervalField_;
    case C::ReactivationHour:
      return reactivationHourField_;
    case C::ReactivationMinute:
      return reactivationMinuteField_;
    case C::BuzzerDevice:
      return buzzerDeviceChoice_;
    case C::PlayCount:
      return playCountChoice_;
    case C::CompareContent:
      return compareContentBox_;
    case C::IgnoreScript:
      return ignoreBoxes_[0];
    case C::IgnoreComment:
      return ignoreBoxes_[1];
    case C::IgnoreLinks:
      return ignoreBoxes_[2];
    case C::IgnoreSrc:
      return ignoreBoxes_[3];
    case C::IgnoreAlt:
      return ignoreBoxes_[4];
    case C::IgnoreHead:
      return ignoreBoxes_[5];
    case C::UserAgent:
      return userAgentField_;
    case C::SmtpType:
      return smtpTypeChoice_;
    case C::SmtpUser:
      return smtpUserField_;
    case C::SmtpPassword:
      return smtpPasswordField_;
    case C::SmtpServer:
      return smtpServerField_;
    case C::SmtpPort:
      return smtpPortField_;
    case C::ClientName:
      return clientNameField_;
    case C::SenderAddress:
      return senderAddressField_;
    case C::SenderName:
      return senderNameField_;
    case C::NewGroupName:
      return newGroupNameField_;
    case C::MailGroup:
      return mailGroupChoice_;
    case C::GroupName:
      return mailGroupNameLabel_;
    case C::Recipients:
      return recipientsField_;
    case C::ProxyAddress:
      return proxyAddressField_;
    case C::ProxyPort:
      return proxyPortField_;
    case C::JavaCheckAddress:
      return javaCheckAddressField_;
  }
  return nullptr;
}

QComboBox* SettingsDialog::list(SettingsControl control) const {
  return qobject_cast<QComboBox*>(widgetFor(control));
}

std::string SettingsDialog::text(SettingsControl control) const {
  QWidget* w = widgetFor(control);
  if (auto* e = qobject_cast<QLineEdit*>(w)) return toCp932(e->text());
  if (auto* c = qobject_cast<QComboBox*>(w)) return toCp932(c->currentText());
  if (auto* l = qobject_cast<QLabel*>(w)) return toCp932(l->text());
  return {};
}

void SettingsDialog::setText(SettingsControl control, const std::string& text) {
  QWidget* w = widgetFor(control);
  if (auto* e = qobject_cast<QLineEdit*>(w)) {
    setTextUncut(e, fromCp932(text));
    // A long address or account is told by its start.
    e->setCursorPosition(0);
  }
  if (w == mailGroupNameLabel_) mailGroupNameLabel_->setFullText(fromCp932(text));
}

std::vector<std::string> SettingsDialog::recipientLines() const {
  std::vector<std::string> lines;
  const QString all = recipientsField_->toPlainText();
  if (all.isEmpty()) return lines;
  for (const QString& line : all.split(QLatin1Char('\n'))) lines.push_back(toCp932(line));
  return lines;
}

void SettingsDialog::setRecipientLines(const std::vector<std::string>& lines) {
  QStringList all;
  for (const std::string& line : lines) all << fromCp932(line);
  recipientsField_->setPlainText(all.join(QLatin1Char('\n')));
}

bool SettingsDialog::checked(SettingsControl box) const {
  auto* b = qobject_cast<QCheckBox*>(widgetFor(box));
  return b && b->isChecked();
}

void SettingsDialog::setChecked(SettingsControl box, bool on) {
  if (auto* b = qobject_cast<QCheckBox*>(widgetFor(box))) b->setChecked(on);
}

void SettingsDialog::setEnabled(SettingsControl control, bool on) {
  widgetFor(control)->setEnabled(on);
}

void SettingsDialog::focus(SettingsControl control) {
  // The box that refused has just closed: the keyboard comes back to this
  // window, into the field.
  activateWindow();
  widgetFor(control)->setFocus(Qt::OtherFocusReason);
}

std::vector<std::string> SettingsDialog::items(SettingsControl control) const {
  std::vector<std::string> out;
  QComboBox* c = list(control);
  for (int i = 0; c && i < c->count(); ++i) out.push_back(toCp932(c->itemText(i)));
  return out;
}

void SettingsDialog::setItems(SettingsControl control, const std::vector<std::string>& items) {
  QComboBox* c = list(control);
  const QSignalBlocker quiet(c);
  c->clear();
  for (const std::string& item : items) c->addItem(fromCp932(item));
  c->setCurrentIndex(-1);
}

void SettingsDialog::addItem(SettingsControl control, const std::string& item) {
  QComboBox* c = list(control);
  const QSignalBlocker quiet(c);
  const int chosen = c->currentIndex();
  c->addItem(fromCp932(item));
  c->setCurrentIndex(chosen);
}

void SettingsDialog::removeLastItem(SettingsControl control) {
  QComboBox* c = list(control);
  if (c->count() == 0) return;
  const QSignalBlocker quiet(c);
  const int last = c->count() - 1;
  const int chosen = c->currentIndex();
  c->removeItem(last);
  c->setCurrentIndex(chosen == last ? -1 : chosen);
}

int SettingsDialog::selectedIndex(SettingsControl control) const {
  return list(control)->currentIndex();
}

void SettingsDialog::setSelectedIndex(SettingsControl control, int index) {
  QComboBox* c = list(control);
  const QSignalBlocker quiet(c);
  c->setCurrentIndex(index);
}

}  // namespace orvis::ui
