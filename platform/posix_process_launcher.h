#pragma once
// The real launcher: fork and exec with the program looked up beforehand, so
// that a missing or non-executable program (or a working folder the child
// cannot enter) is a failure of the launch. A hidden child is bound to the
// thread that started it (PR_SET_PDEATHSIG): it is killed when its starter
// ends, whatever way.

#include <optional>
#include <string>

#include "process_launcher.h"

namespace orvis::platform {

class PosixProcessLauncher : public ProcessLauncher {
 public:
  LaunchResult launch(const std::string& commandLine, const std::string& workingFolder,
                      WindowMode mode) override;
};

// The file that exec would run for `program`: a name with '/' as it stands,
// a bare name searched along PATH (default "/bin:/usr/bin") as execvp does.
// Only regular files that the caller may execute count.
std::optional<std::string> findProgram(const std::string& program);

}  // namespace orvis::platform
