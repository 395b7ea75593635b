#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <deque>
#include <filesystem>
#include <thread>

#include "platform/files.h"
#include "platform/posix_process_launcher.h"
#include "platform/process_wait.h"
#include "support/fake_clock.h"
#include "support/temp_dir.h"

using namespace orvis::platform;
using namespace orvis::testing;

namespace {

// Polls until the child ends; a child that hangs fails the test instead of
// hanging it.
uint32_t waitUpTo(ProcessHandle& p, int totalMs) {
  uint32_t answer = kWaitTimeout;
  for (int waited = 0; waited < totalMs && answer == kWaitTimeout; waited += 50)
    answer = p.wait(50);
  return answer;
}

bool zombieOrGone(int pid) {
  auto stat = readFile("/proc/" + std::to_string(pid) + "/stat");
  if (!stat) return true;
  auto close = stat->rfind(')');
  return close != std::string::npos && stat->size() > close + 2 && (*stat)[close + 2] == 'Z';
}

bool gone(int pid) { return !pathExists("/proc/" + std::to_string(pid)); }

void writeScript(const std::string& path, const std::string& body) {
  writeText(path, "#!/bin/sh\n" + body);
  ::chmod(path.c_str(), 0755);
}

}  // namespace

TEST(ProcessLauncher, RunningChildTimesOutThenEnds) {
  PosixProcessLauncher launcher;
  auto r = launcher.launch("sleep 0.3", "", WindowMode::Hidden);
  ASSERT_TRUE(r) << r.error;
  EXPECT_EQ(r.handle->wait(50), kWaitTimeout);
  EXPECT_FALSE(r.handle->exitCode());
  EXPECT_EQ(waitUpTo(*r.handle, 5000), kWaitObject0);
  // An ended child stays signalled, as a Windows process handle does.
  EXPECT_EQ(r.handle->wait(0), kWaitObject0);
  EXPECT_EQ(r.handle->wait(50), kWaitObject0);
  EXPECT_EQ(r.handle->exitCode(), 0);

  auto failing = launcher.launch("sh -c \"exit 3\"", "", WindowMode::Hidden);
  ASSERT_TRUE(failing) << failing.error;
  EXPECT_EQ(waitUpTo(*failing.handle, 5000), kWaitObject0);
  EXPECT_EQ(failing.handle->exitCode(), 3);
}

TEST(ProcessLauncher, ArgumentsFolderAndHandlesAsTheChildSeesThem) {
  TempDir dir;
  // A program in a folder with a blank, quoted on the command line.
  std::string script = dir / "my bin/record.sh";
  writeScript(script,
              "out=$(readlink /proc/$$/fd/1)\n"
              "{ pwd; for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done\n"
              "  readlink /proc/$$/fd/0; echo \"$out\"\n"
              "  [ -e /proc/$$/fd/$1 ] && echo inherited || echo closed; } > record.txt\n");
  ASSERT_TRUE(makeFolders(dir / "work"));
  // A descriptor of ours without close-on-exec must not reach the child.
  int opened = ::open("/dev/zero", O_RDONLY);
  int leak = ::fcntl(opened, F_DUPFD, 40);  // clear of the shell's own
  ::close(opened);
  ASSERT_GE(leak, 40);

  PosixProcessLauncher launcher;
  auto r = launcher.launch(
      "\"" + script + "\" " + std::to_string(leak) + " \"two words\" plain \"say \\\"hi\\\"\"",
      dir / "work", WindowMode::Hidden);
  ::close(leak);
  ASSERT_TRUE(r) << r.error;
  ASSERT_EQ(waitUpTo(*r.handle, 5000), kWaitObject0);
  EXPECT_EQ(r.handle->exitCode(), 0);

  auto lines = orvis::testing::readLines(dir / "work/record.txt");
  std::vector<std::string> expected = {dir.path() + "work", "[" + std::to_string(leak) + "]",
                                       "[two words]",       "[plain]",
                                       "[say \"hi\"]",      "/dev/null",
                                       "/dev/null",         "closed"};
  EXPECT_EQ(lines, expected);
  EXPECT_FALSE(pathExists(dir / "record.txt"));
}

