#pragma once
// The wait every acquisition and mail launch repeats: poll the child every
// 50 ms and let queued messages run between the polls, with no overall limit.

#include <cstdint>

#include "process_handle.h"
#include "pump.h"

namespace orvis::platform {

inline constexpr int kChildPollMs = 50;

// Returns the first answer of the wait other than kWaitTimeout: kWaitObject0
// when the child ended, anything else when the wait failed. The pump runs
// once after every wait that timed out.
uint32_t waitPumping(ProcessHandle& process, Pump& pump, int pollMs = kChildPollMs);

}  // namespace orvis::platform
