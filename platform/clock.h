#pragma once
// The local clock, and the thread's sleep, behind one interface so that
// anything that depends on the date, the time or a pause can be driven by a
// fake in tests.

#include <string>

namespace orvis::platform {

struct LocalTime {
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime now() const = 0;
  // Blocks the calling thread.
  virtual void sleepMs(int ms) = 0;
  // Milliseconds on a clock that only moves forward, whatever the local
  // time does (a summer-time change, a set clock): for measuring how long
  // something has taken.
  virtual long long steadyMs() const;
};

class SystemClock : public Clock {
 public:
  LocalTime now() const override;
  void sleepMs(int ms) override;
};

// "yyyymmdd"
std::string formatDay(const LocalTime& t);
// "yyyy/mm/dd"
std::string formatDate(const LocalTime& t);
// "hh:nn:ss"
std::string formatTime(const LocalTime& t);
// "hh:nn"
std::string formatHourMinute(const LocalTime& t);

// Milliseconds since 1970-01-01 UTC of a local time of this machine's time
// zone (in the hour that a change of summer time repeats, the system's
// choice of the two).
long long epochMs(const LocalTime& t);
// RFC 3339 in the local time zone, to the second: "2026-12-07T09:05:03+09:00".
std::string formatTimestamp(long long epochMs);

}  // namespace orvis::platform
