#pragma once
// The main window's timers.

#include "platform/timer.h"

namespace orvis {

struct MonitorTimers {
  platform::Timer startup{"TmrStartup", 300};            // once, after the first show
  platform::Timer check{"TmrDevCheck", 60 * 60 * 1000};  // the check period
  platform::Timer reactivation{"tmrReact", 10000};       // the reactivation test
};

}  // namespace orvis
