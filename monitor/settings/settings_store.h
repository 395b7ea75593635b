#pragma once
// ORVIS.ini and its in-memory copies: read once at start-up with the
// defaults, read again after the settings dialog saved, and the mail group
// count that the group buttons change.

#include <string>

#include "monitor/shell/ini_access.h"
#include "settings.h"

namespace orvis {

class SettingsStore {
 public:
  SettingsStore(const IniAccess& ini, const std::string& dataFolder)
      : ini_(ini), path_(dataFolder + "ORVIS.ini") {}

  const Settings& current() const { return settings_; }
  Settings& current() { return settings_; }

  // The start-up read, key by key in its fixed order. An empty
  // MAILGROUPCOUNT becomes "1" and is written back at once.
  void loadAtStartup();

  // After the dialog has written the file: the operation settings and the
  // comparison rules again (the check period 30 when not a number).
  void reloadAfterSave();

  // The standard comparison rules alone, after the dialog has written them.
  void reloadComparisonRules();

  // Sets the mail group count and stores it at once.
  void setMailGroupCount(const std::string& count);

  // The reactivation time as read: "02:00" for empty or a lone ":".
  static std::string reactivationOrDefault(const std::string& stored);

 private:
  std::string read(const char* key);
  // The keys both reads share, in their order.
  void readOperationSettings(int defaultPeriod);

  const IniAccess& ini_;
  std::string path_;
  Settings settings_;
};

}  // namespace orvis
