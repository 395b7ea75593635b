#include "job_summary.h"

#include <sys/stat.h>

#include "job_keys.h"
#include "job_paths.h"
#include "platform/bytes.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/ini_file.h"

namespace orvis {
namespace {

ReportedResult resultOf(const std::string& stored) {
  if (stored == "1") return ReportedResult::Ok;
  if (stored == "0") return ReportedResult::Changed;
  if (stored == "R") return ReportedResult::NoResponse;
  return ReportedResult::NotChecked;
}

std::optional<long long> modifiedMs(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return static_cast<long long>(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
}

}  // namespace

const char* resultName(ReportedResult result) {
  switch (result) {
    case ReportedResult::Ok:
      return "ok";
    case ReportedResult::Changed:
      return "changed";
    case ReportedResult::NoResponse:
      return "no_response";
    case ReportedResult::NotChecked:
      break;
  }
  return "not_checked";
}

std::vector<JobSummary> readJobSummaries(const std::string& dataFolder) {
  std::vector<JobSummary> jobs;
  const std::string folder = dataFolder + kJobFolder;
  for (const std::string& name : platform::listFolder(folder, "*.ini", false)) {
    JobSummary job;
    const std::string path = folder + name;
    // The job list passes over anything but a regular file too.
    if (!platform::fileExists(path)) continue;
    const std::optional<platform::IniDocument> doc = platform::loadIniFile(path);
    if (!doc) {
      job.number = platform::toCp932(name.substr(0, name.size() - 4));
      jobs.push_back(std::move(job));
      continue;
    }
    auto get = [&doc](const char* key) {
      return doc->get(jobkey::kSection, key).value_or(std::string());
    };
    const std::string number = get(jobkey::NO);
    job.number = platform::trim(number);
    job.name = get(jobkey::NAME);
    job.target = get(jobkey::URI);
    job.type = get(jobkey::TYPE);
    if (job.type.empty()) job.type = "URL";
    job.result = resultOf(get(jobkey::CHECK));
    job.hasBaseline = get(jobkey::SOURCE) == "1";
    if (auto baseline = baselinePath(dataFolder, number)) job.baselineMs = modifiedMs(*baseline);
    jobs.push_back(std::move(job));
  }
  return jobs;
}

}  // namespace orvis
