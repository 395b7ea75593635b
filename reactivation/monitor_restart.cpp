#include "monitor_restart.h"

#include <signal.h>

#include <algorithm>

#include "platform/bytes.h"
#include "platform/codec.h"
#include "platform/process_handle.h"

namespace orvis::restart {
namespace {

std::string monitorNamed(int pid) { return "OrvisWatch(pid=" + std::to_string(pid) + ")"; }

}  // namespace

int MonitorRestart::run() {
  log_.write(SJIS("Reactivation開始:") + platform::toCp932(folder_));
  std::vector<int> pids = processes_.running(folder_);
  if (pids.empty()) {
    log_.write(SJIS("実行中のOrvisWatchはありません。"));
  } else {
    endRunningMonitors(pids);
  }
  const bool started = startMonitor();
  log_.write(SJIS("Reactivation終了"));
  return started ? 0 : 1;
}

void MonitorRestart::endRunningMonitors(const std::vector<int>& pids) {
  std::vector<int> asked;
  for (int pid : pids) {
    const std::string error = processes_.sendSignal(pid, SIGTERM);
    if (error.empty()) {
      log_.write(monitorNamed(pid) + SJIS("に終了を要求しました。"));
      asked.push_back(pid);
    } else {
      log_.write(monitorNamed(pid) + SJIS("に終了を要求できません:") + error);
    }
  }
  std::vector<int> left = waitForEnd(asked, times_.orderlyEndMs);
  if (left.empty()) return;
  for (int pid : left) {
    log_.write(monitorNamed(pid) + SJIS("が") + std::to_string(times_.orderlyEndMs / 1000) +
               SJIS("秒以内に終了しないため、強制終了します。"));
    const std::string error = processes_.sendSignal(pid, SIGKILL);
    if (!error.empty()) log_.write(monitorNamed(pid) + SJIS("を強制終了できません:") + error);
  }
  // Whatever still runs holds the instance lock: the new start will say so
  // by ending at once.
  for (int pid : waitForEnd(left, times_.forcedEndMs))
    log_.write(monitorNamed(pid) + SJIS("が終了しません。"));
}

std::vector<int> MonitorRestart::waitForEnd(std::vector<int> pids, int ms) {
  for (int waited = 0;; waited += times_.pollMs) {
    for (auto it = pids.begin(); it != pids.end();) {
      if (processes_.ended(*it)) {
        log_.write(monitorNamed(*it) + SJIS("が終了しました。"));
        it = pids.erase(it);
      } else {
        ++it;
      }
    }
    if (pids.empty() || waited >= ms) return pids;
    clock_.sleepMs(times_.pollMs);
  }
}

bool MonitorRestart::startMonitor() {
  const std::string commandLine =
      platform::quoteArgument(program()) + " " + std::string(kStartParameter);
  platform::LaunchResult started =
      launcher_.launch(commandLine, folder_, platform::WindowMode::Detached);
  if (!started) {
    log_.write(SJIS("OrvisWatchを起動できません:") + started.error);
    return false;
  }
  const int pid = started.handle->pid();
  log_.write(monitorNamed(pid) + SJIS("を起動しました。"));
  if (started.handle->wait(times_.startWatchMs) == platform::kWaitObject0) {
    const auto code = started.handle->exitCode();
    log_.write(monitorNamed(pid) + SJIS("が起動直後に終了しました。終了コード:") +
               (code ? std::to_string(*code) : std::string("-")));
    started.handle->close();
    return false;
  }
  started.handle->close();
  return true;
}

}  // namespace orvis::restart
