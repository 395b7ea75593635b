#pragma once
// The monitor's command line. Besides the start parameters ("OrvisWatch",
// "OrvisWatchService", or none) it takes verbs for servers and scripts,
// which do one thing without a window and end:
//   --capture [NO...]   capture the baselines of the given jobs, or of all
//   --check [NO...]     one manual check pass over the given jobs, or all
//   --history NO        the stored versions of a job
//   --diff NO [A [B]]   what changed between two of them
//   --status [--json]   what the monitor and the jobs say, beside a running
//                       monitor
//   --help, --version

#include <string>
#include <vector>

namespace orvis {

// Exit statuses of the verbs.
namespace exitcode {
constexpr int kOk = 0;          // --capture: every baseline taken; --check: nothing changed
constexpr int kNotAll = 1;      // --capture: some baseline not taken; --check: a change
constexpr int kNoResponse = 2;  // --check: a job had no response, or was not checked
constexpr int kMonitorRunning = 3;
constexpr int kCannotRun = 4;  // bad arguments, unknown job, no job, no baseline, no lock
// A verb ended by SIGINT, SIGTERM or SIGHUP exits with 128 + the signal.
constexpr int kSignalBase = 128;
// --history and --diff, which only read and take no lock.
constexpr int kSame = 0;
constexpr int kDifferent = 1;
constexpr int kNoEntry = 2;  // no such job, or no such entry
constexpr int kBadHistoryArguments = 3;
}  // namespace exitcode

struct CommandLine {
  enum class Verb {
    Start,  // no verb: one of the described starts, with its window
    Capture,
    Check,
    History,
    Diff,
    Status,
    Help,
    Version,
    Invalid,  // error says why
  };

  Verb verb = Verb::Start;
  std::vector<std::string> jobNumbers;  // as given (UTF-8); empty for all jobs
  std::string error;                    // UTF-8
  // The status of an Invalid line: the history verbs have their own.
  int errorStatus = exitcode::kCannotRun;
  // --diff: the two places (empty: the baseline and 1), and whether the
  // regions a check passes over are left out.
  std::vector<std::string> places;
  bool changesOnly = false;
  bool json = false;  // --status --json

  // The arguments after the program's name, as the system hands them over.
  static CommandLine parse(const std::vector<std::string>& args);
  // The rest of a --history or --diff line.
  static CommandLine parseHistory(const std::vector<std::string>& args);
  // The text of --help (UTF-8).
  static std::string usage(const std::string& program);
};

}  // namespace orvis
