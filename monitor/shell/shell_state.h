#pragma once
// Process-wide state of the monitor shell.

#include <string>

namespace orvis {

struct ShellState {
  // 1 once a logoff or shutdown was announced or a reactivation began: the
  // window then closes without the close question.
  int shutdownFlag = 0;
  // 1 in automatic check mode.
  int automaticMode = 0;
  bool firstShown = false;
  // While a check pass runs: a stop of the automatic mode then leaves the
  // editing controls to the pass, which unlocks them as it ends.
  bool checkPassRunning = false;
  // "yyyymmdd" of the last reactivation; today at start-up.
  std::string lastReactivationDay;
};

}  // namespace orvis
