#pragma once
// Counts of what the monitor did since it started, for the metrics file.
// They start at 0 with the process.

#include <cstdint>

namespace orvis {

struct ActivityCounters {
  uint64_t changes = 0;            // checks that reported a change
  uint64_t alertMailsStarted = 0;  // mailers started for an alert or a mail test
  uint64_t mailersFailed = 0;      // could not be started, or ended with a status other than 0
  uint64_t mailersEnded = 0;       // ended by the monitor at their time limit
  uint64_t fetchesFailed = 0;      // page fetches without a page: not started, failed, or ended
};

}  // namespace orvis
