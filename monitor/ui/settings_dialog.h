#pragma once
// The settings dialog: a non-modal window of fixed size, centred on the
// desktop, hidden and shown, never destroyed while the monitor runs. It owns
// the widgets and hands every event to the settings editor.

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>
#include <functional>
#include <memory>

#include "monitor/settings/settings_editor.h"
#include "monitor/settings/settings_editor_view.h"

namespace orvis::ui {

class ElidedLabel;
class MainWindow;

class SettingsDialog : public QDialog, public SettingsEditorView {
  Q_OBJECT
 public:
  // The editor works on the main window's monitor, its job editor's mail
  // group selector and its check period field.
  explicit SettingsDialog(MainWindow& owner);
  ~SettingsDialog() override;

  // Shows the dialog in the middle of the desktop, or brings it to the
  // front (restored when minimised) when it shows already.
  void showCentred();

  SettingsEditor& editor() { return *editor_; }

  // SettingsEditorView
  std::string text(SettingsControl control) const override;
  void setText(SettingsControl control, const std::string& text) override;
  std::vector<std::string> recipientLines() const override;
  void setRecipientLines(const std::vector<std::string>& lines) override;
  bool checked(SettingsControl box) const override;
  void setChecked(SettingsControl box, bool on) override;
  void setEnabled(SettingsControl control, bool on) override;
  void focus(SettingsControl control) override;
  std::vector<std::string> items(SettingsControl list) const override;
  void setItems(SettingsControl list, const std::vector<std::string>& items) override;
  void addItem(SettingsControl list, const std::string& item) override;
  void removeLastItem(SettingsControl list) override;
  int selectedIndex(SettingsControl list) const override;
  void setSelectedIndex(SettingsControl list, int index) override;
  void closeWindow() override { close(); }

  QWidget* widgetFor(SettingsControl control) const;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  // Escape closes as "閉じる" does, with its question.
  void reject() override { close(); }

 private:
  void buildWidgets();
  QWidget* buildOperationArea();
  QWidget* buildMailArea();
  QWidget* buildProxyArea();
  void wireEvents();
  void onClick(QAbstractButton* button, std::function<void()> action);
  QComboBox* list(SettingsControl control) const;

  std::function<void(const std::function<void()>&)> guard_;
  std::function<bool()> monitorEnding_;

  QLineEdit* javaCheckAddressField_;  // Edit4
  QToolButton* javaCheckButton_;      // SpeedButton3
  // Basic operation.
  QLineEdit* logDaysField_;             // txtIniValidday
  QLineEdit* checkIntervalField_;       // txtIniCheckInterval
  QLineEdit* reactivationHourField_;    // txtIniReactivationHour
  QLineEdit* reactivationMinuteField_;  // txtIniReactivationMin
  QComboBox* buzzerDeviceChoice_;       // cmbIniBuzzerDevice
  QComboBox* playCountChoice_;          // CmbIniPlayCountDiscon
  QCheckBox* compareContentBox_;        // CheckBox1
  QCheckBox* ignoreBoxes_[6];           // CheckBox2 to CheckBox7
  QLineEdit* userAgentField_;           // txtUserAgent
  // Mail sending.
  QComboBox* smtpTypeChoice_;          // CmbSmtp
  QLineEdit* smtpUserField_;           // txtSmtpId
  QLineEdit* smtpPasswordField_;       // txtSmtpPwd
  QLineEdit* smtpServerField_;         // Edit1
  QLineEdit* smtpPortField_;           // txtSmtpPort
  QLineEdit* clientNameField_;         // Edit2
  QLineEdit* senderAddressField_;      // Edit3
  QLineEdit* senderNameField_;         // txtMailName
  QLineEdit* newGroupNameField_;       // txtMailGroup
  QToolButton* addGroupButton_;        // SpeedButton4
  QToolButton* deleteGroupButton_;     // SpeedButton6
  QComboBox* mailGroupChoice_;         // cmbMailGroup
  ElidedLabel* mailGroupNameLabel_;    // pnlMailGroup
  QPlainTextEdit* recipientsField_;    // Memo1
  QToolButton* saveRecipientsButton_;  // SpeedButton5
  // Proxy.
  QLineEdit* proxyAddressField_;  // txtProxyIp
  QLineEdit* proxyPortField_;     // txtProxyPort
  QToolButton* confirmButton_;    // SpeedButton2
  QToolButton* closeButton_;      // SpeedButton1

  std::unique_ptr<SettingsEditor> editor_;
};

}  // namespace orvis::ui
