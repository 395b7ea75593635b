#include "status_report.h"

#include <cstdio>

#include "platform/clock.h"
#include "platform/codec.h"
#include "platform/files.h"

namespace orvis {
namespace {

std::string jsonString(const std::string& utf8) {
  std::string out = "\"";
  for (unsigned char c : utf8) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string jsonText(const std::string& cp932) { return jsonString(platform::toUtf8(cp932)); }

std::string jsonTime(const std::optional<long long>& ms) {
  return ms ? jsonString(platform::formatTimestamp(*ms)) : "null";
}

std::string jsonBool(bool b) { return b ? "true" : "false"; }

std::string secondsText(long long ms) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.3f", static_cast<double>(ms) / 1000.0);
  return buffer;
}

std::string timeText(const std::optional<long long>& ms) {
  return ms ? platform::formatTimestamp(*ms) : "-";
}

// The words of --check for a result.
const char* resultWords(ReportedResult result) {
  switch (result) {
    case ReportedResult::Ok:
      return "OK";
    case ReportedResult::Changed:
      return "changed";
    case ReportedResult::NoResponse:
      return "no response";
    case ReportedResult::NotChecked:
      break;
  }
  return "not checked";
}

}  // namespace

StatusReport StatusReport::read(const std::string& dataFolder, std::optional<FolderHolder> holder) {
  StatusReport report;
  report.dataFolder = dataFolder;
  report.holder = holder;
  if (auto text =
          platform::readFile(dataFolder + RunRecord::kFileName, platform::kSettingsFileLimit))
    report.run = RunRecord::parse(*text);
  report.jobs = readJobSummaries(dataFolder);
  return report;
}

const RunRecord* StatusReport::currentRun() const {
  if (!run || !monitorRunning() || run->pid != holder->pid) return nullptr;
  return &*run;
}

int StatusReport::exitStatus() const {
  if (!monitorRunning()) return 3;
  bool changed = false, unanswered = run && run->refusal != RunRecord::Refusal::None;
  for (const JobSummary& job : jobs) {
    changed |= job.result == ReportedResult::Changed;
    unanswered |=
        job.result == ReportedResult::NoResponse || job.result == ReportedResult::NotChecked;
  }
  if (unanswered) return 2;
  return changed ? 1 : 0;
}

std::string StatusReport::json() const {
  const RunRecord* now = currentRun();
  std::string j = "{\n  \"format\": 1,\n  \"data_folder\": " + jsonString(dataFolder) + ",\n";
  j += "  \"monitor\": {\"running\": " + jsonBool(monitorRunning()) +
       ", \"pid\": " + (monitorRunning() ? std::to_string(holder->pid) : "null");
  if (now) {
    j += ", \"started\": " + jsonTime(now->startedMs) +
         ", \"mode\": " + jsonString(now->automatic ? "automatic" : "manual") +
         ", \"mode_since\": " + jsonTime(now->modeSinceMs);
  } else {
    j += ", \"started\": null, \"mode\": null, \"mode_since\": null";
  }
  j += "},\n  \"last_pass\": ";
  if (run && run->passStartMs && run->passEndMs) {
    const bool refused = run->refusal != RunRecord::Refusal::None;
    j += "{\"start\": " + jsonTime(run->passStartMs) + ", \"end\": " + jsonTime(run->passEndMs) +
         ", \"duration_seconds\": " + secondsText(*run->passEndMs - *run->passStartMs) +
         ", \"refused\": " + jsonBool(refused) +
         ", \"refusal\": " + (refused ? jsonString(RunRecord::refusalName(run->refusal)) : "null") +
         ", \"refused_job\": " + (run->refusedJob.empty() ? "null" : jsonText(run->refusedJob)) +
         "}";
  } else {
    j += "null";
  }
  j += ",\n  \"next_pass_due\": " + (now ? jsonTime(now->nextDueMs) : "null");
  j += ",\n  \"check_period_seconds\": " + (now ? secondsText(now->periodMs) : "null");
  j += ",\n  \"jobs\": [";
  for (size_t i = 0; i < jobs.size(); ++i) {
    const JobSummary& job = jobs[i];
    j += std::string(i ? "," : "") + "\n    {\"number\": " + jsonText(job.number) +
         ", \"name\": " + jsonText(job.name) + ", \"type\": " + jsonText(job.type) +
         ", \"target\": " + jsonText(job.target) +
         ", \"result\": " + jsonString(resultName(job.result)) +
         ", \"last_change\": " + jsonTime(job.baselineMs) +
         ", \"has_baseline\": " + jsonBool(job.hasBaseline) + "}";
  }
  j += std::string(jobs.empty() ? "" : "\n  ") +
       "],\n  \"exit_status\": " + std::to_string(exitStatus()) + "\n}\n";
  return j;
}

std::string StatusReport::text() const {
  const RunRecord* now = currentRun();
  std::string t = "data folder: " + dataFolder + "\n";
  if (!holder) {
    t += "monitor: not running\n";
  } else if (!holder->isMonitor) {
    t += "monitor: not running (a --capture or --check runs, pid " + std::to_string(holder->pid) +
         ")\n";
  } else {
    t += "monitor: running, pid " + std::to_string(holder->pid);
    if (now)
      t += std::string(", ") + (now->automatic ? "automatic" : "edit/manual") + " mode since " +
           timeText(now->modeSinceMs);
    t += "\n";
  }
  if (run && run->passStartMs && run->passEndMs) {
    t += "last automatic pass: " + timeText(run->passStartMs) + " to " + timeText(run->passEndMs);
    if (run->refusal == RunRecord::Refusal::NoBaseline) {
      t += ", refused: job " + platform::toUtf8(run->refusedJob) + " has no baseline";
    } else if (run->refusal == RunRecord::Refusal::PassRunning) {
      t += ", refused: a manual pass was at work";
    }
    t += "\n";
  } else {
    t += "last automatic pass: none\n";
  }
  if (now && now->nextDueMs) t += "next pass due: " + timeText(now->nextDueMs) + "\n";
  for (const JobSummary& job : jobs) {
    t += platform::toUtf8(job.number) + '\t' + resultWords(job.result) + '\t' +
         platform::toUtf8(job.type) + '\t' + timeText(job.baselineMs) + '\t' +
         (job.hasBaseline ? "baseline" : "no baseline") + '\t' + platform::toUtf8(job.name) + '\t' +
         platform::toUtf8(job.target) + '\n';
  }
  return t;
}

}  // namespace orvis