// Session and standard output and error as the child sees them: a hidden
// child has its own session and keeps our stderr, a detached one keeps
// nothing of ours, a shown one shares all.
TEST(ProcessLauncher, EachWindowModeHasItsSessionAndStreams) {
  TempDir dir;
  writeScript(dir / "where.sh",
              "out=$(readlink /proc/$$/fd/1); err=$(readlink /proc/$$/fd/2)\n"
              "{ awk '{print $6}' /proc/$$/stat; echo \"$out\"; echo \"$err\"; } > \"$1\"\n");
  const std::string ourStdout = std::filesystem::read_symlink("/proc/self/fd/1").string();
  const std::string ourStderr = std::filesystem::read_symlink("/proc/self/fd/2").string();
  const std::string ourSession = std::to_string(::getsid(0));
  struct Case {
    WindowMode mode;
    bool ownSession;
    std::string out, err;
  };
  const Case cases[] = {{WindowMode::Hidden, true, "/dev/null", ourStderr},
                        {WindowMode::Detached, true, "/dev/null", "/dev/null"},
                        {WindowMode::Shown, false, ourStdout, ourStderr}};
  PosixProcessLauncher launcher;
  for (const Case& c : cases) {
    const std::string seen = dir / (std::to_string(static_cast<int>(c.mode)) + ".txt");
    auto r = launcher.launch("\"" + dir / "where.sh\" \"" + seen + "\"", "", c.mode);
    ASSERT_TRUE(r) << r.error;
    ASSERT_EQ(waitUpTo(*r.handle, 5000), kWaitObject0);
    const std::string session = c.ownSession ? std::to_string(r.handle->pid()) : ourSession;
    EXPECT_EQ(orvis::testing::readLines(seen), (std::vector<std::string>{session, c.out, c.err}))
        << static_cast<int>(c.mode);
  }
}

TEST(ProcessLauncher, ProgramThatCannotRunFailsAtLaunch) {
  TempDir dir;
  writeText(dir / "plain.txt", "not a program\n");  // no execute bit
  writeText(dir / "noformat", "\x01\x02garbage");   // executable, but no known format
  ::chmod((dir / "noformat").c_str(), 0755);
  ASSERT_TRUE(makeFolders(dir / "folder"));

  PosixProcessLauncher launcher;
  for (std::string commandLine :
       {std::string("no-such-program-orvis arg"), dir / "missing", dir / "plain.txt",
        dir / "folder", dir / "noformat", std::string(""), std::string("   ")}) {
    auto r = launcher.launch(commandLine, dir.path(), WindowMode::Hidden);
    EXPECT_FALSE(r) << commandLine;
    EXPECT_FALSE(r.error.empty()) << commandLine;
  }
  // The reason goes to the log as it is: the folder's name in the log's
  // encoding.
  auto noFolder = launcher.launch("true", dir / "監視先", WindowMode::Hidden);
  EXPECT_FALSE(noFolder);
  EXPECT_NE(noFolder.error.find(sj("監視先")), std::string::npos) << noFolder.error;
}

TEST(ProcessLauncher, RelativeProgramIsOursNotTheChildsFolder) {
  TempDir dir;
  writeScript(dir / "tool.sh", "echo ran > ran.txt\n");
  ASSERT_TRUE(makeFolders(dir / "work"));
  std::string cwd = std::filesystem::current_path().string();
  std::filesystem::current_path(dir.path());
  PosixProcessLauncher launcher;
  auto r = launcher.launch("./tool.sh", dir / "work", WindowMode::Hidden);
  std::filesystem::current_path(cwd);
  ASSERT_TRUE(r) << r.error;
  ASSERT_EQ(waitUpTo(*r.handle, 5000), kWaitObject0);
  EXPECT_EQ(readText(dir / "work/ran.txt"), "ran\n");
}

