#include "platform/data_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/files.h"

namespace orvis::platform {
namespace {

TEST(DataFolder, FromTheVariableElseTheProgramsFolder) {
  const std::string cwd = std::filesystem::current_path().string();
  struct Case {
    const char* value;  // nullptr: not set
    std::string folder;
  };
  const Case cases[] = {
      {nullptr, executableFolder()},   {"", executableFolder()},
      {"/var/lib/orvis", "/var/lib/orvis/"}, {"/var/lib/./orvis/", "/var/lib/orvis/"},
      {"data", cwd + "/data/"},
  };
  for (const Case& c : cases) {
    if (c.value) {
      ::setenv(kDataFolderVariable, c.value, 1);
    } else {
      ::unsetenv(kDataFolderVariable);
    }
    EXPECT_EQ(dataFolder(), c.folder) << (c.value ? c.value : "(unset)");
  }
  // Handed on to the programs started from here, absolute.
  ::setenv(kDataFolderVariable, "data", 1);
  EXPECT_EQ(settleDataFolder(), cwd + "/data/");
  EXPECT_EQ(std::string(std::getenv(kDataFolderVariable)), cwd + "/data/");
  ::unsetenv(kDataFolderVariable);
}

}  // namespace
}  // namespace orvis::platform
