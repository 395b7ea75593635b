#include "command_program.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <iostream>

#include "command_verbs.h"
#include "monitor.h"
#include "platform/clock.h"
#include "platform/codec.h"
#include "platform/data_folder.h"
#include "platform/files.h"
#include "platform/instance_lock.h"
#include "platform/no_sound_output.h"
#include "platform/pending_signals.h"
#include "platform/posix_process_launcher.h"
#include "platform/proc_process_lister.h"
#include "platform/statvfs_disk_space_reader.h"
#include "status_report.h"

namespace orvis {
namespace {

// Boxes of the verbs are answered as in the service start and never reach
// a prompter; this one stands by with the same answer.
class DefaultAnswerPrompter : public Prompter {
 public:
  int ask(const std::string&, const std::string&, int flags) override {
    return mb::defaultAnswer(flags);
  }
  void interrupt() override {}
};

// "Let messages run" for a program without an event loop: the one kind of
// message it has is a termination signal.
class SignalPump : public platform::Pump {
 public:
  explicit SignalPump(platform::PendingSignals& signals) : signals_(signals) {}
  void setTarget(CommandVerbs* verbs) { verbs_ = verbs; }
  void processEvents() override {
    while (int signo = signals_.take())
      if (verbs_) verbs_->interrupt(signo);
  }

 private:
  platform::PendingSignals& signals_;
  CommandVerbs* verbs_ = nullptr;
};

// Another process of this very program file: a monitor of this data
// folder whose lock lies elsewhere (the service's, when the caller's
// session has a runtime folder of its own), or another verb.
bool anotherProcessOfThisProgram() {
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return false;
  const std::string own = std::to_string(::getpid());
  for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
    const std::string pid = entry.path().filename().string();
    if (pid == own || pid.find_first_not_of("0123456789") != std::string::npos) continue;
    std::error_code unreadable;
    if (std::filesystem::read_symlink(entry.path() / "exe", unreadable) == self) return true;
  }
  return false;
}

// Who works on the data folder now, without taking its lock.
std::optional<FolderHolder> folderHolder(const std::string& dataFolder) {
  auto text = platform::readFile(dataFolder + RunRecord::kFileName, platform::kSettingsFileLimit);
  auto run = text ? RunRecord::parse(*text) : std::nullopt;
  if (!run) return std::nullopt;
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  const auto other =
      std::filesystem::read_symlink("/proc/" + std::to_string(run->pid) + "/exe", ec);
  if (ec || other.filename() != self.filename()) return std::nullopt;
  return FolderHolder{run->pid, true};
}

int status(bool json) {
  const std::string folder = platform::dataFolder();
  const StatusReport report = StatusReport::read(folder, folderHolder(folder));
  std::cout << (json ? report.json() : report.text());
  std::cout.flush();
  return report.exitStatus();
}

}  // namespace

int runCommandLine(const CommandLine& command, const std::string& program) {
  using Verb = CommandLine::Verb;
  switch (command.verb) {
    case Verb::Help:
      std::cout << CommandLine::usage(program);
      return exitcode::kOk;
    case Verb::Version:
      std::cout << "OrvisWatch " << Monitor::kVersion << "\n";
      return exitcode::kOk;
    case Verb::Invalid:
      std::cerr << program << ": " << command.error << "\n" << CommandLine::usage(program);
      return exitcode::kCannotRun;
    case Verb::Status:
      // Only reads: never the lock, which a running monitor holds.
      return status(command.json);
    case Verb::Start:
    case Verb::Capture:
    case Verb::Check:
      break;
  }

  // The monitor's own lock: while a monitor runs here, a verb would race
  // its writes; while a verb runs, no monitor starts.
  platform::InstanceLock lock("OrvisWatch");
  if (lock.outcome() == platform::InstanceLock::Outcome::HeldElsewhere ||
      (lock.acquired() && anotherProcessOfThisProgram())) {
    std::cerr << program
              << ": a monitor (or another --capture or --check) is running on this data "
                 "folder; stop it first (lock: "
              << lock.path() << ")\n";
    return exitcode::kMonitorRunning;
  }
  if (!lock.acquired()) {
    std::cerr << program << ": cannot take the lock: " << platform::toUtf8(lock.error()) << "\n";
    return exitcode::kCannotRun;
  }

  platform::PendingSignals signals;
  platform::SystemClock clock;
  SignalPump pump(signals);
  DefaultAnswerPrompter prompter;
  platform::PosixProcessLauncher launcher;
  platform::ProcProcessLister processes;
  platform::StatvfsDiskSpaceReader disks;
  platform::NoSoundOutput sound;
  const MonitorHost host{platform::dataFolder(),
                         StartInfo{},
                         clock,
                         pump,
                         prompter,
                         launcher,
                         processes,
                         disks,
                         sound,
                         platform::executableFolder()};
  CommandVerbs verbs(host, std::cout, std::cerr);
  pump.setTarget(&verbs);
  // A signal that came before the work started.
  pump.processEvents();
  const int status = verbs.run(command);
  std::cout.flush();
  return status;
}

}  // namespace orvis
