#pragma once
// How the monitor was started: the first command-line parameter selects
// the kind of start.

#include <string>
#include <vector>

#include "platform/codec.h"

namespace orvis {

struct StartInfo {
  std::string parameter;  // the first parameter (CP932), empty when there is none
  int parameterCount = 0;

  // The arguments as the system hands them over, in UTF-8.
  static StartInfo fromArguments(const std::vector<std::string>& argsAfterProgram) {
    StartInfo s;
    s.parameterCount = static_cast<int>(argsAfterProgram.size());
    if (!argsAfterProgram.empty()) s.parameter = platform::toCp932(argsAfterProgram.front());
    return s;
  }

  // The service behaviours (message boxes, tray, close question,
  // reactivation) follow the first parameter alone.
  bool isService() const { return parameter == "OrvisWatchService"; }
  // Only a start with exactly one parameter restores or starts a mode.
  bool restoresMode() const { return parameterCount == 1 && parameter == "OrvisWatch"; }
  bool startsService() const { return parameterCount == 1 && parameter == "OrvisWatchService"; }
};

}  // namespace orvis