TEST(ProcessLauncher, NoZombieAfterClose) {
  PosixProcessLauncher launcher;
  auto ended = launcher.launch("true", "", WindowMode::Hidden);
  ASSERT_TRUE(ended) << ended.error;
  int pid = ended.handle->pid();
  // Let it end without anyone waiting, then close.
  for (int i = 0; i < 100 && !zombieOrGone(pid); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ended.handle->close();
  EXPECT_TRUE(gone(pid));
  EXPECT_EQ(ended.handle->wait(0), kWaitFailed);

  // Closed while still running: collected once it ends.
  auto running = launcher.launch("sleep 0.2", "", WindowMode::Hidden);
  ASSERT_TRUE(running) << running.error;
  pid = running.handle->pid();
  running.handle.reset();
  EXPECT_FALSE(gone(pid));
  for (int i = 0; i < 250 && !gone(pid); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_TRUE(gone(pid));
}

// A hidden child never outlives its starter, however the starter ends; a
// detached one does. A child killed by force is gone when kill() returns.
TEST(ProcessLauncher, HiddenChildrenDieWithTheirStarterDetachedOnesOutliveIt) {
  int pids[2] = {0, 0}, channel[2];  // left open: the test binary ends soon
  ASSERT_EQ(::pipe(channel), 0);
  const pid_t starter = ::fork();
  if (starter == 0) {
    PosixProcessLauncher launcher;
    auto hidden = launcher.launch("sleep 30", "", WindowMode::Hidden);
    auto detached = launcher.launch("sleep 30", "", WindowMode::Detached);
    int started[2] = {hidden ? hidden.handle->pid() : 0, detached ? detached.handle->pid() : 0};
    (void)!::write(channel[1], started, sizeof started);
    ::pause();  // until killed
  }
  ASSERT_EQ(::read(channel[0], pids, sizeof pids), static_cast<ssize_t>(sizeof pids));
  ASSERT_TRUE(pids[0] > 0 && pids[1] > 0);
  ::kill(starter, SIGKILL);
  ::waitpid(starter, nullptr, 0);
  for (int i = 0; i < 100 && !zombieOrGone(pids[0]); ++i) ::usleep(10000);
  EXPECT_TRUE(zombieOrGone(pids[0]));
  EXPECT_FALSE(zombieOrGone(pids[1]));
  ::kill(pids[1], SIGKILL);

  PosixProcessLauncher launcher;
  auto r = launcher.launch("sleep 30", "", WindowMode::Hidden);
  ASSERT_TRUE(r) << r.error;
  const int pid = r.handle->pid();
  r.handle->kill();
  EXPECT_TRUE(gone(pid));
}

TEST(ProcessWait, PumpsWhileTheChildRuns) {
  PosixProcessLauncher launcher;
  auto r = launcher.launch("sleep 0.3", "", WindowMode::Hidden);
  ASSERT_TRUE(r) << r.error;
  FakePump pump;
  StopFlag stop;
  EXPECT_EQ(waitPumping(*r.handle, pump, stop), kWaitObject0);
  // About six 50 ms polls; the bound only rules out a wait without polls.
  EXPECT_GE(pump.count(), 3);
  EXPECT_LE(pump.count(), 40);
}

namespace {
class ScriptedHandle : public ProcessHandle {
 public:
  explicit ScriptedHandle(std::deque<uint32_t> answers) : answers_(std::move(answers)) {}
  uint32_t wait(int timeoutMs) override {
    timeouts.push_back(timeoutMs);
    uint32_t a = answers_.front();
    answers_.pop_front();
    return a;
  }
  void close() override {}
  void terminate() override {}
  int pid() const override { return 1; }
  std::optional<int> exitCode() const override { return std::nullopt; }
  std::vector<int> timeouts;

 private:
  std::deque<uint32_t> answers_;
};
}  // namespace

TEST(ProcessWait, AnyAnswerButTimeoutEndsTheWait) {
  StopFlag stop;
  ScriptedHandle ends({kWaitTimeout, kWaitTimeout, kWaitObject0});
  FakePump pump;
  EXPECT_EQ(waitPumping(ends, pump, stop), kWaitObject0);
  EXPECT_EQ(pump.count(), 2);
  EXPECT_EQ(ends.timeouts, (std::vector<int>{50, 50, 50}));

  ScriptedHandle fails({kWaitTimeout, kWaitFailed});
  FakePump pump2;
  EXPECT_EQ(waitPumping(fails, pump2, stop), kWaitFailed);
  EXPECT_EQ(pump2.count(), 1);

  ScriptedHandle odd({0x80});  // WAIT_ABANDONED: not a time-out, so the end
  FakePump pump3;
  EXPECT_EQ(waitPumping(odd, pump3, stop), 0x80u);
  EXPECT_EQ(pump3.count(), 0);
}

TEST(ProcessWait, ARequestToEndEndsTheWaitAtTheNextPump) {
  // Raised by a message that the wait let run: no further poll.
  StopFlag stop;
  ScriptedHandle running({kWaitTimeout, kWaitTimeout, kWaitTimeout});
  FakePump pump;
  pump.onPump([&] {
    if (pump.count() == 2) stop.raise();
  });
  EXPECT_EQ(waitPumping(running, pump, stop), kWaitInterrupted);
  EXPECT_EQ(running.timeouts.size(), 2u);
  EXPECT_FALSE(letMessagesRun(pump, stop));
  EXPECT_EQ(pump.count(), 2);  // raised before: the pump does not run either

  // Raised before the wait: no poll at all.
  ScriptedHandle never({kWaitObject0});
  EXPECT_EQ(waitPumping(never, pump, stop), kWaitInterrupted);
  EXPECT_TRUE(never.timeouts.empty());
}

TEST(ProcessWait, TerminateEndsARunningChild) {
  PosixProcessLauncher launcher;
  auto r = launcher.launch("sleep 30", "", WindowMode::Hidden);
  ASSERT_TRUE(r) << r.error;
  const pid_t pid = r.handle->pid();
  r.handle->terminate();
  // Collected by the handle's reaper once it has ended: then the pid is gone.
  for (int i = 0; i < 200 && ::kill(pid, 0) == 0; ++i) ::usleep(10000);
  EXPECT_NE(::kill(pid, 0), 0);
  EXPECT_EQ(r.handle->wait(0), kWaitFailed);  // released
}
