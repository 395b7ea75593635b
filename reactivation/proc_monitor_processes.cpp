#include "proc_monitor_processes.h"

#include <dirent.h>
#include <signal.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/bytes.h"
#include "platform/codec.h"
#include "platform/files.h"

namespace orvis::restart {
namespace {

std::string executableOf(int pid) {
  std::error_code ec;
  std::string target =
      std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/exe", ec).string();
  if (ec) return {};
  const std::string deleted = " (deleted)";
  if (target.ends_with(deleted) && !platform::pathExists(target))
    target.resize(target.size() - deleted.size());
  return target;
}

}  // namespace

std::vector<int> ProcMonitorProcesses::running(const std::string& programFile) const {
  std::error_code ec;
  std::string wanted = std::filesystem::weakly_canonical(programFile, ec).string();
  if (ec) wanted = programFile;
  std::vector<int> pids;
  DIR* proc = ::opendir("/proc");
  if (!proc) return pids;
  while (dirent* entry = ::readdir(proc)) {
    auto pid = platform::parseInt(entry->d_name);
    if (!pid || *pid <= 0 || ended(*pid)) continue;
    if (executableOf(*pid) == wanted) pids.push_back(*pid);
  }
  ::closedir(proc);
  std::sort(pids.begin(), pids.end());
  return pids;
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
