#include "process_history.h"

#include <map>
#include <utility>

#include "monitor/engine/target_changes.h"
#include "platform/bytes.h"

namespace orvis {
namespace {

ProcessLine parse(std::string_view line) {
  const std::size_t first = line.find(' ');
  const std::size_t second = first == std::string_view::npos ? first : line.find(' ', first + 1);
  ProcessLine p;
  p.pid = std::string(line.substr(0, first));
  if (first != std::string_view::npos)
    p.parent = std::string(line.substr(
        first + 1, second == std::string_view::npos ? std::string_view::npos : second - first - 1));
  p.name = std::string(programNameOf(line));
  return p;
}

using Key = std::pair<std::string, std::string>;

std::vector<ProcessLine> parseAll(std::string_view text) {
  std::vector<ProcessLine> lines;
  for (const std::string& line : platform::splitLines(text))
    if (!line.empty()) lines.push_back(parse(line));
  return lines;
}

// The lines of `from` that `other` has not (as many times).
std::vector<ProcessLine> missingFrom(const std::vector<ProcessLine>& from,
                                     const std::vector<ProcessLine>& other) {
  std::map<Key, int> left;
  for (const ProcessLine& p : other) ++left[{p.pid, p.name}];
  std::vector<ProcessLine> missing;
  for (const ProcessLine& p : from) {
    int& count = left[{p.pid, p.name}];
    if (count > 0)
      --count;
    else
      missing.push_back(p);
  }
  return missing;
}

}  // namespace

ProcessChanges processChanges(std::string_view uri, std::string_view older,
                              std::string_view newer) {
  const std::vector<ProcessLine> before = parseAll(older), now = parseAll(newer);
  return {missingFrom(now, before), missingFrom(before, now), processChange(uri, older, newer)};
}

bool isWatchedProgram(std::string_view uri, const ProcessLine& line) {
  // The check's own test, on this one line.
  const std::string text = line.pid + " " + line.parent + " " + line.name;
  return processChange(uri, "", text).has_value();
}

}  // namespace orvis
