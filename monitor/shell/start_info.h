#pragma once
// How the monitor was started: the first command-line parameter selects
// the kind of start.

#include <string>
#include <vector>

namespace orvis {

struct StartInfo {
  std::string parameter;  // the first parameter, empty when there is none
  int parameterCount = 0;

  static StartInfo fromArguments(const std::vector<std::string>& argsAfterProgram) {
    StartInfo s;
    s.parameterCount = static_cast<int>(argsAfterProgram.size());
    if (!argsAfterProgram.empty()) s.parameter = argsAfterProgram.front();
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
