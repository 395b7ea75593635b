#pragma once
// The running processes, as the Toolhelp snapshot lists them for the PROC
// check. The monitor is handed a lister; tests hand in a fake.

#include <string>
#include <vector>

namespace orvis::platform {

struct ProcessEntry {
  int pid = 0;
  int parentPid = 0;
  // The program file name in CP932, as the ANSI snapshot gives it; a
  // character CP932 cannot hold becomes '?'.
  std::string name;
};

class ProcessLister {
 public:
  virtual ~ProcessLister() = default;
  // Every process, in ascending pid order.
  virtual std::vector<ProcessEntry> list() const = 0;
};

}  // namespace orvis::platform
