#include "job_paths.h"

#include "platform/bytes.h"
#include "platform/codec.h"

namespace orvis {

bool usableAsFileName(std::string_view jobNumber) {
  return !platform::trim(jobNumber).empty() && jobNumber.find('/') == std::string_view::npos &&
         jobNumber.find('\0') == std::string_view::npos;
}

std::optional<std::string> jobFileIn(const std::string& dataFolder, std::string_view folder,
                                     std::string_view jobNumber, std::string_view extension) {
  if (!usableAsFileName(jobNumber)) return std::nullopt;
  return dataFolder + std::string(folder) + platform::toUtf8(jobNumber) + std::string(extension);
}

std::string mailGroupFile(const std::string& dataFolder, std::string_view group) {
  return dataFolder + "mail/Group-" + platform::toUtf8(group) + ".txt";
}

std::optional<std::string> baselinePath(const std::string& dataFolder, std::string_view jobNumber) {
  return jobFileIn(dataFolder, kBaselineFolder, jobNumber);
}

std::optional<std::string> jobFilePath(const std::string& dataFolder, std::string_view jobNumber) {
  return jobFileIn(dataFolder, kJobFolder, platform::trim(jobNumber));
}

}  // namespace orvis
