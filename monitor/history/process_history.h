#pragma once
// The programs that started and ended between two process lists, and what
// a check of the job would say of its own program.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvis {

struct ProcessLine {
  std::string pid, parent, name;  // CP932 as listed
};

struct ProcessChanges {
  // A process is the same in both lists when its number and program are.
  std::vector<ProcessLine> started;  // in the newer list's order
  std::vector<ProcessLine> ended;    // in the older list's order
  // "<uri>が起動しました。" or "<uri>が終了しました。", as the check
  // reports it; none when the job's program neither started nor ended.
  std::optional<std::string> verdict;
};

ProcessChanges processChanges(std::string_view uri, std::string_view older, std::string_view newer);

// Whether the check takes the line for the job's program.
bool isWatchedProgram(std::string_view uri, const ProcessLine& line);

}  // namespace orvis
