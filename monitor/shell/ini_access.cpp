#include "ini_access.h"

#include <cerrno>
#include <cstring>

#include "platform/codec.h"
#include "platform/files.h"

namespace orvis {

void IniAccess::giveUp(const std::string& path, const std::string& why) const {
  // The box says only that access failed; the log says which file and why.
  boxes_.log().write(SJIS("INIファイルにアクセスできません:") + platform::toCp932(path) + "," +
                     why);
  boxes_.show("Access fail to inifile.", "OrvisWatch", mb::OK);
}

bool IniAccess::pauseBeforeRetry(int& failures) const {
  if (++failures >= kAttempts || stop_.raised()) return false;
  clock_.sleepMs(kPauseMs);
  return true;
}

int IniAccess::write(const std::string& path, const std::string& section, const std::string& key,
                     const std::string& value, platform::FileAccess access) const {
  return writeKey(path, section, key, value, access, false);
}

int IniAccess::writeExisting(const std::string& path, const std::string& section,
                             const std::string& key, const std::string& value) const {
  return writeKey(path, section, key, value, platform::FileAccess::Usual, true);
}

int IniAccess::writeKey(const std::string& path, const std::string& section, const std::string& key,
                        const std::string& value, platform::FileAccess access,
                        bool mustExist) const {
  std::string why;
  for (int failures = 0;;) {
    if (mustExist && !platform::pathExists(path)) return kMissing;
    auto doc = platform::loadIniFile(path);
    if (doc) {
      doc->set(section, key, value);
      // The whole file is replaced at once, so a cut-off write never leaves
      // half a file behind.
      if (platform::saveIniFile(path, *doc, access)) return 0;
      why = SJIS("書き込めません(") + std::strerror(errno) + ")";
    } else {
      why = platform::unreadableReason(path, platform::kSettingsFileLimit);
    }
    if (!pauseBeforeRetry(failures)) break;
  }
  giveUp(path, why);
  return -1;
}

std::string IniAccess::read(const std::string& path, const std::string& section,
                            const std::string& key) const {
  static const std::string kRetry = "retry";
  std::optional<platform::IniDocument> doc;
  for (int failures = 0;;) {
    if (!platform::pathExists(path)) return std::string();
    doc = platform::loadIniFile(path);
    std::string value = doc ? doc->get(section, key).value_or(std::string()) : kRetry;
    if (value != kRetry) return value;
    if (!pauseBeforeRetry(failures)) break;
  }
  giveUp(path, doc ? SJIS("値が\"retry\"です")
                   : platform::unreadableReason(path, platform::kSettingsFileLimit));
  return std::string();
}

void IniAccess::noteRepeatedSections(const std::string& path) const {
  auto doc = platform::loadIniFile(path);
  if (!doc) return;
  for (const auto& [section, count] : doc->repeatedSections())
    boxes_.log().write(platform::toCp932(path) + ":[" + section + "]" + SJIS("が") +
                       std::to_string(count) +
                       SJIS("回あります。各キーは最初に見つかった値を使います。"));
}

std::optional<platform::IniDocument> IniAccess::loadOnce(const std::string& path) const {
  return platform::loadIniFile(path);
}

}  // namespace orvis
