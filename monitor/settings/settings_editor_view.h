#pragma once
// The settings dialog's controls as the logic reads and sets them. Texts
// are CP932.

#include <string>
#include <vector>

namespace orvis {

// Every control of the dialog, by what it holds.
enum class SettingsControl {
  LogDays,             // txtIniValidday
  CheckInterval,       // txtIniCheckInterval
  ReactivationHour,    // txtIniReactivationHour
  ReactivationMinute,  // txtIniReactivationMin
  BuzzerDevice,        // cmbIniBuzzerDevice
  PlayCount,           // CmbIniPlayCountDiscon
  CompareContent,      // CheckBox1
  IgnoreScript,        // CheckBox2
  IgnoreComment,       // CheckBox3
  IgnoreLinks,         // CheckBox4
  IgnoreSrc,           // CheckBox5
  IgnoreAlt,           // CheckBox6
  IgnoreHead,          // CheckBox7
  UserAgent,           // txtUserAgent
  SmtpType,            // CmbSmtp
  SmtpUser,            // txtSmtpId
  SmtpPassword,        // txtSmtpPwd
  SmtpServer,          // Edit1
  SmtpPort,            // txtSmtpPort
  ClientName,          // Edit2
  SenderAddress,       // Edit3
  SenderName,          // txtMailName
  NewGroupName,        // txtMailGroup
  MailGroup,           // cmbMailGroup
  GroupName,           // pnlMailGroup
  Recipients,          // Memo1
  ProxyAddress,        // txtProxyIp
  ProxyPort,           // txtProxyPort
  JavaCheckAddress,    // Edit4
};

class SettingsEditorView {
 public:
  virtual ~SettingsEditorView() = default;

  // The one-line fields and the group name; for a list, the text of the
  // chosen item (empty when none is chosen).
  virtual std::string text(SettingsControl control) const = 0;
  virtual void setText(SettingsControl control, const std::string& text) = 0;
  // The recipient list field, line by line.
  virtual std::vector<std::string> recipientLines() const = 0;
  virtual void setRecipientLines(const std::vector<std::string>& lines) = 0;

  virtual bool checked(SettingsControl box) const = 0;
  virtual void setChecked(SettingsControl box, bool on) = 0;
  virtual void setEnabled(SettingsControl control, bool on) = 0;
  virtual void focus(SettingsControl control) = 0;

  // The drop-down lists: their items and the chosen position (-1 for none).
  // Adding or removing an item leaves the choice alone unless the chosen
  // item goes, which leaves none chosen.
  virtual std::vector<std::string> items(SettingsControl list) const = 0;
  virtual void setItems(SettingsControl list, const std::vector<std::string>& items) = 0;
  virtual void addItem(SettingsControl list, const std::string& item) = 0;
  virtual void removeLastItem(SettingsControl list) = 0;
  virtual int selectedIndex(SettingsControl list) const = 0;
  virtual void setSelectedIndex(SettingsControl list, int index) = 0;

  virtual void closeWindow() = 0;
};

}  // namespace orvis
