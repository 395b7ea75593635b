#include "posix_process_launcher.h"

#include <fcntl.h>
#include <linux/close_range.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/prctl.h>
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

// How long a child killed by force may take to go (one stuck in the kernel,
// on a dead network file system, is left to the reaper).
constexpr int kKilledChildMs = 5000;

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
    if (!closed_ && !ended_ && reap() == Reap::Running) {
      ::kill(pid_, SIGKILL);
      // Gone before the caller goes on: a child in the middle of a write
      // (a page renamed into place) finishes it before it dies, and that
      // must not land after whatever the caller does next.
      wait(kKilledChildMs);
    }
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

// Everything the child needs, made before the fork: after it the child may
// only make async-signal-safe calls, since the parent runs other threads
// (the toolkit's) whose locks the child inherits held.
struct ChildPlan {
  const char* program;
  char** argv;
  char** envp;
  const char* folder;  // null: the parent's
  WindowMode mode;
  pid_t parent;
  int errorPipe;  // gets the errno of a step that failed; closed by the exec
};

void openNull(int target, int flags) {
  const int fd = ::open("/dev/null", flags | O_CLOEXEC);
  if (fd >= 0 && fd != target) ::dup2(fd, target);  // dup2 clears close-on-exec
  if (fd >= 0 && fd != target) ::close(fd);
}

[[noreturn]] void runChild(const ChildPlan& plan) {
  auto fail = [&plan](int err) {
    (void)!::write(plan.errorPipe, &err, sizeof err);
    ::_exit(127);
  };
  // The parent's handlers and ignored signals are not the child's.
  struct sigaction standard {};
  standard.sa_handler = SIG_DFL;
  for (int signo = 1; signo < NSIG; ++signo) ::sigaction(signo, &standard, nullptr);
  if (plan.mode == WindowMode::Hidden) {
    // A hidden child works for us alone: it dies with us, however we end,
    // so that no page of a killed monitor lands in the next one's snapshot.
    if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0) fail(errno);
    // We may have ended before the line above took effect.
    if (::getppid() != plan.parent) ::_exit(127);
  }
  if (plan.mode != WindowMode::Shown) {
    // Nothing to read from and nobody to show output to. stderr stays ours,
    // so a child's complaints still reach the journal or terminal of the
    // caller instead of vanishing; but not a detached child's, which would
    // hold the caller's pipe open long after the caller ended. Without a
    // controlling terminal, Ctrl+C in the caller's terminal is not meant for
    // it, nor can it open /dev/tty.
    if (::setsid() < 0) fail(errno);
    openNull(0, O_RDONLY);
    openNull(1, O_WRONLY);
    if (plan.mode == WindowMode::Detached) openNull(2, O_WRONLY);
  }
  // No handles are inherited beyond the standard three.
  if (::syscall(SYS_close_range, 3u, ~0u, CLOSE_RANGE_CLOEXEC) != 0)
    for (int fd = 3; fd < 4096; ++fd)
      if (fd != plan.errorPipe) ::fcntl(fd, F_SETFD, FD_CLOEXEC);
  if (plan.folder && ::chdir(plan.folder) != 0) fail(errno);
  sigset_t none;
  sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  ::execve(plan.program, plan.argv, plan.envp);
  fail(errno);
  ::_exit(127);
}

// Forks and runs the plan; the child's pid, or -1 with errno when it could
// not be started (the errno of the fork, or of the child's step that
// failed, the exec included).
pid_t startChild(ChildPlan plan) {
  int pipeEnds[2];
  if (::pipe2(pipeEnds, O_CLOEXEC) != 0) return -1;
  plan.errorPipe = pipeEnds[1];
  plan.parent = ::getpid();
  // No handler of ours may run in the child before it has reset them all.
  sigset_t all, old;
  sigfillset(&all);
  ::pthread_sigmask(SIG_SETMASK, &all, &old);
  const pid_t pid = ::fork();
  if (pid == 0) runChild(plan);
  const int forkError = errno;
  ::pthread_sigmask(SIG_SETMASK, &old, nullptr);
  ::close(pipeEnds[1]);
  int childError = 0;
  ssize_t got = -1;
  if (pid > 0)
    while ((got = ::read(pipeEnds[0], &childError, sizeof childError)) < 0 && errno == EINTR) {
    }
  ::close(pipeEnds[0]);
  if (pid < 0) return errno = forkError, -1;
  if (got != static_cast<ssize_t>(sizeof childError)) return pid;  // the exec closed the pipe
  while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
  }
  return errno = childError, -1;
}

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

  std::vector<char*> argv;
  for (auto& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  const pid_t pid =
      startChild(ChildPlan{program->c_str(), argv.data(), environ,
                           workingFolder.empty() ? nullptr : workingFolder.c_str(), mode, 0, -1});
  if (pid < 0) return failure(words[0] + ": " + std::strerror(errno));
  // A zombie keeps its pid until we reap it, so this cannot miss the child.
  return LaunchResult{std::make_unique<PosixProcessHandle>(pid, openPidfd(pid)), {}};
}

}  // namespace orvis::platform
