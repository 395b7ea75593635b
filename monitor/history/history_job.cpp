#include "history_job.h"

#include "monitor/catalogue/job_keys.h"
#include "monitor/catalogue/job_paths.h"
#include "platform/bytes.h"
#include "platform/files.h"
#include "platform/ini_file.h"

namespace orvis {
namespace {

KeyReader keysIn(const std::optional<platform::IniDocument>& doc) {
  return [&doc](const char* key) {
    return doc ? doc->get(jobkey::kSection, key).value_or(std::string()) : std::string();
  };
}

}  // namespace

std::optional<HistoryJob> findHistoryJob(const std::string& dataFolder, std::string_view number) {
  const std::string wanted = platform::trim(number);
  const std::string folder = dataFolder + kJobFolder;
  for (const std::string& name : platform::listFolder(folder, "*.ini")) {
    // A pipe or a device in place of a job file is never opened.
    if (!platform::fileExists(folder + name)) continue;
    const std::optional<platform::IniDocument> file = platform::loadIniFile(folder + name);
    const KeyReader key = keysIn(file);
    if (!file || platform::trim(key(jobkey::NO)) != wanted) continue;
    HistoryJob job;
    job.number = key(jobkey::NO);
    job.name = key(jobkey::NAME);
    job.target = key(jobkey::URI);
    const std::string type = key(jobkey::TYPE);
    job.type = StoredValue<JobType>::fromText(type.empty() ? "URL" : type).known();
    const std::optional<std::string> baseline = baselinePath(dataFolder, job.number);
    if (!baseline) return std::nullopt;
    job.baseline = *baseline;
    // The check reads the rules from the job file of the trimmed number.
    const std::optional<std::string> jobFile = jobFilePath(dataFolder, job.number);
    const std::optional<platform::IniDocument> own =
        jobFile && platform::fileExists(*jobFile) ? platform::loadIniFile(*jobFile) : file;
    const std::optional<platform::IniDocument> standard =
        platform::fileExists(dataFolder + "ORVIS.ini")
            ? platform::loadIniFile(dataFolder + "ORVIS.ini")
            : std::nullopt;
    job.rules = effectiveRules(keysIn(own), keysIn(standard));
    return job;
  }
  return std::nullopt;
}

}  // namespace orvis
