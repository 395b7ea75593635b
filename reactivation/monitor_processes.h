#pragma once
// The running programs as the restart sees them: which processes run a
// given program file, signals to them, and whether they have ended. The
// real one reads /proc; tests fake it.

#include <string>
#include <vector>

namespace orvis::restart {

class MonitorProcesses {
 public:
  virtual ~MonitorProcesses() = default;

  // The processes whose executable is `programFile` (an absolute path), in
  // ascending pid order.
  virtual std::vector<int> running(const std::string& programFile) const = 0;
  // Sends the signal; the empty text when it was sent, else why not (CP932).
  virtual std::string sendSignal(int pid, int signal) = 0;
  // Whether the process has ended: gone, or only waiting for its parent to
  // collect it.
  virtual bool ended(int pid) const = 0;
};

}  // namespace orvis::restart
