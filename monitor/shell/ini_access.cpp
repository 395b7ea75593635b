#include "ini_access.h"

#include "platform/files.h"

namespace orvis {

void IniAccess::giveUp() const { boxes_.show("Access fail to inifile.", "OrvisWatch", mb::OK); }

bool IniAccess::pauseBeforeRetry(int& failures) const {
  if (++failures >= kAttempts || stop_.raised()) return false;
  clock_.sleepMs(kPauseMs);
  return true;
}

int IniAccess::write(const std::string& path, const std::string& section, const std::string& key,
                     const std::string& value, platform::FileAccess access) const {
  for (int failures = 0;;) {
    auto doc = platform::loadIniFile(path);
    if (doc) {
      doc->set(section, key, value);
      // The whole file is replaced at once, so a cut-off write never leaves
      // half a file behind.
      if (platform::saveIniFile(path, *doc, access)) return 0;
    }
    if (!pauseBeforeRetry(failures)) break;
  }
  giveUp();
  return -1;
}

std::string IniAccess::read(const std::string& path, const std::string& section,
                            const std::string& key) const {
  static const std::string kRetry = "retry";
  for (int failures = 0;;) {
    if (!platform::pathExists(path)) return std::string();
    auto doc = platform::loadIniFile(path);
    std::string value = doc ? doc->get(section, key).value_or(std::string()) : kRetry;
    if (value != kRetry) return value;
    if (!pauseBeforeRetry(failures)) break;
  }
  giveUp();
  return std::string();
}

std::optional<platform::IniDocument> IniAccess::loadOnce(const std::string& path) const {
  return platform::loadIniFile(path);
}

}  // namespace orvis
