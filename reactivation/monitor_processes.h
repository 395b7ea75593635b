#pragma once
// The running programs as the restart sees them: which monitor works on a
// data folder, signals to it, and whether it has ended. The real one asks
// the folder's instance lock and reads /proc; tests fake it.

#include <string>
#include <vector>

namespace orvis::restart {

class MonitorProcesses {
 public:
  virtual ~MonitorProcesses() = default;

  // The monitor holding the lock of `dataFolder` (with a trailing '/'), as
  // one pid; none when no monitor does (a verb holding it is no monitor).
  virtual std::vector<int> running(const std::string& dataFolder) const = 0;
  // Sends the signal; the empty text when it was sent, else why not (CP932).
  virtual std::string sendSignal(int pid, int signal) = 0;
  // Whether the process has ended: gone, or only waiting for its parent to
  // collect it.
  virtual bool ended(int pid) const = 0;
};

}  // namespace orvis::restart
