#pragma once
// Starting a child process from a Windows-style command line, as
// CreateProcess does for the monitor. The monitor is handed a launcher
// through its constructor; tests hand in a fake.

#include <memory>
#include <string>

#include "process_handle.h"

namespace orvis::platform {

enum class WindowMode {
  // No terminal interaction: stdin from /dev/null, stdout discarded, own
  // session; and it never outlives the caller: it dies with it (see
  // PosixProcessLauncher).
  Hidden,
  // The child shares the caller's terminal and standard streams.
  Shown,
  // A program meant to outlive the caller: all three standard streams on
  // /dev/null (nothing of the caller's stays open in it), own session.
  Detached,
};

struct LaunchResult {
  std::unique_ptr<ProcessHandle> handle;  // null when the child was not created
  std::string error;                      // why not, for the log (CP932)

  explicit operator bool() const { return handle != nullptr; }
};

class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;

  // `commandLine` is split by the Windows rules; its first word names the
  // program. `workingFolder` empty keeps the caller's. A program that cannot
  // be found or run fails here, never as a child that ends at once.
  virtual LaunchResult launch(const std::string& commandLine, const std::string& workingFolder,
                              WindowMode mode) = 0;
};

}  // namespace orvis::platform
