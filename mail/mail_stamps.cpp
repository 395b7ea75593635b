#include "mail_stamps.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <random>

namespace orvis::mail {

std::string formatMailDate(const platform::LocalTime& t, int utcOffsetMinutes) {
  static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  using namespace std::chrono;
  year_month_day ymd{year(t.year), month(static_cast<unsigned>(t.month)),
                     day(static_cast<unsigned>(t.day))};
  unsigned weekday = std::chrono::weekday(sys_days(ymd)).c_encoding();
  int offset = utcOffsetMinutes < 0 ? -utcOffsetMinutes : utcOffsetMinutes;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%s, %02d %s %04d %02d:%02d:%02d %c%02d%02d", kDays[weekday % 7],
                t.day, kMonths[(t.month + 11) % 12], t.year, t.hour, t.minute, t.second,
                utcOffsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60);
  return buf;
}

std::string addressDomain(std::string_view address) {
  auto at = address.rfind('@');
  if (at == std::string_view::npos) return {};
  std::string_view domain = address.substr(at + 1);
  if (!domain.empty() && domain.back() == '>') domain.remove_suffix(1);
  if (domain.empty()) return {};
  for (unsigned char c : domain) {
    bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
              c == '.' || c == '-';
    if (!ok) return {};
  }
  return std::string(domain);
}

namespace {

std::tm localNow() {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return tm;
}

}  // namespace

std::string SystemMailStamps::date() {
  std::tm tm = localNow();
  platform::LocalTime t{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
                        tm.tm_min,         tm.tm_sec,     0};
  return formatMailDate(t, static_cast<int>(tm.tm_gmtoff / 60));
}

std::string SystemMailStamps::messageId(std::string_view domain) {
  static std::random_device device;
  std::tm tm = localNow();
  char buf[160];
  std::snprintf(buf, sizeof buf, "<%04d%02d%02d%02d%02d%02d.%ld.%u.%08x@", tm.tm_year + 1900,
                tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec,
                static_cast<long>(::getpid()), ++counter_, static_cast<unsigned>(device()));
  return buf + std::string(domain.empty() ? std::string_view(fallbackDomain_) : domain) + ">";
}

}  // namespace orvis::mail
