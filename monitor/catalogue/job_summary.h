#pragma once
// What the job files say of each job, read for a report (the status verb,
// the metrics file) without writing anything and without the retries and
// messages of the monitor's own reads: a report runs beside a monitor,
// whose writes replace files whole, and must never wait or ask.

#include <optional>
#include <string>
#include <vector>

namespace orvis {

// The last result as the job file stores it in CHECK.
enum class ReportedResult { Ok, Changed, NoResponse, NotChecked };

// "ok", "changed", "no_response", "not_checked": the words of the reports.
const char* resultName(ReportedResult result);

struct JobSummary {
  // CP932 as stored; the number trimmed of blanks.
  std::string number, name, type, target;
  ReportedResult result = ReportedResult::NotChecked;
  bool hasBaseline = false;  // SOURCE=1
  // When the baseline was last written (the time of the job's last change
  // or capture); nullopt without a baseline file.
  std::optional<long long> baselineMs;
};

// Every job file of "info/" in the order the job list loads them. A file
// that cannot be read still gives its job (the file's name as its number,
// not checked), so that no job drops out of a report unseen.
std::vector<JobSummary> readJobSummaries(const std::string& dataFolder);

}  // namespace orvis
