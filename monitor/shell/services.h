#pragma once
// What the parts of the monitor that reach into the system work with: the
// data folder, the clock, the pump, child processes, the process list and
// disks, and the log, message boxes and INI access made from the host.
// Parts that need less are handed just what they use.

#include <string>
#include <string_view>

#include "activity_counters.h"
#include "ini_access.h"
#include "message_boxes.h"
#include "monitor_host.h"
#include "platform/stop_flag.h"
#include "sys_log.h"

namespace orvis {

struct Services {
  explicit Services(const MonitorHost& host)
      : dataFolder(host.dataFolder),
        programFolder(host.programFolder.empty() ? host.dataFolder : host.programFolder),
        clock(host.clock),
        pump(host.pump),
        launcher(host.launcher),
        processes(host.processes),
        disks(host.disks),
        log(host.dataFolder, host.clock),
        boxes(log, host.prompter, host.start.isService(), stop),
        ini(boxes, host.clock, stop) {}
  Services(const Services&) = delete;
  Services& operator=(const Services&) = delete;

  // A path under the data folder.
  std::string path(std::string_view relative) const { return dataFolder + std::string(relative); }
  // A companion program (urlcheck, alertmail, Reactivation).
  std::string program(std::string_view name) const { return programFolder + std::string(name); }

  const std::string dataFolder;     // with a trailing '/'
  const std::string programFolder;  // with a trailing '/'
  platform::Clock& clock;
  platform::Pump& pump;
  platform::ProcessLauncher& launcher;
  const platform::ProcessLister& processes;
  const platform::DiskSpaceReader& disks;
  // Raised once the program is asked to end: every wait and pump gives up
  // (see StopRequest). The only member that changes.
  platform::StopFlag stop;
  // What went on since the start, for the metrics: counted where it
  // happens, by parts that otherwise only read the services.
  mutable ActivityCounters counters;
  const SysLog log;
  const MessageBoxes boxes;
  const IniAccess ini;
};

}  // namespace orvis
