#pragma once
// What every part of the monitor's logic works with: the data folder, the
// kind of start, the clock, the pump, the log, message boxes, INI access,
// and the system's processes and disks.

#include <string>
#include <string_view>

#include "ini_access.h"
#include "message_boxes.h"
#include "platform/clock.h"
#include "platform/disk_space_reader.h"
#include "platform/process_launcher.h"
#include "platform/process_lister.h"
#include "platform/pump.h"
#include "start_info.h"
#include "sys_log.h"

namespace orvis {

struct Services {
  std::string dataFolder;  // with a trailing '/'
  StartInfo start;
  platform::Clock& clock;
  platform::Pump& pump;
  SysLog& log;
  MessageBoxes& boxes;
  IniAccess& ini;
  platform::ProcessLauncher& launcher;
  const platform::ProcessLister& processes;
  const platform::DiskSpaceReader& disks;

  // A path under the data folder.
  std::string path(std::string_view relative) const { return dataFolder + std::string(relative); }
  std::string orvisIni() const { return path("ORVIS.ini"); }
};

}  // namespace orvis
