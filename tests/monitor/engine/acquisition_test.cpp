// The snapshots of the four job types: the common steps on fakes, and
// the snapshots of real targets (folders, processes, disks, a fetcher).

#include "monitor/engine/acquisition.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <deque>
#include <filesystem>

#include "monitor/engine/disk_free_space.h"
#include "platform/bytes.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/posix_process_launcher.h"
#include "platform/proc_process_lister.h"
#include "platform/statvfs_disk_space_reader.h"
#include "support/services_rig.h"

using namespace orvis;
using namespace orvis::testing;

namespace {

// A job as a job file of these texts loads.
JobRecord job(const std::string& type, const std::string& uri, const std::string& useProxy = "0",
              const std::string& subfolders = "0") {
  JobRecord r;
  r.number = "7";
  r.type = StoredValue<JobType>::fromText(type);
  r.target = uri;
  r.useProxy = StoredValue<Switch>::fromText(useProxy);
  r.includeSubfolders = StoredValue<Switch>::fromText(subfolders);
  return r;
}

struct AcquisitionRig : ServicesRig {
  AcquisitionRig() { platform::makeFolders(path("temp/")); }
  bool acquire(const JobRecord& row) {
    jobs.clear();
    jobs.append(row);
    return acquisition.acquireSnapshot(0);
  }
  std::string snapshot() const { return readText(path("temp/srctemp.txt")); }

