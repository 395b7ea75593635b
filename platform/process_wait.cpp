#include "process_wait.h"

namespace orvis::platform {
namespace {

// `clock` null: no bound.
uint32_t waitUntilEnded(ProcessHandle& process, Pump& pump, const StopFlag& stop,
                        const Clock* clock, long long limitMs, int pollMs) {
  const long long start = clock ? clock->steadyMs() : 0;
  while (true) {
    if (stop.raised()) return kWaitInterrupted;
    uint32_t answer = process.wait(pollMs);
    if (answer != kWaitTimeout) return answer;
    if (clock && clock->steadyMs() - start >= limitMs) return kWaitTimeout;
    pump.processEvents();
  }
}

}  // namespace

uint32_t waitPumping(ProcessHandle& process, Pump& pump, const StopFlag& stop, int pollMs) {
  return waitUntilEnded(process, pump, stop, nullptr, 0, pollMs);
}

uint32_t waitPumping(ProcessHandle& process, Pump& pump, const StopFlag& stop, const Clock& clock,
                     long long limitMs, int pollMs) {
  return waitUntilEnded(process, pump, stop, &clock, limitMs, pollMs);
}

bool letMessagesRun(Pump& pump, const StopFlag& stop) {
  if (stop.raised()) return false;
  pump.processEvents();
  return !stop.raised();
}

}  // namespace orvis::platform
