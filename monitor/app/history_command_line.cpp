// The arguments of --history and --diff.

#include "command_line.h"

namespace orvis {

CommandLine CommandLine::parseHistory(const std::vector<std::string>& args) {
  CommandLine line;
  const std::string& verb = args.front();
  line.verb = verb == "--history" ? Verb::History : Verb::Diff;
  auto refuse = [&line](const std::string& why) {
    line.verb = Verb::Invalid;
    line.error = why;
    line.errorStatus = exitcode::kBadHistoryArguments;
    line.jobNumbers.clear();
    line.places.clear();
    return line;
  };
  std::vector<std::string> words;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--changes-only" && line.verb == Verb::Diff) {
      line.changesOnly = true;
    } else if (args[i].empty() || (args[i].size() > 1 && args[i][0] == '-')) {
      return refuse("unexpected argument \"" + args[i] + "\" after " + verb);
    } else {
      words.push_back(args[i]);
    }
  }
  const std::size_t most = line.verb == Verb::History ? 1 : 3;
  if (words.empty()) return refuse(verb + " needs a job number");
  if (words.size() > most)
    return refuse("unexpected argument \"" + words[most] + "\" after " + verb);
  line.jobNumbers.push_back(words.front());
  line.places.assign(words.begin() + 1, words.end());
  return line;
}

}  // namespace orvis
