#include "proc_monitor_processes.h"

#include <signal.h>

#include <cerrno>
#include <cstring>

#include "platform/bytes.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/instance_lock.h"

namespace orvis::restart {

std::vector<int> ProcMonitorProcesses::running(const std::string& dataFolder) const {
  const auto holder = platform::lockHolder(dataFolder);
  if (!holder || holder->role != platform::lockRoleName(platform::LockRole::Monitor) ||
      ended(holder->pid))
    return {};
  return {holder->pid};
}

std::string ProcMonitorProcesses::sendSignal(int pid, int signal) {
  if (::kill(pid, signal) == 0) return {};
  return platform::toCp932(std::strerror(errno));
}

bool ProcMonitorProcesses::ended(int pid) const {
  auto stat = platform::readFile("/proc/" + std::to_string(pid) + "/stat");
  if (!stat) return true;
  // "pid (comm) S ...": the state follows the last ')', as comm may hold any.
  auto close = stat->rfind(')');
  if (close == std::string::npos || close + 2 >= stat->size()) return true;
  const char state = (*stat)[close + 2];
  return state == 'Z' || state == 'X';
}

}  // namespace orvis::restart
