#pragma once
// A window timer as the logic sees it: an interval, an enabled flag and a
// handler. The logic never waits on it; a host driver (the toolkit's timer
// in the programs) calls fire() when the interval has passed, and tests call
// fire() themselves instead of waiting.

#include <functional>
#include <string>

namespace orvis::platform {

class Timer;

// Implemented by the host: follows every change of a timer.
class TimerDriver {
 public:
  virtual ~TimerDriver() = default;
  virtual void timerChanged(Timer& timer) = 0;
  virtual void timerDestroyed(Timer& timer) = 0;
};

class Timer {
 public:
  explicit Timer(std::string name, int intervalMs = 1000);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  const std::string& name() const { return name_; }
  int interval() const { return interval_; }
  bool enabled() const { return enabled_; }

  // Setting the interval or enabling restarts the count from zero, as a
  // window timer does.
  void setInterval(int ms);
  void setEnabled(bool on);

  void setHandler(std::function<void()> handler) { handler_ = std::move(handler); }
  // Runs the handler as an expiry does. A disabled timer does not fire.
  void fire();

  void attach(TimerDriver* driver);

 private:
  void changed();

  std::string name_;
  int interval_;
  bool enabled_ = false;
  std::function<void()> handler_;
  TimerDriver* driver_ = nullptr;
};

}  // namespace orvis::platform
