#include "posix_process_launcher.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "bytes.h"
#include "codec.h"
#include "files.h"

extern char** environ;

namespace orvis::platform {
namespace {

bool runnable(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

std::string currentFolder() {
  std::vector<char> buffer(4096);
  while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return ".";
    buffer.resize(buffer.size() * 2);
  }
  return buffer.data();
}

// Close-on-exec by the kernel; -1 where pidfds are missing (then we poll).
int openPidfd(pid_t pid) {
#ifdef SYS_pidfd_open
  return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
#else
  (void)pid;
  return -1;
#endif
}

class PosixProcessHandle : public ProcessHandle {
 public:
  PosixProcessHandle(pid_t pid, int pidfd) : pid_(pid), pidfd_(pidfd) {}
  ~PosixProcessHandle() override { close(); }
  PosixProcessHandle(const PosixProcessHandle&) = delete;
  PosixProcessHandle& operator=(const PosixProcessHandle&) = delete;

  uint32_t wait(int timeoutMs) override {
    if (closed_) return kWaitFailed;
    auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    while (true) {
      switch (reap()) {
        case Reap::Ended:
          return kWaitObject0;
        case Reap::Failed:
          return kWaitFailed;
        case Reap::Running:
          break;
      }
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                      deadline - std::chrono::steady_clock::now())
                      .count();
      if (left <= 0) return kWaitTimeout;
      if (pidfd_ >= 0) {
        // The descriptor turns readable when the child ends.
        pollfd p{pidfd_, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left)) < 0 && errno != EINTR) return kWaitFailed;
      } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min<long long>(left, 5)));
      }
    }
  }

  void close() override {
    if (closed_) return;
    closed_ = true;
    if (pidfd_ >= 0) ::close(pidfd_);
    pidfd_ = -1;
    if (ended_ || reap() != Reap::Running) return;
    // Still running: someone must collect it when it ends, or it stays a
    // zombie for as long as we live. The child is never stopped, as a
    // closed Windows handle does not stop it either.
    pid_t pid = pid_;
    std::thread([pid] {
      while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
      }
    }).detach();
  }

  void terminate() override {
    // Not yet collected, so the pid cannot belong to another process.
    if (!closed_ && !ended_ && reap() == Reap::Running) ::kill(pid_, SIGTERM);
    close();
  }

  void kill() override {
    if (!closed_ && !ended_ && reap() == Reap::Running) ::kill(pid_, SIGKILL);
    close();
  }

  int pid() const override { return static_cast<int>(pid_); }
  std::optional<int> exitCode() const override { return exitCode_; }

 private:
  enum class Reap { Running, Ended, Failed };

  Reap reap() {
    if (ended_) return Reap::Ended;
    int status = 0;
    while (true) {
      pid_t r = ::waitpid(pid_, &status, WNOHANG);
      if (r == pid_) {
        ended_ = true;
        if (WIFEXITED(status)) exitCode_ = WEXITSTATUS(status);
        return Reap::Ended;
      }
      if (r == 0) return Reap::Running;
      if (errno == EINTR) continue;
      // Collected by someone else (a host that reaps every child): it has
      // ended all the same, only its status is lost.
      if (errno == ECHILD) {
        ended_ = true;
        return Reap::Ended;
      }
      return Reap::Failed;
    }
  }

  pid_t pid_;
  int pidfd_;
  bool ended_ = false;
  bool closed_ = false;
  std::optional<int> exitCode_;
};

// posix_spawn's C structures, released on every path.
struct SpawnSetup {
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  SpawnSetup() {
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
  }
  ~SpawnSetup() {
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;
};

// The names in it are the system's (UTF-8); the text is for the log.
LaunchResult failure(const std::string& why) { return LaunchResult{nullptr, toCp932(why)}; }

}  // namespace

std::optional<std::string> findProgram(const std::string& program) {
  if (program.empty()) return std::nullopt;
  if (program.find('/') != std::string::npos) {
    if (!runnable(program)) return std::nullopt;
    return program;
  }
  const char* env = std::getenv("PATH");
  std::string list = env ? env : "/bin:/usr/bin";
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(':', start);
    if (end == std::string::npos) end = list.size();
    // An empty entry means the current folder, as for execvp.
    std::string candidate =
        (end == start ? std::string(".") : list.substr(start, end - start)) + "/" + program;
    if (runnable(candidate)) return candidate;
    start = end + 1;
  }
  return std::nullopt;
}

LaunchResult PosixProcessLauncher::launch(const std::string& commandLine,
                                          const std::string& workingFolder, WindowMode mode) {
  std::vector<std::string> words = splitCommandLine(commandLine);
  if (words.empty() || words[0].empty()) return failure("empty command line");
  std::optional<std::string> program = findProgram(words[0]);
  if (!program) return failure(words[0] + ": no such program, or not executable");
  // The child changes folder before exec, so a relative name must be made
  // absolute against ours first.
  if (program->front() != '/') program = currentFolder() + "/" + *program;
  if (!workingFolder.empty() && !folderExists(workingFolder)) {
    return failure("working folder not found: " + workingFolder);
  }

  SpawnSetup setup;
  if (mode != WindowMode::Shown) {
    // Nothing to read from and nobody to show output to. stderr stays ours,
    // so a child's complaints still reach the journal or terminal of the
    // caller instead of vanishing; but not a detached child's, which would
    // hold the caller's pipe open long after the caller ended.
    posix_spawn_file_actions_addopen(&setup.actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&setup.actions, 1, "/dev/null", O_WRONLY, 0);
    if (mode == WindowMode::Detached)
      posix_spawn_file_actions_addopen(&setup.actions, 2, "/dev/null", O_WRONLY, 0);
  }
  // No handles are inherited beyond the standard three.
  posix_spawn_file_actions_addclosefrom_np(&setup.actions, 3);
  if (!workingFolder.empty())
    posix_spawn_file_actions_addchdir_np(&setup.actions, workingFolder.c_str());

  short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
  // A hidden or detached child has no controlling terminal: Ctrl+C in the caller's
  // terminal is not meant for it, nor can it open /dev/tty.
  if (mode != WindowMode::Shown) flags |= POSIX_SPAWN_SETSID;
  posix_spawnattr_setflags(&setup.attributes, flags);
  sigset_t none, all;
  sigemptyset(&none);
  sigfillset(&all);
  posix_spawnattr_setsigmask(&setup.attributes, &none);
  posix_spawnattr_setsigdefault(&setup.attributes, &all);

  std::vector<char*> argv;
  for (auto& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);

  pid_t pid = 0;
  int rc = ::posix_spawn(&pid, program->c_str(), &setup.actions, &setup.attributes, argv.data(),
                         environ);
  if (rc != 0) return failure(words[0] + ": " + std::strerror(rc));
  // A zombie keeps its pid until we reap it, so this cannot miss the child.
  return LaunchResult{std::make_unique<PosixProcessHandle>(pid, openPidfd(pid)), {}};
}

}  // namespace orvis::platform
