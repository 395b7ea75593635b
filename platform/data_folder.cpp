#include "data_folder.h"

#include <cstdlib>
#include <filesystem>

#include "files.h"

namespace orvis::platform {

std::string dataFolder() {
  const char* given = std::getenv(kDataFolderVariable);
  if (given == nullptr || *given == '\0') return executableFolder();
  std::error_code ec;
  std::filesystem::path path = std::filesystem::absolute(given, ec);
  if (ec) path = given;
  std::string folder = path.lexically_normal().string();
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

std::string settleDataFolder() {
  std::string folder = dataFolder();
  ::setenv(kDataFolderVariable, folder.c_str(), 1);
  return folder;
}

}  // namespace orvis::platform
