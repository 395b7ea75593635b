#include "services_rig.h"

#include "platform/codec.h"

namespace orvis::testing {

std::vector<std::string> ServicesRig::logLines() const {
  std::vector<std::string> lines;
  for (const auto& l : readLogLines(dir.path() + "syslog/")) {
    std::string u = platform::toUtf8(l);
    const std::string tag = "(OrvisWatch),";
    lines.push_back(u.rfind(tag, 0) == 0 ? u.substr(tag.size()) : u);
  }
  return lines;
}

}  // namespace orvis::testing
