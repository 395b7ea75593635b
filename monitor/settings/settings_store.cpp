#include "settings_store.h"

#include "platform/bytes.h"

namespace orvis {

std::string SettingsStore::read(const char* key) { return ini_.read(path_, "COMMON", key); }

namespace {
// A period below one minute would make the check timer fire without pause
// (or not at all); it counts as not a number.
int periodOr(const std::string& text, int fallback) {
  auto minutes = platform::parseInt(text);
  return (minutes && *minutes >= 1) ? *minutes : fallback;
}
}  // namespace

std::string SettingsStore::reactivationOrDefault(const std::string& stored) {
  return (stored.empty() || stored == ":") ? std::string("02:00") : stored;
}

void SettingsStore::reloadComparisonRules() {
  settings_.sourceCheck = read("SOURCE_CHECK");
  settings_.scriptIgnore = read("SCRIPT_IGNORE");
  settings_.commentIgnore = read("COMMENT_IGNORE");
  settings_.hrefIgnore = read("HREF_IGNORE");
  settings_.srcIgnore = read("SRC_IGNORE");
  settings_.altIgnore = read("ALT_IGNORE");
  settings_.headIgnore = read("HEAD_IGNORE");
}

void SettingsStore::readOperationSettings(int defaultPeriod) {
  settings_.validDay = read("VALIDDAY");
  settings_.playCount = read("PLAYCOUNTDISCON");
  settings_.buzzerDevice = read("BUZZERDEVICE");
  settings_.checkInterval = periodOr(read("CHECKINTERVAL"), defaultPeriod);
  settings_.reactivation = reactivationOrDefault(read("REACTIVATION"));
  reloadComparisonRules();
  settings_.metricsFile = platform::trim(read("METRICSFILE"));
}

void SettingsStore::loadAtStartup() {
  ini_.noteRepeatedSections(path_);
  readOperationSettings(60);
  if (settings_.sourceCheck.empty()) settings_.sourceCheck = "YES";
  settings_.mailGroupCount = read("MAILGROUPCOUNT");
  if (settings_.mailGroupCount.empty()) {
    settings_.mailGroupCount = "1";
    ini_.write(path_, "COMMON", "MAILGROUPCOUNT", "1");
  }
}

void SettingsStore::reloadAfterSave() { readOperationSettings(30); }

void SettingsStore::setMailGroupCount(const std::string& count) {
  settings_.mailGroupCount = count;
  ini_.write(path_, "COMMON", "MAILGROUPCOUNT", count);
}

}  // namespace orvis
