#include "sys_log.h"

#include "platform/bytes.h"
#include "platform/codec.h"
#include "platform/files.h"

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
  // The names as listed: the one deleted is always the entry listed, never
  // another that its trimmed name might name.
  const std::vector<std::string> names = platform::listFolder(folder, mask, false);
  // A negative count keeps nothing, as 0 does.
  size_t toKeep = 10;
  if (auto n = platform::parseInt(keep)) toKeep = *n > 0 ? static_cast<size_t>(*n) : 0;
  for (size_t first = 0; names.size() - first > toKeep; ++first) {
    std::string path = folder + names[first];
    platform::removeFile(path);
    log.write("Global,DeleteLog->" + platform::toCp932(path));
  }
}

}  // namespace orvis
