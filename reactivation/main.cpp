// Reactivation: started by the monitor, without arguments, when its daily
// restart is due (or by its test button). Ends the monitor of the data
// folder ($ORVIS_DATA, which the monitor hands on, else this program's
// folder) and starts it again from this program's folder; needs no display.

#include <csignal>
#include <cstdio>

#include "platform/clock.h"
#include "platform/data_folder.h"
#include "platform/day_log.h"
#include "platform/files.h"
#include "platform/log_cleanup.h"
#include "platform/open_file.h"
#include "platform/posix_process_launcher.h"
#include "reactivation/monitor_restart.h"
#include "reactivation/proc_monitor_processes.h"

int main(int argc, char** argv) {
  // It takes no arguments: "--help" or a typo must never restart a monitor.
  if (argc > 1) {
    std::fprintf(stderr,
                 "Usage: %s\n"
                 "Ends the monitor running from this folder and starts it again with its last\n"
                 "mode (\"OrvisWatch OrvisWatch\"); the monitor starts it for its daily restart.\n"
                 "It takes no arguments.\n",
                 argv[0]);
    return 2;
  }
  // The monitor that started us may end its session as it ends: we carry on.
  std::signal(SIGHUP, SIG_IGN);
  const std::string folder = orvis::platform::dataFolder();
  orvis::platform::SystemClock clock;
  orvis::platform::DayLog log(folder + "syslog/reactivation/", "Reactivation", clock);
  const orvis::platform::DataFolderGuard guard(
      folder, [&log](const std::string& line) { log.write(line); });
  orvis::platform::tidyLogFolders({log.folder()}, folder,
                                  [&log](const std::string& line) { log.write(line); });
  orvis::restart::ProcMonitorProcesses processes;
  orvis::platform::PosixProcessLauncher launcher;
  return orvis::restart::MonitorRestart(folder, orvis::platform::executableFolder(), log, clock,
                                        processes, launcher)
      .run();
}
