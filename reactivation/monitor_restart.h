#pragma once
// The restart that the monitor asks for once a day: end the monitor that
// holds the data folder's lock, in order if it will (SIGTERM, up to a
// minute), by force if it will not (SIGKILL), then start it again from the
// program folder with its last mode restored ("OrvisWatch OrvisWatch"),
// detached, in the data folder. Every step goes to the log.

#include <string>
#include <vector>

#include "monitor_processes.h"
#include "platform/clock.h"
#include "platform/day_log.h"
#include "platform/process_launcher.h"

namespace orvis::restart {

struct RestartTimes {
  int pollMs = 100;
  // How long the monitor may take over its stop sequence.
  int orderlyEndMs = 60 * 1000;
  // How long a process killed by force may take to go.
  int forcedEndMs = 5 * 1000;
  // How long the new monitor is watched for an end at once (another
  // instance holding the lock, a broken installation).
  int startWatchMs = 2 * 1000;
};

class MonitorRestart {
 public:
  static constexpr const char* kMonitorProgram = "OrvisWatch";
  // Restores the mode the monitor was in.
  static constexpr const char* kStartParameter = "OrvisWatch";

  // `folder` is the data folder, `programFolder` the monitor's (each with a
  // trailing '/'), UTF-8 as the system names them.
  MonitorRestart(std::string folder, std::string programFolder, const platform::DayLog& log,
                 platform::Clock& clock, MonitorProcesses& processes,
                 platform::ProcessLauncher& launcher, RestartTimes times = {})
      : folder_(std::move(folder)),
        programFolder_(std::move(programFolder)),
        log_(log),
        clock_(clock),
        processes_(processes),
        launcher_(launcher),
        times_(times) {}

  // The whole restart: 0 when a new monitor was started, 1 when not.
  int run();

 private:
  void endRunningMonitors(const std::vector<int>& pids);
  // Waits up to `ms` for the processes to end; those still running.
  std::vector<int> waitForEnd(std::vector<int> pids, int ms);
  bool startMonitor();
  std::string program() const { return programFolder_ + kMonitorProgram; }

  std::string folder_;
  std::string programFolder_;
  const platform::DayLog& log_;
  platform::Clock& clock_;
  MonitorProcesses& processes_;
  platform::ProcessLauncher& launcher_;
  RestartTimes times_;
};

}  // namespace orvis::restart
