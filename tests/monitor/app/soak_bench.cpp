// A long run of the monitor logic: 1,000 automatic passes over a dozen jobs
// of every type, with their timers on the fake clock, pages, folders,
// processes and disks changing now and then (alerts mailed, baselines and
// generations moving on, the log cleaned after every pass). Prints the
// resident memory at pass 10 and at the last pass; the goal is growth under
// 1 MB. The figures are printed, not judged.

#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/files.h"
#include "support/check_rig.h"
#include "support/fake_timer_driver.h"
#include "support/process_memory.h"

using namespace orvis;
using namespace orvis::testing;

namespace {

constexpr int kPasses = 1000;

std::string page(int n, int pass) {
  return "<html><head><script>var t=" + std::to_string(pass) + ";</script></head><body>page " +
         std::to_string(n) + (pass % 7 == n ? " changed " + std::to_string(pass) : "") +
         "</body></html>\r\n";
}

// The data folder in memory where there is a memory file system: the figures
// are of the monitor, not of the disk's flushes.
std::string memoryFolder() {
  char name[] = "/dev/shm/orvis-soak-XXXXXX";
  if (!::mkdtemp(name)) return {};
  return std::string(name) + "/";
}

}  // namespace

int main() {
  const std::string folder = memoryFolder();
  CheckRig rig({}, folder);
  writeText(rig.path("ORVIS.ini"), "[COMMON]\r\nCHECKINTERVAL=1\r\nVALIDDAY=3\r\n");
  for (int n = 1; n <= 4; ++n) {
    const std::string no = std::to_string(n);
    rig.job(no, "URL", "http://example.com/" + no, {n == 2 ? "CHKWORD=1" : "", "WORD=changed"});
    rig.pages["http://example.com/" + no] = page(n, 0);
    rig.baseline(no, page(n, 0));
  }
  for (int n = 5; n <= 7; ++n) {
    const std::string no = std::to_string(n), folder = rig.path("watched/" + no);
    writeText(folder + "/a.txt", "a");
    rig.job(no, "FILE", folder);
    rig.baseline(no, rig.listing(folder));
  }
  rig.processes.entries = {{1, 0, "init"}, {300, 1, "daemon"}};
  for (int n = 8; n <= 10; ++n) {
    rig.job(std::to_string(n), "PROC", n == 8 ? "daemon" : "editor" + std::to_string(n));
    rig.baseline(std::to_string(n), "000001 000000 init\r\n000300 000001 daemon\r\n");
  }
  rig.job("11", "DRIVE", "/:10");
  rig.job("12", "DRIVE", "/data:50");
  rig.baseline("11", "40960\r\n");
  rig.baseline("12", "40960\r\n");

  rig.start();
  FakeTimerDriver& timers = rig.driveMonitorTimers();
  rig.monitor->autoCheck().startAutomaticMode();

  const auto began = std::chrono::steady_clock::now();
  long at10 = 0, alerts = 0;
  for (int pass = 1; pass <= kPasses; ++pass) {
    for (int n = 1; n <= 4; ++n)
      rig.pages["http://example.com/" + std::to_string(n)] = page(n, pass);
    if (pass % 5 == 0)
      writeText(rig.path("watched/" + std::to_string(5 + pass % 3) + "/a.txt"),
                std::to_string(pass));
    rig.processes.entries.resize(2);
    if (pass % 4 < 2) rig.processes.entries.push_back({400 + pass, 1, "editor9"});
    rig.disks.anyPath =
        platform::DiskSpace{100ull << 30, (pass % 9 == 0 ? 5ull : 40ull) << 30, 40ull << 30};
    timers.advance(*timers.dueIn(rig.monitor->timers().check));
    // What the fakes record is the rig's, not the monitor's.
    alerts += static_cast<long>(rig.alerts.size());
    rig.alerts.clear();
    rig.launcher.launches.clear();
    rig.shell.editControlsHistory.clear();
    rig.tray.events.clear();
    if (pass == 10) at10 = processMemoryKb("VmRSS");
  }
  const long atEnd = processMemoryKb("VmRSS");
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  std::printf("%d automatic passes over 12 jobs in %.1f s (%.2f ms per pass), %ld alerts mailed\n",
              kPasses, seconds, seconds * 1000 / kPasses, alerts);
  std::printf("resident memory: %ld kB at pass 10, %ld kB at pass %d, growth %ld kB\n", at10, atEnd,
              kPasses, atEnd - at10);
  std::printf("day files kept in syslog/: %zu\n",
              platform::listFolder(rig.path("syslog"), "*.txt").size());
  rig.monitor.reset();
  if (!folder.empty()) std::filesystem::remove_all(folder);
  return 0;
}
