#include "process_wait.h"

namespace orvis::platform {

uint32_t waitPumping(ProcessHandle& process, Pump& pump, const StopFlag& stop, int pollMs) {
  while (true) {
    if (stop.raised()) return kWaitInterrupted;
    uint32_t answer = process.wait(pollMs);
    if (answer != kWaitTimeout) return answer;
    pump.processEvents();
  }
}

bool letMessagesRun(Pump& pump, const StopFlag& stop) {
  if (stop.raised()) return false;
  pump.processEvents();
  return !stop.raised();
}

}  // namespace orvis::platform
