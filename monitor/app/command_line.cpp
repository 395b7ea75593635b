#include "command_line.h"

namespace orvis {
namespace {

bool isOption(const std::string& arg) { return arg.size() > 1 && arg[0] == '-'; }
bool isLongOption(const std::string& arg) { return arg.size() > 2 && arg.starts_with("--"); }

}  // namespace

CommandLine CommandLine::parse(const std::vector<std::string>& args) {
  CommandLine line;
  // A start parameter keeps its meaning, whatever follows it; so does any
  // other first word ("any other text" is a normal start), toolkit-like
  // words such as "-platform" among them. Only the verbs' own "--" form is
  // ours: a mistyped verb is refused rather than taken for a start.
  if (args.empty()) return line;
  const bool verbLike = isLongOption(args.front()) || args.front() == "-h";
  if (!verbLike) return line;

  const std::string& verb = args.front();
  if (verb == "--history" || verb == "--diff") return parseHistory(args);
  if (verb == "--help" || verb == "-h") {
    line.verb = Verb::Help;
  } else if (verb == "--version") {
    line.verb = Verb::Version;
  } else if (verb == "--capture") {
    line.verb = Verb::Capture;
  } else if (verb == "--check") {
    line.verb = Verb::Check;
  } else if (verb == "--status") {
    line.verb = Verb::Status;
    line.json = args.size() == 2 && args[1] == "--json";
    if (args.size() == 1 || line.json) return line;
    line.verb = Verb::Invalid;
    line.json = false;
    line.error = "unexpected argument \"" + args[1] + "\" after --status";
    return line;
  } else {
    line.verb = Verb::Invalid;
    line.error = "unknown option " + verb;
    return line;
  }
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (line.verb == Verb::Help || line.verb == Verb::Version || isOption(arg) || arg.empty()) {
      line.verb = Verb::Invalid;
      line.error = "unexpected argument \"" + arg + "\" after " + verb;
      line.jobNumbers.clear();
      return line;
    }
    line.jobNumbers.push_back(arg);
  }
  return line;
}

std::string CommandLine::usage(const std::string& program) {
  return "Usage: " + program +
         " [OrvisWatch | OrvisWatchService]\n"
         "       " +
         program +
         " --capture [NO...] | --check [NO...] | --status [--json] | --help | --version\n"
         "       " +
         program +
         " --history NO | --diff NO [A [B]] [--changes-only]\n"
         "\n"
         "Without a verb the monitor starts: with no parameter in the edit/manual mode,\n"
         "with \"OrvisWatch\" in the mode it last ran in, with \"OrvisWatchService\" as the\n"
         "service start (automatic mode in the background, no window).\n"
         "\n"
         "The verbs work on the data folder ($ORVIS_DATA, else the program's own folder),\n"
         "without a window; --capture and --check refuse while a monitor runs there:\n"
         "  --capture [NO...]  capture the baselines of the given jobs (all without NO),\n"
         "                     as the capture button does; one line per job on stdout.\n"
         "                     Exit 0 when every job got its baseline, 1 otherwise.\n"
         "  --check [NO...]    one manual check pass over the given jobs (all without NO),\n"
         "                     as the manual check button does: results written, alerts\n"
         "                     mailed, no alarm; one line per job on stdout.\n"
         "                     Exit 0 nothing changed, 1 a change, 2 a job had no response\n"
         "                     or could not be checked.\n"
         "  --status [--json]  what the monitor of the data folder and its jobs say:\n"
         "                     whether a monitor runs (pid, mode, since when), its last\n"
         "                     automatic pass and the next, each job's last result;\n"
         "                     only reads, beside a running monitor. Exit 0 a monitor\n"
         "                     runs and every job is OK, 1 a job reports a change, 2 a\n"
         "                     job has no response or is not checked or the last pass\n"
         "                     was refused, 3 no monitor runs.\n"
         "  --help, --version\n"
         "\n"
         "--capture and --check exit 3 while a monitor runs, 4 when they cannot run (unknown job,\n"
         "no job, a job without baseline, bad arguments), 128 + the signal when\n"
         "interrupted. Message boxes are answered as in the service start and logged in\n"
         "syslog/.\n"
         "\n"
         "The history verbs only read, also while a monitor runs:\n"
         "  --history NO       the stored versions of job NO: the baseline and the\n"
         "                     generations 1 (newest) to 20; place, time, size a line.\n"
         "  --diff NO [A [B]]  what changed from the older of the entries A and B to the\n"
         "                     newer (default: 1 and the baseline, the last change), in\n"
         "                     UTF-8: for a page a unified diff with what its check\n"
         "                     passes over between \u27e6 and \u27e7 (--changes-only: left\n"
         "                     out), for the other types a line per change. A and B:\n"
         "                     baseline (or 0), 1 to 20.\n"
         "                     Exit 0 no difference, 1 a difference, 2 no such job or\n"
         "                     entry, 3 bad arguments.\n";
}

}  // namespace orvis
