// How much work a check pass does per job: 1,000 FILE jobs over small
// folders, the half-second pause after each snapshot taken out by the fake
// clock. Once with nothing changed, once with every tenth folder changed
// (each a change reported, mailed and the baseline moved on). The figures
// are printed, not judged; the goal is under 5 ms of work per job.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <ctime>

#include "support/check_rig.h"

using namespace orvis;
using namespace orvis::testing;

namespace {

constexpr int kJobs = 1000;
constexpr int kFilesPerFolder = 5;

double cpuMs() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

void touch(const std::string& path, time_t t) {
  const struct timespec times[2] = {{t, 0}, {t, 0}};
  ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

void timePass(CheckRig& rig, const char* label) {
  const auto start = std::chrono::steady_clock::now();
  const double cpuStart = cpuMs();
  rig.check(1, kJobs);
  const double cpu = cpuMs() - cpuStart;
  const double wall =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::printf("%-36s %7.3f ms per job processor (%7.3f ms wall), %zu alerts in all\n", label,
              cpu / kJobs, wall / kJobs, rig.alerts.size());
}

}  // namespace

int main() {
  CheckRig rig;
  const time_t t0 = 1765000000;
  for (int n = 1; n <= kJobs; ++n) {
    const std::string no = std::to_string(n), folder = rig.path("targets/" + no);
    for (int f = 0; f < kFilesPerFolder; ++f) {
      writeText(folder + "/file" + std::to_string(f) + ".txt", "x");
      touch(folder + "/file" + std::to_string(f) + ".txt", t0);
    }
    rig.job(no, "FILE", folder);
    rig.baseline(no, rig.listing(folder));
  }
  std::printf("%d FILE jobs of %d files each; the pause after each snapshot is not waited\n", kJobs,
              kFilesPerFolder);
  rig.check(1, 1);  // starts the monitor
  timePass(rig, "pass, nothing changed:");
  for (int n = 10; n <= kJobs; n += 10)
    touch(rig.path("targets/" + std::to_string(n) + "/file0.txt"), t0 + 60);
  timePass(rig, "pass, every tenth folder changed:");
  return 0;
}
