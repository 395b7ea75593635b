#include "process_wait.h"

namespace orvis::platform {

uint32_t waitPumping(ProcessHandle& process, Pump& pump, int pollMs) {
  while (true) {
    uint32_t answer = process.wait(pollMs);
    if (answer != kWaitTimeout) return answer;
    pump.processEvents();
  }
}

}  // namespace orvis::platform
