#pragma once
// The monitor's shared services on fakes, in a data folder of their own:
// for tests of one part of the logic at a time.

#include "fake_clock.h"
#include "fake_processes.h"
#include "fake_prompter.h"
#include "monitor/shell/services.h"
#include "temp_dir.h"

namespace orvis::testing {

struct ServicesRig {
  explicit ServicesRig(std::vector<std::string> a = {})
      : args(std::move(a)), services{dir.path(), StartInfo::fromArguments(args),
                                     clock,      pump,
                                     log,        boxes,
                                     ini,        launcher,
                                     processes,  disks} {}

  std::string path(const std::string& rel) const { return dir.path() + rel; }
  // The system log so far, without time stamps and the "(OrvisWatch)," tag, UTF-8.
  std::vector<std::string> logLines() const;

  std::vector<std::string> args;
  TempDir dir;
  FakeClock clock;
  FakePump pump;
  FakePrompter prompter;
  FakeLauncher launcher;
  FakeProcessLister processes;
  FakeDiskSpace disks;
  SysLog log{dir.path(), clock};
  MessageBoxes boxes{log, prompter, StartInfo::fromArguments(args).isService()};
  IniAccess ini{boxes, clock};
  Services services;
};

}  // namespace orvis::testing