  JobTable jobs;
  Acquisition acquisition{services, jobs};
};

// Free space readings in turn, and the paths asked for.
class ReadingsDisk : public platform::DiskSpaceReader {
 public:
  std::optional<platform::DiskSpace> read(const std::string& path) const override {
    asked.push_back(path);
    if (readings.empty()) return std::nullopt;
    uint64_t free = readings.front();
    readings.pop_front();
    return platform::DiskSpace{free * 2, free, free};
  }
  mutable std::deque<uint64_t> readings;
  mutable std::vector<std::string> asked;
};

constexpr uint64_t MB = 1024 * 1024;

TEST(Acquisition, UrlStartsTheFetcherHiddenAndWaitsPumpingForIt) {
  AcquisitionRig rig;
  rig.launcher.waitsBeforeEnd = 3;
  long sleptBeforeEnd = -1;
  int pumpsBeforeEnd = -1;
  rig.launcher.onRun = [&](const FakeLauncher::Launch&) {
    sleptBeforeEnd = rig.clock.totalSleptMs();
    pumpsBeforeEnd = rig.pump.count();
    writeText(rig.path("temp/srctemp.txt"), "<html></html>");
  };
  // Each word quoted where it needs it; a missing USEPROXY goes as "0".
  ASSERT_TRUE(rig.acquire(job("URL", "http://example.com/a b", "")));
  ASSERT_EQ(rig.launcher.launches.size(), 1u);
  const auto& launch = rig.launcher.launches[0];
  const std::string F = rig.dir.path();
  EXPECT_EQ(launch.commandLine,
            F + "urlcheck \"http://example.com/a b\" " + F + "temp/srctemp.txt 0");
  EXPECT_EQ(launch.workingFolder, F);
  EXPECT_EQ(launch.mode, platform::WindowMode::Hidden);
  // "起動成功", one pump and 500 ms before the wait; a pump after each time-out.
  EXPECT_EQ(rig.logLines(), std::vector<std::string>{"起動成功"});
  EXPECT_EQ(sleptBeforeEnd, 500);
  EXPECT_EQ(pumpsBeforeEnd, 1 + 3);
  EXPECT_EQ(rig.launcher.closes, 1);
  EXPECT_TRUE(rig.acquisition.snapshotTaken());
}

TEST(Acquisition, FetcherThatCannotStartIsNotLaunchedAndOnlyTheLogSaysWhy) {
  AcquisitionRig rig;
  writeText(rig.path("temp/srctemp.txt"), "old");
  rig.launcher.failing = true;
  EXPECT_FALSE(rig.acquire(job("URL", "http://example.com/")));
  EXPECT_FALSE(platform::pathExists(rig.path("temp/srctemp.txt")));
  // A job that is never checked must not go unnoticed.
  EXPECT_EQ(rig.logLines(), std::vector<std::string>{"7->urlcheckを起動できません:cannot start"});
  EXPECT_EQ(rig.clock.totalSleptMs(), 0);
  EXPECT_EQ(rig.pump.count(), 0);
}

TEST(Acquisition, EmptyFetchIsLaunchedButNoSnapshot) {
  AcquisitionRig rig;
  rig.launcher.onRun = [&](const FakeLauncher::Launch&) {
    writeText(rig.path("temp/srctemp.txt"), "");
  };
  EXPECT_TRUE(rig.acquire(job("URL", "http://example.com/")));
  EXPECT_FALSE(rig.acquisition.snapshotTaken());
}

TEST(Acquisition, ProcessLinesInListOrderWithSixDigitNumbers) {
  AcquisitionRig rig;
  rig.processes.entries = {{4, 0, "init"}, {1234, 4, sj("監視.exe")}, {1234567, 1234, "bad\nname"}};
  ASSERT_TRUE(rig.acquire(job("PROC", "notepad.exe")));
  EXPECT_EQ(rig.snapshot(), "000004 000000 init\r\n001234 000004 " + sj("監視.exe") +
                                "\r\n1234567 001234 bad?name\r\n");
  EXPECT_EQ(rig.logLines(), std::vector<std::string>{"起動成功"});
  EXPECT_EQ(rig.clock.totalSleptMs(), 500);
  EXPECT_TRUE(rig.launcher.launches.empty());
}

TEST(Acquisition, DriveIsTheFreeMegabytesOfTheMountPathWhenTheSecondReadingHasOne) {
  AcquisitionRig rig;
  ReadingsDisk disk;
  Services s{rig.hostWith(rig.dir.path(), rig.launcher, rig.processes, disk)};
  JobTable jobs;
  jobs.append(job("DRIVE", "/home:21"));
  Acquisition acquisition(s, jobs);
  const std::string snapshot = rig.path("temp/srctemp.txt");

  disk.readings = {20480 * MB + MB - 1, 5 * MB};
  EXPECT_TRUE(acquisition.acquireSnapshot(0));
  EXPECT_EQ(readText(snapshot), "20480\r\n");
  EXPECT_EQ(disk.asked, (std::vector<std::string>{"/home", "/home"}));

  // Less than 1 MB on the second reading: no snapshot, a response error.
  disk.readings = {20480 * MB, MB - 1};
  EXPECT_TRUE(acquisition.acquireSnapshot(0));
  EXPECT_FALSE(platform::pathExists(snapshot));
  disk.readings = {};
  EXPECT_TRUE(acquisition.acquireSnapshot(0));
  EXPECT_FALSE(platform::pathExists(snapshot));

  // A Windows drive letter names no mount path here: nothing is asked.
  jobs[0].target = "C:10";
  disk.asked.clear();
  disk.readings = {100 * MB, 100 * MB};
  EXPECT_TRUE(acquisition.acquireSnapshot(0));
  EXPECT_FALSE(platform::pathExists(snapshot));
  EXPECT_TRUE(disk.asked.empty());
  EXPECT_EQ(freeMegabytes(disk, ""), 0);
}

TEST(Acquisition, UnknownTypeIsLoggedAndNotLaunched) {
  AcquisitionRig rig;
  EXPECT_FALSE(rig.acquire(job("url", "http://example.com/")));
  EXPECT_TRUE(rig.launcher.launches.empty());
  EXPECT_EQ(rig.logLines(), std::vector<std::string>{"7->チェックタイプが不明です->url"});
  EXPECT_FALSE(rig.acquisition.acquireSnapshot(5));
}

TEST(Acquisition, FileListsAfterTheCommonStepsFromACp932Target) {
  AcquisitionRig rig;
  const std::string folder = rig.dir.path() + "\xE7\x9B\xA3\xE8\xA6\x96";  // 監視
  writeText(folder + "/top.txt", "1");
  writeText(folder + "/sub/inner.txt", "2");
  const std::string folderCp932 = platform::toCp932(folder);
  long sleptWhenListed = -1;
  rig.pump.onPump([&] {
    if (platform::pathExists(rig.path("temp/srctemp.txt")))
      sleptWhenListed = rig.clock.totalSleptMs();
  });
  ASSERT_TRUE(rig.acquire(job("FILE", folderCp932, "0", "1")));
  auto lines = platform::splitLines(rig.snapshot());
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].substr(19), "@" + folderCp932 + "/top.txt");
  EXPECT_EQ(lines[1].substr(19), "@" + folderCp932 + "/sub/inner.txt");
  EXPECT_EQ(rig.logLines(), std::vector<std::string>{"起動成功"});
  EXPECT_EQ(sleptWhenListed, -1);  // the file appears only after the pause
  EXPECT_EQ(rig.clock.totalSleptMs(), 500);

  ASSERT_TRUE(rig.acquire(job("FILE", folderCp932, "0", "0")));
  EXPECT_EQ(platform::splitLines(rig.snapshot()).size(), 1u);
}

