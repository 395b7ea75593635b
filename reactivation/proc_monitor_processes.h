#pragma once
// The running programs from the system: the monitor of a data folder is the
// holder of its instance lock, whichever program file it runs (a data folder
// apart from the programs, an upgrade replacing the file meanwhile).

#include "monitor_processes.h"

namespace orvis::restart {

class ProcMonitorProcesses : public MonitorProcesses {
 public:
  std::vector<int> running(const std::string& programFile) const override;
  std::string sendSignal(int pid, int signal) override;
  bool ended(int pid) const override;
};

}  // namespace orvis::restart
