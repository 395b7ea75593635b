#pragma once
// Child processes, the process list and disk space, faked: a launch is
// recorded, its "child" runs for a set number of 50 ms waits and then does
// whatever the test says it does (write a snapshot file, say) and ends.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/disk_space_reader.h"
#include "platform/process_launcher.h"
#include "platform/process_lister.h"

namespace orvis::testing {

class FakeLauncher : public platform::ProcessLauncher {
 public:
  struct Launch {
    std::string commandLine;
    std::string workingFolder;
    platform::WindowMode mode;
  };

  platform::LaunchResult launch(const std::string& commandLine, const std::string& workingFolder,
                                platform::WindowMode mode) override;

  // What the child does when it ends (runs once, at its end).
  std::function<void(const Launch&)> onRun;
  // How many waits answer 258 before the child ends.
  int waitsBeforeEnd = 1;
  // Launches fail (the program cannot be started) while this is set.
  bool failing = false;
  // What an ended child's exit status says.
  int exitStatus = 0;

  // Runs at every wait, before its answer (the child's own time passing).
  std::function<void()> onWait;

  std::vector<Launch> launches;
  int waits = 0;
  int closes = 0;
  int terminations = 0;
};

class FakeProcessLister : public platform::ProcessLister {
 public:
  std::vector<platform::ProcessEntry> list() const override { return entries; }
  std::vector<platform::ProcessEntry> entries;
};

class FakeDiskSpace : public platform::DiskSpaceReader {
 public:
  std::optional<platform::DiskSpace> read(const std::string& path) const override {
    auto it = disks.find(path);
    if (it != disks.end()) return it->second;
    if (anyPath) return *anyPath;
    return std::nullopt;
  }
  std::map<std::string, platform::DiskSpace> disks;
  std::optional<platform::DiskSpace> anyPath =
      platform::DiskSpace{100ull << 30, 40ull << 30, 40ull << 30};
};

}  // namespace orvis::testing
