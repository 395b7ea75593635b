#pragma once
// Running monitors for the restart program's tests: each ends a set number
// of polls after the signal that ends it, or never (-1).

#include <signal.h>

#include <map>
#include <string>
#include <vector>

#include "reactivation/monitor_processes.h"

namespace orvis::testing {

struct FakeMonitorProcesses : restart::MonitorProcesses {
  struct Process {
    std::string folder;  // whose lock it holds
    int pollsAfterTerm = 0, pollsAfterKill = 0;
    int pollsLeft = -1;  // counting down once signalled
  };
  std::vector<int> running(const std::string& dataFolder) const override {
    std::vector<int> pids;
    for (const auto& [pid, p] : processes)
      if (p.folder == dataFolder) pids.push_back(pid);
    return pids;
  }
  std::string sendSignal(int pid, int signal) override {
    if (refused) return "Operation not permitted";
    Process& p = processes.at(pid);
    const int polls = signal == SIGKILL ? p.pollsAfterKill : p.pollsAfterTerm;
    if (polls >= 0 && (p.pollsLeft < 0 || polls < p.pollsLeft)) p.pollsLeft = polls;
    return {};
  }
  bool ended(int pid) const override {
    Process& p = processes.at(pid);
    if (p.pollsLeft <= 0) return p.pollsLeft == 0;
    return --p.pollsLeft, false;
  }
  mutable std::map<int, Process> processes;
  bool refused = false;
};

}  // namespace orvis::testing
