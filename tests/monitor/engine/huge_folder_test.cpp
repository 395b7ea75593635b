// A FILE job over a million files (a thousand folders of a thousand), made
// in memory where there is a memory file system: captured, three files
// touched and one removed, then checked. Prints the time each step took and
// the peak resident memory; asserts only what the check found.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "monitor/engine/file_listing.h"
#include "support/check_rig.h"
#include "support/process_memory.h"

using namespace orvis;
using namespace orvis::testing;

namespace {

constexpr int kFolders = 1000, kFilesPerFolder = 1000;

std::string filePath(const std::string& target, int folder, int file) {
  char name[32];
  std::snprintf(name, sizeof name, "d%04d/f%04d.txt", folder, file);
  return target + name;
}

void setTime(const std::string& path, time_t t) {
  const struct timespec times[2] = {{t, 0}, {t, 0}};
  ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

class Stopwatch {
 public:
  double lap() {
    auto now = std::chrono::steady_clock::now();
    double s = std::chrono::duration<double>(now - last_).count();
    last_ = now;
    return s;
  }

 private:
  std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

}  // namespace

TEST(HugeFolder, AMillionFilesAreListedComparedAndReportedInTheirTurn) {
  char name[] = "/dev/shm/orvis-huge-XXXXXX";
  const bool inMemory = ::mkdtemp(name) != nullptr;
  TempDir fallback;
  const std::string root = inMemory ? std::string(name) + "/" : fallback.path();
  const std::string target = root + "target/";
  Stopwatch watch;
  const time_t t0 = 1765000000;
  for (int d = 0; d < kFolders; ++d) {
    std::filesystem::create_directories(
        std::filesystem::path(filePath(target, d, 0)).parent_path());
    for (int f = 0; f < kFilesPerFolder; ++f) {
      const std::string path = filePath(target, d, f);
      ::close(::open(path.c_str(), O_WRONLY | O_CREAT, 0644));
      setTime(path, t0);
    }
  }
  std::printf("made %d files in %.1f s\n", kFolders * kFilesPerFolder, watch.lap());

  {
    CheckRig rig;
    rig.job("1", "FILE", target.substr(0, target.size() - 1), {"CHKSUBFOLDER=1"});
    const platform::StopFlag never;
    const auto baseline =
        FileListing(rig.folder(), rig.pump, never).list(target.substr(0, target.size() - 1), true);
    ASSERT_TRUE(baseline.has_value());
    rig.baseline("1", *baseline);
    std::printf("baseline of %zu bytes listed in %.1f s\n", baseline->size(), watch.lap());
    for (int d : {3, 500, 999}) setTime(filePath(target, d, 7), t0 + 60);
    ::unlink(filePath(target, 42, 42).c_str());
    EXPECT_EQ(rig.check(1, 1), CheckPass::End::Completed);
    std::printf("check pass in %.1f s; peak resident memory %ld kB\n", watch.lap(),
                processMemoryKb("VmHWM"));
    ASSERT_EQ(rig.alerts.size(), 1u);
    EXPECT_EQ(rig.alerts[0].message, "ファイル更新を検出");
    const std::vector<std::string> log = rig.messages();
    EXPECT_EQ(std::count_if(log.begin(), log.end(),
                            [](const std::string& l) { return l.starts_with("[更新]"); }),
              3);
    EXPECT_EQ(std::count_if(log.begin(), log.end(),
                            [](const std::string& l) { return l.starts_with("[削除]"); }),
              1);
  }
  if (inMemory) std::filesystem::remove_all(name);
  std::printf("cleaned up in %.1f s\n", watch.lap());
}
