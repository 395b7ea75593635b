#include "sys_log.h"

#include "platform/bytes.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/log_cleanup.h"

namespace orvis {

SysLog::SysLog(const std::string& dataFolder, const platform::Clock& clock)
    : log_(dataFolder + "syslog/", "OrvisWatch", clock) {}

void deleteOldLogFiles(const SysLog& log, const std::string& mask, const std::string& keep) {
  log.write("Global," + SJIS("syslog整理"));
  log.write("Global," + keep + SJIS("<-有効ファイル数"));
  if (mask.find('?') == std::string::npos) {
    log.write("Global," + SJIS("指定ファイル種別不正"));
    return;
  }
  const std::string& folder = log.folder();
  if (!platform::folderExists(folder)) platform::makeFolders(folder);
  platform::deleteOldDayFiles(folder, mask, keep, [&log](const std::string& path) {
    log.write("Global,DeleteLog->" + platform::toCp932(path));
  });
}

void deleteLeftTemporaries(const SysLog& log, const std::string& dataFolder) {
  // The data folder holds more than the monitor's files: only its own.
  const std::pair<const char*, const char*> places[] = {
      {"", "ORVIS.ini"}, {"", "Mode.tmp"}, {"info/", "*"},     {"src/", "*"},
      {"word/", "*"},    {"mail/", "*"},   {"userMail/", "*"},
  };
  for (const auto& [folder, names] : places)
    for (const std::string& path : platform::removeLeftTemporaries(dataFolder + folder, names, 600))
      log.write("Global,DeleteTemp->" + platform::toCp932(path));
}

}  // namespace orvis
