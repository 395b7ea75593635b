#pragma once
// What the host program provides the monitor: the data folder and the
// folder of its companion programs, how the monitor was started, and the system around it (clock,
// message pump, message boxes, processes, disks, the sound output of the alarm).

#include <string>

#include "platform/clock.h"
#include "platform/disk_space_reader.h"
#include "platform/process_launcher.h"
#include "platform/process_lister.h"
#include "platform/pump.h"
#include "platform/sound_output.h"
#include "prompter.h"
#include "start_info.h"

namespace orvis {

struct MonitorHost {
  std::string dataFolder;  // with a trailing '/'
  StartInfo start;
  platform::Clock& clock;
  platform::Pump& pump;
  Prompter& prompter;
  platform::ProcessLauncher& launcher;
  const platform::ProcessLister& processes;
  const platform::DiskSpaceReader& disks;
  platform::SoundOutput& sound;
  // Where urlcheck, alertmail and Reactivation lie, with a trailing '/';
  // empty: in the data folder (an installed folder holds both).
  std::string programFolder = {};
};

}  // namespace orvis
