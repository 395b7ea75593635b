#pragma once
// What a running monitor knows of itself and no other file holds: its
// process, its mode and since when, its last automatic check pass (start,
// end, whether it was refused and why) and when the next one is due. The
// monitor writes it into "Status.tmp" of the data folder, replaced whole,
// after each automatic pass, at each change of the mode and at its start;
// `OrvisWatch --status` reads it beside the running monitor.

#include <optional>
#include <string>
#include <string_view>

namespace orvis {

struct RunRecord {
  static constexpr const char* kFileName = "Status.tmp";

  // Why an automatic pass did not run.
  enum class Refusal {
    None,
    NoBaseline,   // a job has no baseline (refusedJob names it)
    PassRunning,  // a manual pass was still at work
  };

  // Times are milliseconds since 1970 (UTC).
  int pid = 0;
  long long startedMs = 0;
  bool automatic = false;
  long long modeSinceMs = 0;
  long long periodMs = 0;  // of the automatic mode
  std::optional<long long> nextDueMs = {};
  // The last automatic pass, refused ones included.
  std::optional<long long> passStartMs = {}, passEndMs = {};
  Refusal refusal = Refusal::None;
  std::string refusedJob = {};  // CP932 job number
  long long writtenMs = 0;

  // "no_baseline", "pass_running"; empty for None.
  static const char* refusalName(Refusal refusal);

  // The file's text (INI, section [STATUS]).
  std::string serialize() const;
  // nullopt when the text is no such record (no PID).
  static std::optional<RunRecord> parse(std::string_view text);
};

}  // namespace orvis
