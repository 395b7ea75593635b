#include <gtest/gtest.h>
#include <signal.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <thread>

#include "platform/files.h"
#include "platform/posix_process_launcher.h"
#include "platform/proc_process_lister.h"
#include "platform/statvfs_disk_space_reader.h"
#include "support/temp_dir.h"

using namespace orvis::platform;
using namespace orvis::testing;

TEST(ProcProcessLister, FindsOurChildWithParentAndName) {
  PosixProcessLauncher launcher;
  auto child = launcher.launch("sleep 30", "", WindowMode::Hidden);
  ASSERT_TRUE(child) << child.error;

  auto list = ProcProcessLister().list();
  ::kill(child.handle->pid(), SIGTERM);
  child.handle->wait(5000);

  ASSERT_FALSE(list.empty());
  for (size_t i = 1; i < list.size(); ++i) EXPECT_LT(list[i - 1].pid, list[i].pid);
  auto find = [&](int pid) {
    return std::find_if(list.begin(), list.end(),
                        [&](const ProcessEntry& e) { return e.pid == pid; });
  };
  auto mine = find(child.handle->pid());
  ASSERT_NE(mine, list.end());
  EXPECT_EQ(mine->parentPid, ::getpid());
  EXPECT_EQ(mine->name, "sleep");
  auto self = find(::getpid());
  ASSERT_NE(self, list.end());
  EXPECT_EQ(self->parentPid, ::getppid());
  EXPECT_EQ(self->name, std::filesystem::read_symlink("/proc/self/exe").filename().string());
}

TEST(ProcProcessLister, NameFallbacksAndVanishedProcesses) {
  TempDir root;
  auto proc = [&](int pid, const std::string& stat, const std::string& cmdline) {
    std::string folder = root / std::to_string(pid) + "/";
    makeFolders(folder);
    if (!stat.empty()) writeText(folder + "stat", stat);
    writeText(folder + "cmdline", cmdline);
    return folder;
  };
  // exe readable: its base name, in CP932; a replaced program keeps its name.
  std::string f9 = proc(9, "9 (short) S 1 9 9 0", std::string("/other/argv0\0x\0", 15));
  std::filesystem::create_symlink("/opt/\xE7\x9B\xA3\xE8\xA6\x96/watch", f9 + "exe");
  std::string f10 = proc(10, "10 (w) S 9 0", "");
  std::filesystem::create_symlink("/nonexistent/bin/tool (deleted)", f10 + "exe");
  // No exe: argv[0]'s base name; comm with blanks and parentheses.
  proc(12, "12 (my (odd) name) R 9 12 12 0", std::string("/usr/lib/foo/bar\0--flag\0", 24));
  // Neither exe nor argv[0] (a kernel thread): comm.
  proc(2, "2 (kthreadd) S 0 0 0", "");
  // Gone while being listed: no stat any more.
  proc(30, "", "");
  proc(31, "31 garbage", "");
  makeFolders(root / "self");
  makeFolders(root / "sys");

  auto list = ProcProcessLister(root.path()).list();
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[0].pid, 2);
  EXPECT_EQ(list[0].parentPid, 0);
  EXPECT_EQ(list[0].name, "kthreadd");
  EXPECT_EQ(list[1].pid, 9);
  EXPECT_EQ(list[1].parentPid, 1);
  EXPECT_EQ(list[1].name, "watch");
  EXPECT_EQ(list[2].pid, 10);
  EXPECT_EQ(list[2].name, "tool");
  EXPECT_EQ(list[3].pid, 12);
  EXPECT_EQ(list[3].parentPid, 9);
  EXPECT_EQ(list[3].name, "bar");

  // A program named in Japanese reads as its CP932 bytes.
  TempDir root2;
  makeFolders(root2 / "5");
  writeText(root2 / "5/stat", "5 (x) S 1");
  std::filesystem::create_symlink("/opt/\xE7\x9B\xA3\xE8\xA6\x96", root2 / "5/exe");
  auto named = ProcProcessLister(root2.path()).list();
  ASSERT_EQ(named.size(), 1u);
  EXPECT_EQ(named[0].name, sj("監視"));
}

TEST(StatvfsDiskSpaceReader, RootAgainstStatvfs) {
  struct statvfs st;
  ASSERT_EQ(::statvfs("/", &st), 0);
  auto space = StatvfsDiskSpaceReader().read("/");
  ASSERT_TRUE(space);
  EXPECT_EQ(space->totalBytes, uint64_t(st.f_blocks) * st.f_frsize);
  // Others write meanwhile; a wrong unit or count is far off, not this close.
  auto near = [](uint64_t a, uint64_t b) {
    return (a > b ? a - b : b - a) <= (uint64_t(64) << 20);
  };
  EXPECT_TRUE(near(space->freeBytes, uint64_t(st.f_bfree) * st.f_frsize));
  EXPECT_TRUE(near(space->availableBytes, uint64_t(st.f_bavail) * st.f_frsize));
  EXPECT_GE(space->freeBytes, space->availableBytes);
  EXPECT_GE(space->totalBytes, space->freeBytes);
  EXPECT_FALSE(StatvfsDiskSpaceReader().read("/no/such/mount"));
  EXPECT_FALSE(StatvfsDiskSpaceReader().read(""));
}

TEST(ProcProcessLister, ProcessesComingAndGoingWhileTheListIsReadAreTakenOrLeftWhole) {
  // Another thread starts and ends short-lived children as fast as it can.
  std::atomic<bool> done{false};
  std::atomic<int> churned{0};
  std::thread churn([&] {
    while (!done) {
      const pid_t pid = ::fork();
      if (pid == 0) ::_exit(0);
      if (pid > 0) ::waitpid(pid, nullptr, 0);
      ++churned;
    }
  });
  ProcProcessLister lister;
  int lists = 0;
  for (; lists < 200; ++lists) {
    const auto list = lister.list();
    ASSERT_FALSE(list.empty());
    for (size_t i = 1; i < list.size(); ++i) ASSERT_LT(list[i - 1].pid, list[i].pid);
    ASSERT_TRUE(std::any_of(list.begin(), list.end(),
                            [](const ProcessEntry& e) { return e.pid == ::getpid(); }));
  }
  done = true;
  churn.join();
  EXPECT_GT(churned.load(), 0);
}