// The real system: this test's own processes and disks, and a fetcher
// started from a data folder whose path holds a blank.
struct RealRig : AcquisitionRig {
  platform::PosixProcessLauncher realLauncher;
  platform::ProcProcessLister realProcesses;
  platform::StatvfsDiskSpaceReader realDisks;
  Services real{hostWith(dir.path(), realLauncher, realProcesses, realDisks)};
  Acquisition realAcquisition{real, jobs};
  bool acquireReal(const JobRecord& row) {
    jobs.clear();
    jobs.append(row);
    return realAcquisition.acquireSnapshot(0);
  }
};

TEST(AcquisitionOnTheSystem, OwnChildIsFoundWithItsParent) {
  RealRig rig;
  auto child = rig.realLauncher.launch("sleep 30", "", platform::WindowMode::Hidden);
  ASSERT_TRUE(child) << child.error;
  const int pid = child.handle->pid();
  const bool launched = rig.acquireReal(job("PROC", "sleep"));
  ::kill(pid, SIGTERM);
  child.handle->wait(5000);
  ASSERT_TRUE(launched);
  char expected[64];
  std::snprintf(expected, sizeof expected, "%06d %06d sleep", pid, static_cast<int>(::getpid()));
  auto lines = platform::splitLines(rig.snapshot());
  EXPECT_NE(std::find(lines.begin(), lines.end(), expected), lines.end()) << expected;
  EXPECT_TRUE(rig.snapshot().ends_with("\r\n"));
}

TEST(AcquisitionOnTheSystem, DriveOfRootAgreesWithStatvfs) {
  RealRig rig;
  auto freeMb = [] {
    struct statvfs st;
    EXPECT_EQ(::statvfs("/", &st), 0);
    return static_cast<long long>(static_cast<uint64_t>(st.f_bfree) * st.f_frsize / 1024 / 1024);
  };
  const long long before = freeMb();
  ASSERT_TRUE(rig.acquireReal(job("DRIVE", "/:10")));
  const long long after = freeMb();
  auto value = platform::parseInt64(platform::trim(rig.snapshot()));
  ASSERT_TRUE(value) << rig.snapshot();
  EXPECT_GE(*value, std::min(before, after));
  EXPECT_LE(*value, std::max(before, after));
  EXPECT_TRUE(rig.snapshot().ends_with("\r\n"));
}

TEST(AcquisitionOnTheSystem, FetcherGetsItsThreeArgumentsWhateverFolderAndJobHold) {
  // The address, the output path and the proxy flag arrive as three words
  // however the data folder is named and whatever the job file holds: no
  // USEPROXY can move the output path, no folder name can lose the fetch.
  struct Case {
    const char* folder;
    const char* uri;
    const char* useProxy;
    const char* flag;
  };
  const Case cases[] = {
      {"Orvis Watch/", "http://127.0.0.1/page?q=1", "1", "1"},
      {"da\"ta\\\" x/", "http://127.0.0.1/a b\"c", "0 /tmp/elsewhere.txt", "0"},
      {"trail\\/", "http://127.0.0.1/", "", "0"},
      {"plain/", "http://127.0.0.1/", " 1", "0"},
  };
  for (const auto& c : cases) {
    RealRig rig;
    const std::string F = rig.dir.path() + c.folder;
    platform::makeFolders(F + "temp");
    writeText(F + "urlcheck",
              "#!/bin/sh\nsleep 0.3\n{ for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done; "
              "printf '%s\\n' \"$PWD\"; } > \"$2\"\n");
    ::chmod((F + "urlcheck").c_str(), 0755);
    Services s{rig.hostWith(F, rig.realLauncher, rig.realProcesses, rig.realDisks)};
    JobTable jobs;
    jobs.append(job("URL", c.uri, c.useProxy));
    Acquisition acquisition(s, jobs);
    ASSERT_TRUE(acquisition.acquireSnapshot(0)) << c.folder;
    EXPECT_EQ(
        readLines(F + "temp/srctemp.txt"),
        (std::vector<std::string>{std::string("[") + c.uri + "]", "[" + F + "temp/srctemp.txt]",
                                  std::string("[") + c.flag + "]", F.substr(0, F.size() - 1)}))
        << c.folder;
    EXPECT_GE(rig.pump.count(), 2);

    // Without the program the fetch is not launched.
    platform::removeFile(F + "urlcheck");
    EXPECT_FALSE(acquisition.acquireSnapshot(0));
  }
}

}  // namespace
