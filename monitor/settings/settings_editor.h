#pragma once
// The settings dialog's logic: refills every control from ORVIS.ini,
// mail/Postiva.ini and the mail group files at each show, checks and stores
// the settings on "確定", keeps the mail groups and their recipient lists,
// and asks before the dialog closes.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "mail_groups.h"
#include "monitor/catalogue/job_editor_view.h"
#include "monitor/shell/desktop_opener.h"
#include "monitor/shell/services.h"
#include "monitor/shell/shell_state.h"
#include "monitor/shell/shell_view.h"
#include "monitor/shell/start_info.h"
#include "settings_editor_view.h"
#include "settings_store.h"

namespace orvis {

class SettingsEditor {
 public:
  // The names of the sound output devices: 0 and the names, or -1 (names
  // untouched) when the system has none.
  using DeviceNames = std::function<int(std::vector<std::string>& names)>;

  // What of the main window the dialog changes: the job editor's mail group
  // selector and the check period field.
  struct MainWindowParts {
    JobEditorView& jobEditor;
    ShellView& shell;
  };

  SettingsEditor(const Services& services, const StartInfo& start, const ShellState& state,
                 SettingsStore& store, SettingsEditorView& view, MainWindowParts main,
                 DeviceNames devices);

  // The dialog is shown: every control from the files.
  void refill();
  // "確定": asks, checks the fields in order and stores them.
  void saveSettings();
  // "閉じる" asks the window to close; confirmClose says whether it may.
  void requestClose() { view_.closeWindow(); }
  bool confirmClose();

  void compareContentToggled();
  void smtpTypeChosen();

  // The mail groups: add one, delete the last, choose one, and store the
  // recipient list of the chosen one.
  void addMailGroup();
  void deleteLastMailGroup();
  void mailGroupChosen();
  void saveRecipients();

  // The Java runtime's check page, opened with the desktop's handler.
  void openJavaCheckPage();

  // The device list's items when the system has no output device.
  static std::vector<std::string> initialDeviceItems();
  static constexpr const char* kDefaultUserAgent = "NewORVIS Connection";

 private:
  // A stored value for a control; one that cannot be read is noted, so that
  // the store leaves it as it is stored unless the control was changed.
  std::string readFor(SettingsControl control, const std::string& path, const std::string& section,
                      const std::string& key);
  std::string readCommon(SettingsControl control, const char* key);
  // What a control shows, as one text (a box as "1" or "0").
  std::string shownState(SettingsControl control) const;
  bool leftAsStored(SettingsControl control) const;
  int groupCount() const;
  void fillOperationSettings();
  void fillMailAccount();
  void fillComparisonRules();
  void fillMailGroups();
  // The first failed check: its message shown and its field focused.
  bool fieldsValid();
  void writeOperationSettings();
  void writeMailAccount();
  void writeComparisonRules();
  bool ask(const std::string& question);
  void refuse(const std::string& message, SettingsControl focus);
  void tell(const std::string& message);

  const Services& s_;
  const StartInfo& start_;
  const ShellState& state_;
  SettingsStore& store_;
  SettingsEditorView& view_;
  MainWindowParts main_;
  DeviceNames devices_;
  MailGroups groups_;
  DesktopOpener opener_;
  std::string iniPath_;
  std::string postivaPath_;
  // The controls whose value could not be read at the last show, with what
  // they showed then.
  std::map<SettingsControl, std::string> unread_;
};

}  // namespace orvis
