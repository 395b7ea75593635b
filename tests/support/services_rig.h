#pragma once
// The monitor's shared services on fakes, in a data folder of their own:
// for tests of one part of the logic at a time.

#include "fake_clock.h"
#include "fake_processes.h"
#include "fake_prompter.h"
#include "fake_sound_output.h"
#include "monitor/shell/services.h"
#include "temp_dir.h"

namespace orvis::testing {

struct ServicesRig {
  explicit ServicesRig(std::vector<std::string> a = {})
      : args(std::move(a)), host{dir.path(), StartInfo::fromArguments(args),
                                 clock,      pump,
                                 prompter,   launcher,
                                 processes,  disks,
                                 sound} {}

  std::string path(const std::string& rel) const { return dir.path() + rel; }
  // The system log so far, without time stamps and the "(OrvisWatch)," tag, UTF-8.
  std::vector<std::string> logLines() const;
  // This rig's host in another data folder, or over other system parts.
  MonitorHost hostWith(std::string dataFolder, platform::ProcessLauncher& otherLauncher,
                       const platform::ProcessLister& otherProcesses,
                       const platform::DiskSpaceReader& otherDisks) {
    return {std::move(dataFolder), host.start,     clock,      pump, prompter,
            otherLauncher,         otherProcesses, otherDisks, sound};
  }

  std::vector<std::string> args;
  TempDir dir;
  FakeClock clock;
  FakePump pump;
  FakePrompter prompter;
  FakeLauncher launcher;
  FakeProcessLister processes;
  FakeDiskSpace disks;
  FakeSoundOutput sound;
  const MonitorHost host;
  Services services{host};
};

}  // namespace orvis::testing
