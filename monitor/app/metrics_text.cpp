#include "metrics_text.h"

#include <cstdio>
#include <optional>
#include <set>

#include "platform/codec.h"

namespace orvis {
namespace {

constexpr ReportedResult kResults[] = {ReportedResult::Ok, ReportedResult::Changed,
                                       ReportedResult::NoResponse, ReportedResult::NotChecked};

std::string seconds(long long ms) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.3f", static_cast<double>(ms) / 1000.0);
  return buffer;
}

// A label value: backslash, double quote and line feed escaped.
std::string labelValue(const std::string& cp932) {
  std::string out;
  for (char c : platform::toUtf8(cp932)) {
    if (c == '\\' || c == '"') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out;
}

class Families {
 public:
  // A metric family with its samples; one without samples is left out.
  void add(const char* name, const char* type, const char* help,
           const std::vector<std::pair<std::string, std::string>>& samples) {
    if (samples.empty()) return;
    text_ += std::string("# HELP ") + name + " " + help + "\n";
    text_ += std::string("# TYPE ") + name + " " + type + "\n";
    for (const auto& [labels, value] : samples)
      text_ += name + (labels.empty() ? "" : "{" + labels + "}") + " " + value + "\n";
  }
  void add(const char* name, const char* type, const char* help, const std::string& value) {
    add(name, type, help, {{std::string(), value}});
  }
  void addTime(const char* name, const char* help, const std::optional<long long>& ms) {
    if (ms) add(name, "gauge", help, seconds(*ms));
  }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

}  // namespace

std::string metricsText(const RunRecord& run, const std::vector<JobSummary>& jobs,
                        const ActivityCounters& counters) {
  Families f;
  f.add("orviswatch_start_timestamp_seconds", "gauge",
        "When the monitor started; its counters count from then.", seconds(run.startedMs));
  f.add("orviswatch_check_period_seconds", "gauge", "The check period of the automatic mode.",
        seconds(run.periodMs));
  f.add("orviswatch_last_pass_refused", "gauge",
        "1 when the last automatic check pass was refused (a job without baseline, or a "
        "manual pass at work), else 0.",
        run.refusal == RunRecord::Refusal::None ? "0" : "1");
  f.addTime("orviswatch_last_pass_start_timestamp_seconds",
            "When the last automatic check pass started.", run.passStartMs);
  f.addTime("orviswatch_last_pass_end_timestamp_seconds",
            "When the last automatic check pass ended.", run.passEndMs);
  if (run.passStartMs && run.passEndMs)
    f.add("orviswatch_last_pass_duration_seconds", "gauge",
          "How long the last automatic check pass took.",
          seconds(*run.passEndMs - *run.passStartMs));

  std::vector<std::pair<std::string, std::string>> byResult, results, changed;
  for (ReportedResult r : kResults) {
    size_t count = 0;
    for (const JobSummary& job : jobs) count += job.result == r;
    byResult.emplace_back(std::string("result=\"") + resultName(r) + "\"", std::to_string(count));
  }
  // Two job files with the same number, name and type would give one
  // series twice, which spoils the whole file for the collector: the first
  // one speaks for both.
  std::set<std::string> seen;
  for (const JobSummary& job : jobs) {
    const std::string labels = "number=\"" + labelValue(job.number) + "\",name=\"" +
                               labelValue(job.name) + "\",type=\"" + labelValue(job.type) + "\"";
    if (!seen.insert(labels).second) continue;
    for (ReportedResult r : kResults)
      results.emplace_back(labels + ",result=\"" + resultName(r) + "\"",
                           job.result == r ? "1" : "0");
    if (job.baselineMs) changed.emplace_back(labels, seconds(*job.baselineMs));
  }
  f.add("orviswatch_jobs", "gauge", "Jobs by the result of their last check.", byResult);
  f.add("orviswatch_job_result", "gauge",
        "The result of each job's last check: 1 for its result, 0 for the others.", results);
  f.add("orviswatch_job_last_change_timestamp_seconds", "gauge",
        "When each job's baseline was last written: its last change, or its capture.", changed);

  f.add("orviswatch_changes_total", "counter", "Checks that reported a change.",
        std::to_string(counters.changes));
  f.add("orviswatch_alert_mails_started_total", "counter", "Alert mailers started.",
        std::to_string(counters.alertMailsStarted));
  f.add("orviswatch_mailer_failures_total", "counter",
        "Alert mailers that could not be started or ended with an error (how=\"failed\"), or "
        "that the monitor ended at their time limit (how=\"ended\").",
        {{"how=\"failed\"", std::to_string(counters.mailersFailed)},
         {"how=\"ended\"", std::to_string(counters.mailersEnded)}});
  f.add("orviswatch_fetch_failures_total", "counter",
        "Page fetches that gave no page: not started, failed, or ended at their time limit.",
        std::to_string(counters.fetchesFailed));
  return f.text();
}

}  // namespace orvis
