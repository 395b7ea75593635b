#pragma once
// The mail files of a test data folder, written and read as UTF-8 lines,
// and the parts that write them.

#include <string>
#include <vector>

#include "monitor/alerting/mail_files.h"
#include "monitor/catalogue/job_files.h"
#include "platform/bytes.h"
#include "platform/codec.h"
#include "support/services_rig.h"
#include "support/temp_dir.h"

namespace orvis::testing {

// Writes UTF-8 lines as CP932, each followed by CR LF.
inline void writeSjisLines(const std::string& path, const std::vector<std::string>& utf8) {
  std::vector<std::string> lines;
  for (const auto& l : utf8) lines.push_back(platform::toCp932(l));
  writeText(path, platform::joinLinesCrLf(lines));
}

// A CP932 file's lines as UTF-8, without their line breaks.
inline std::vector<std::string> utf8Lines(const std::string& path) {
  std::vector<std::string> out;
  for (const auto& l : readLines(path)) out.push_back(platform::toUtf8(l));
  return out;
}

// The files of the alerts in a rig's data folder.
struct AlertFiles {
  explicit AlertFiles(const ServicesRig& rig)
      : jobs(rig.services.ini, rig.dir.path()), mail(rig.services.log, rig.dir.path(), jobs) {}
  JobFiles jobs;
  MailFiles mail;
};

}  // namespace orvis::testing
