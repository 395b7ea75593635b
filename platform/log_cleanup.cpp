#include "log_cleanup.h"

#include "bytes.h"
#include "codec.h"
#include "files.h"
#include "ini_file.h"

namespace orvis::platform {

size_t dayFilesToKeep(const std::string& keep) {
  if (auto n = parseInt(keep)) return *n > 0 ? static_cast<size_t>(*n) : 0;
  return 10;
}

std::string validDaySetting(const std::string& dataFolder) {
  auto doc = loadIniFile(dataFolder + "ORVIS.ini");
  return doc ? doc->get("COMMON", "VALIDDAY").value_or(std::string()) : std::string();
}

void deleteOldDayFiles(const std::string& folder, const std::string& mask, const std::string& keep,
                       const std::function<void(const std::string& path)>& deleted) {
  // The names as listed: the one deleted is always the entry listed.
  const std::vector<std::string> names = listFolder(folder, mask, false);
  const size_t toKeep = dayFilesToKeep(keep);
  std::string prefix = folder;
  if (!prefix.empty() && prefix.back() != '/') prefix += '/';
  for (size_t first = 0; names.size() - first > toKeep; ++first) {
    const std::string path = prefix + names[first];
    removeFile(path);
    deleted(path);
  }
}

void tidyLogFolders(const std::vector<std::string>& folders, const std::string& dataFolder,
                    const std::function<void(const std::string& line)>& log) {
  const std::string keep = validDaySetting(dataFolder);
  for (const std::string& folder : folders) {
    deleteOldDayFiles(folder, kDayFileMask, keep,
                      [&log](const std::string& path) { log("DeleteLog->" + toCp932(path)); });
  }
}

}  // namespace orvis::platform
