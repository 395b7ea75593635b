// The monitor's files after a SIGKILL at any moment: the writer (the
// monitor logic on fakes, writing everything it keeps on disk round after
// round) is killed at stepped delays, many times over one data folder; after
// every kill each file is a whole old or new version, each log line whole,
// and the baseline generations intact; then one more pass runs cleanly.

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "crash_files.h"
#include "platform/bytes.h"
#include "platform/files.h"
#include "platform/posix_process_launcher.h"
#include "support/temp_dir.h"

using namespace orvis;
using namespace orvis::testing;

namespace {

constexpr int kKillPoints = 150;

std::unique_ptr<platform::ProcessHandle> startWriter(const std::string& folder,
                                                     const std::string& what) {
  auto started = platform::PosixProcessLauncher().launch(
      platform::quoteArgument(CRASH_WRITER) + " " + platform::quoteArgument(folder) + " " + what,
      folder, platform::WindowMode::Hidden);
  EXPECT_TRUE(started) << started.error;
  return std::move(started.handle);
}

// The writer's exit status; -1 when it did not end within a minute.
int finish(platform::ProcessHandle& writer) {
  for (int waited = 0; waited < 60000; waited += 50)
    if (writer.wait(50) != platform::kWaitTimeout) return writer.exitCode().value_or(-1);
  writer.kill();
  return -1;
}

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

}  // namespace

TEST(CrashSafety, KilledAtAnyMomentEveryFileIsWholeAndTheNextPassWorks) {
  // A kill, unlike a power cut, loses nothing the kernel already holds, so
  // the data folder may live in memory: a round there takes milliseconds,
  // not the tenths of a second its flushes cost on a disk, and the kills
  // fall on every step of many rounds.
  if (platform::folderExists("/dev/shm")) ::setenv("TMPDIR", "/dev/shm", 1);
  TempDir dir;
  const std::string folder = dir.path();
  auto setup = startWriter(folder, "setup");
  ASSERT_TRUE(setup);
  ASSERT_EQ(finish(*setup), 0);

  int killed = 0;
  for (int point = 0; point < kKillPoints; ++point) {
    auto writer = startWriter(folder, "0");
    ASSERT_TRUE(writer);
    // Stepped over the writer's start and its first rounds, with an odd
    // step so that the kills fall at ever other moments of a round.
    std::this_thread::sleep_for(std::chrono::microseconds(2000 + (point * 12007) % 120000));
    ::kill(writer->pid(), SIGKILL);
    writer->wait(10000);
    writer->close();
    ++killed;
    const std::vector<std::string> found = damage(folder);
    ASSERT_TRUE(found.empty()) << "after kill " << point << ":\n" << joined(found);
  }
  const long before = newestPage(folder);
  auto last = startWriter(folder, "1");
  ASSERT_TRUE(last);
  EXPECT_EQ(finish(*last), 0);
  EXPECT_TRUE(damage(folder).empty()) << joined(damage(folder));
  EXPECT_EQ(pageNumberOf(readText(folder + "src/1.ini")), before + 1);
  std::printf("%d kill points; %ld pages reached\n", killed, before + 1);
}
