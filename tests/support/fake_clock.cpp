#include "fake_clock.h"

#include <ctime>

namespace orvis::testing {

void FakeClock::advanceMs(long ms) {
  elapsed_ += ms;
  struct tm tm = {};
  tm.tm_year = now_.year - 1900;
  tm.tm_mon = now_.month - 1;
  tm.tm_mday = now_.day;
  tm.tm_hour = now_.hour;
  tm.tm_min = now_.minute;
  tm.tm_sec = now_.second;
  long total = now_.millisecond + ms;
  long seconds = total / 1000;
  long millis = total % 1000;
  if (millis < 0) {
    millis += 1000;
    --seconds;
  }
  // timegm/gmtime keep the arithmetic free of the machine's time zone.
  time_t t = timegm(&tm) + seconds;
  struct tm out;
  gmtime_r(&t, &out);
  now_.year = out.tm_year + 1900;
  now_.month = out.tm_mon + 1;
  now_.day = out.tm_mday;
  now_.hour = out.tm_hour;
  now_.minute = out.tm_min;
  now_.second = out.tm_sec;
  now_.millisecond = static_cast<int>(millis);
}

}  // namespace orvis::testing
