#pragma once
// The running programs from /proc: a process's executable is the target of
// /proc/N/exe (readable for our own user's processes, or any as root), with
// the kernel's " (deleted)" mark dropped for a program replaced on disk
// while it runs, so that an upgrade is still found.

#include "monitor_processes.h"

namespace orvis::restart {

class ProcMonitorProcesses : public MonitorProcesses {
 public:
  std::vector<int> running(const std::string& programFile) const override;
  std::string sendSignal(int pid, int signal) override;
  bool ended(int pid) const override;
};

}  // namespace orvis::restart
