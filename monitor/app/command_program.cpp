#include "command_program.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <iostream>

#include "command_verbs.h"
#include "history_verbs.h"
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

// Who holds the folder, for the refusal: "pid 1234, a monitor, since ...".
std::string holderText(const std::string& dataFolder) {
  const auto holder = platform::lockHolder(dataFolder);
  if (!holder) return {};
  std::string text = ", held by pid " + std::to_string(holder->pid);
  if (!holder->role.empty()) text += ", a " + holder->role;
  if (!holder->started.empty()) text += ", since " + holder->started;
  return text;
}

// Who works on the data folder now, from its lock, without taking it.
std::optional<FolderHolder> folderHolder(const std::string& dataFolder) {
  const auto holder = platform::lockHolder(dataFolder);
  if (!holder) return std::nullopt;
  // (A holder that has only just taken the lock has not said its role yet.)
  return FolderHolder{holder->pid,
                      holder->role != platform::lockRoleName(platform::LockRole::Verb)};
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
  // A reader that stops early ("| head -1") ends the output, not the work
  // nor its status: writes to it just fail. Children start with the
  // default again.
  std::signal(SIGPIPE, SIG_IGN);
  switch (command.verb) {
    case Verb::Help:
      std::cout << CommandLine::usage(program);
      return exitcode::kOk;
    case Verb::Version:
      std::cout << "OrvisWatch " << Monitor::kVersion << "\n";
      return exitcode::kOk;
    case Verb::Invalid:
      std::cerr << program << ": " << command.error << "\n" << CommandLine::usage(program);
      return command.errorStatus;
    case Verb::History:
    case Verb::Diff:
      // They only read: no lock, so that they run beside a monitor.
      return runHistoryCommand(command, platform::dataFolder(), std::cout, std::cerr);
    case Verb::Status:
      // Only reads: never the lock, which a running monitor holds.
      return status(command.json);
    case Verb::Start:
    case Verb::Capture:
    case Verb::Check:
      break;
  }

  // The data folder's lock: while a monitor runs here, a verb would race
  // its writes; while a verb runs, no monitor starts.
  const std::string dataFolder = platform::dataFolder();
  platform::InstanceLock lock(dataFolder, platform::LockRole::Verb);
  if (lock.outcome() == platform::InstanceLock::Outcome::HeldElsewhere) {
    std::cerr << program
              << ": a monitor (or another --capture or --check) is running on this data "
                 "folder; stop it first (lock: "
              << lock.path() << holderText(dataFolder) << ")\n";
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
  const MonitorHost host{dataFolder, StartInfo{}, clock, pump,  prompter,
                         launcher,   processes,   disks, sound, platform::executableFolder()};
  CommandVerbs verbs(host, std::cout, std::cerr);
  pump.setTarget(&verbs);
  // A signal that came before the work started.
  pump.processEvents();
  const int status = verbs.run(command);
  std::cout.flush();
  return status;
}

}  // namespace orvis
