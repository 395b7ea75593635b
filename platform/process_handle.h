#pragma once
// A started child process as the waiting code sees it: a handle that can be
// polled with a bounded wait and then released, as with the Windows process
// handle and WaitForSingleObject.

#include <cstdint>
#include <optional>

namespace orvis::platform {

// Answers of ProcessHandle::wait, the values of WaitForSingleObject.
inline constexpr uint32_t kWaitObject0 = 0;          // the child has ended
inline constexpr uint32_t kWaitTimeout = 258;        // still running
inline constexpr uint32_t kWaitFailed = 0xFFFFFFFF;  // the wait itself failed

class ProcessHandle {
 public:
  virtual ~ProcessHandle() = default;

  // Waits at most `timeoutMs` for the child to end: kWaitObject0 once it has
  // ended (and on every later call), kWaitTimeout while it runs, anything
  // else when the wait failed.
  virtual uint32_t wait(int timeoutMs) = 0;

  // Releases the handle. The child is not stopped; once it ends nothing of
  // it stays behind. Further waits fail.
  virtual void close() = 0;

  // Ends a child that still runs (asks it to terminate), then releases the
  // handle as close() does. For a child whose work is of no use any more.
  virtual void terminate() = 0;

  // Ends a child that still runs at once, whether it listens or not
  // (SIGKILL), then releases the handle. For a child that has hung.
  virtual void kill() { terminate(); }

  virtual int pid() const = 0;

  // The exit status once the child has ended normally; nullopt while it runs,
  // when a signal ended it, or when the status is not known.
  virtual std::optional<int> exitCode() const = 0;
};

}  // namespace orvis::platform
