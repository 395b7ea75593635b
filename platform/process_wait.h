#pragma once
// The wait every acquisition and mail launch repeats: poll the child every
// 50 ms and let queued messages run between the polls, until the child
// ends, the program is asked to end, or (for the bounded form) the time the
// caller gives it has passed.

#include <cstdint>

#include "clock.h"
#include "process_handle.h"
#include "pump.h"
#include "stop_flag.h"

namespace orvis::platform {

inline constexpr int kChildPollMs = 50;

// The answer of waitPumping when the program was asked to end: the child may
// still run, and the caller decides whether to end it or leave it.
inline constexpr uint32_t kWaitInterrupted = 0xFFFFFFFE;

// Returns the first answer of the wait other than kWaitTimeout: kWaitObject0
// when the child ended, anything else when the wait failed, and
// kWaitInterrupted as soon as `stop` is raised (looked at before the first
// poll and after every pump). The pump runs once after every wait that
// timed out.
uint32_t waitPumping(ProcessHandle& process, Pump& pump, const StopFlag& stop,
                     int pollMs = kChildPollMs);

// The same, bounded: kWaitTimeout once `limitMs` has passed on the clock's
// steady time since the call while the child still runs. The child is left
// running; the caller ends it (ProcessHandle::kill) and says so in its log.
// A child that never ends must not stop every later check.
uint32_t waitPumping(ProcessHandle& process, Pump& pump, const StopFlag& stop, const Clock& clock,
                     long long limitMs, int pollMs = kChildPollMs);

// Lets queued messages run once. False when the program has been asked to
// end (before or meanwhile): the caller then returns at once.
bool letMessagesRun(Pump& pump, const StopFlag& stop);

}  // namespace orvis::platform
