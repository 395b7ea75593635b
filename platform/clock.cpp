#include "clock.h"

#include <sys/time.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>

namespace orvis::platform {

long long Clock::steadyMs() const {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

LocalTime SystemClock::now() const {
  struct timespec ts;
  clock_gettime(CLOCK_REALTIME, &ts);
  struct tm tm;
  localtime_r(&ts.tv_sec, &tm);
  LocalTime t;
  t.year = tm.tm_year + 1900;
  t.month = tm.tm_mon + 1;
  t.day = tm.tm_mday;
  t.hour = tm.tm_hour;
  t.minute = tm.tm_min;
  t.second = tm.tm_sec;
  t.millisecond = static_cast<int>(ts.tv_nsec / 1000000);
  return t;
}

void SystemClock::sleepMs(int ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::string formatDay(const LocalTime& t) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d%02d%02d", t.year % 10000, t.month % 100, t.day % 100);
  return buf;
}

std::string formatDate(const LocalTime& t) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d/%02d/%02d", t.year % 10000, t.month % 100, t.day % 100);
  return buf;
}

std::string formatTime(const LocalTime& t) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.hour % 100, t.minute % 100, t.second % 100);
  return buf;
}

std::string formatHourMinute(const LocalTime& t) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02d:%02d", t.hour % 100, t.minute % 100);
  return buf;
}

long long epochMs(const LocalTime& t) {
  struct tm tm {};
  tm.tm_year = t.year - 1900;
  tm.tm_mon = t.month - 1;
  tm.tm_mday = t.day;
  tm.tm_hour = t.hour;
  tm.tm_min = t.minute;
  tm.tm_sec = t.second;
  tm.tm_isdst = -1;
  return static_cast<long long>(mktime(&tm)) * 1000 + t.millisecond;
}

std::string formatTimestamp(long long epochMs) {
  const time_t seconds =
      static_cast<time_t>(epochMs >= 0 ? epochMs / 1000 : (epochMs - 999) / 1000);
  struct tm tm {};
  localtime_r(&seconds, &tm);
  const long offset = tm.tm_gmtoff / 60;
  const long hours = (offset < 0 ? -offset : offset) / 60;
  const long minutes = (offset < 0 ? -offset : offset) % 60;
  char buf[40];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d%c%02ld:%02ld",
                (tm.tm_year + 1900) % 10000, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min,
                tm.tm_sec, offset < 0 ? '-' : '+', hours % 100, minutes);
  return buf;
}

}  // namespace orvis::platform
