#pragma once
// Running the installed program and the test server as child processes,
// each wait bounded so that no test can hang.

#include <sys/types.h>

#include <string>
#include <vector>

namespace orvis::testing {

// Starts argv[0] with exactly the given environment, in `folder`, with
// stdout and stderr going to `outputFile`. -1 when it cannot start.
pid_t startChild(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                 const std::string& folder, const std::string& outputFile);

struct ChildEnd {
  bool ended = false;  // false: still running at the bound, killed
  int exitCode = -1;   // when it exited normally
};

// Waits up to boundMs for the child; kills it when the bound passes.
ChildEnd waitChild(pid_t pid, long boundMs);

// Asks the child to stop (SIGTERM) and waits for it, killing it after boundMs.
void stopChild(pid_t pid, long boundMs);

}  // namespace orvis::testing
