#include "child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace orvis::testing {

pid_t startChild(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                 const std::string& folder, const std::string& outputFile) {
  std::vector<char*> args, vars;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  for (const auto& e : env) vars.push_back(const_cast<char*>(e.c_str()));
  args.push_back(nullptr);
  vars.push_back(nullptr);
  int out = ::open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  pid_t pid = ::fork();
  if (pid == 0) {
    if (out >= 0) {
      ::dup2(out, 1);
      ::dup2(out, 2);
    }
    if (::chdir(folder.c_str()) != 0) ::_exit(126);
    ::execve(args[0], args.data(), vars.data());
    ::_exit(127);
  }
  if (out >= 0) ::close(out);
  return pid;
}

ChildEnd waitChild(pid_t pid, long boundMs) {
  ChildEnd end;
  if (pid <= 0) return end;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(boundMs);
  int status = 0;
  while (::waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() >= deadline) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      return end;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  end.ended = true;
  if (WIFEXITED(status)) end.exitCode = WEXITSTATUS(status);
  return end;
}

void stopChild(pid_t pid, long boundMs) {
  if (pid <= 0) return;
  ::kill(pid, SIGTERM);
  waitChild(pid, boundMs);
}

}  // namespace orvis::testing
