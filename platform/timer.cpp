#include "timer.h"

namespace orvis::platform {

Timer::Timer(std::string name, int intervalMs) : name_(std::move(name)), interval_(intervalMs) {}

Timer::~Timer() {
  if (driver_) driver_->timerDestroyed(*this);
}

void Timer::setInterval(int ms) {
  interval_ = ms;
  changed();
}

void Timer::setEnabled(bool on) {
  enabled_ = on;
  changed();
}

void Timer::fire() {
  if (!enabled_ || !handler_) return;
  handler_();
}

void Timer::attach(TimerDriver* driver) {
  if (driver_ && driver_ != driver) driver_->timerDestroyed(*this);
  driver_ = driver;
  changed();
}

void Timer::changed() {
  if (driver_) driver_->timerChanged(*this);
}

}  // namespace orvis::platform
