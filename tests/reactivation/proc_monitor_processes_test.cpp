// The running monitors as /proc shows them, on real processes: a copy of
// `sleep` installed as a folder's OrvisWatch.

#include "reactivation/proc_monitor_processes.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>

#include "platform/posix_process_launcher.h"
#include "support/temp_dir.h"

using namespace orvis;
using namespace orvis::testing;

TEST(ProcMonitorProcesses, FindsTheFoldersProgramAndSeesItEnd) {
  TempDir dir;
  const std::string program = dir.path() + "OrvisWatch";
  std::filesystem::copy_file("/bin/sleep", program);
  platform::PosixProcessLauncher launcher;
  auto child = launcher.launch(program + " 30", dir.path(), platform::WindowMode::Hidden);
  ASSERT_TRUE(child);
  const int pid = child.handle->pid();
  restart::ProcMonitorProcesses processes;
  EXPECT_EQ(processes.running(program), std::vector<int>{pid});
  EXPECT_EQ(processes.running(dir.path() + "Other"), std::vector<int>{});
  EXPECT_FALSE(processes.ended(pid));

  // Replaced on disk while it runs (an upgrade): still the folder's monitor.
  std::filesystem::remove(program);
  EXPECT_EQ(processes.running(program), std::vector<int>{pid});
  std::filesystem::copy_file("/bin/sleep", program);
  EXPECT_EQ(processes.running(program), std::vector<int>{pid});

  EXPECT_EQ(processes.sendSignal(pid, SIGTERM), "");
  // Not collected by us: ended all the same once it has exited.
  for (int i = 0; i < 500 && !processes.ended(pid); ++i) usleep(10000);
  EXPECT_TRUE(processes.ended(pid));
  EXPECT_EQ(processes.running(program), std::vector<int>{});
  child.handle->close();

  EXPECT_NE(processes.sendSignal(0x7ffffff0, SIGTERM), "");
  EXPECT_TRUE(processes.ended(0x7ffffff0));
}
