#include "base/clock.h"

#include <cstdio>
#include <ctime>
#include <thread>

namespace kardo::base {

// Time points of a Clock are "local seconds" stored in a system_clock time point: the
// system clock's value shifted by the zone offset, so date arithmetic needs no zone.
Date Clock::today() {
  auto days = std::chrono::floor<std::chrono::days>(now());
  return Date::from_days(std::chrono::sys_days(days.time_since_epoch()));
}

long Clock::seconds_of_day() {
  auto t = now();
  auto days = std::chrono::floor<std::chrono::days>(t);
  return long(std::chrono::duration_cast<std::chrono::seconds>(t - days).count());
}

std::string Clock::time_text() {
  long s = seconds_of_day();
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02ld:%02ld:%02ld", s / 3600 % 24, s / 60 % 60, s % 60);
  return buf;
}

Clock::TimePoint SystemClock::now() {
  auto t = std::chrono::system_clock::now();
  std::time_t tt = std::chrono::system_clock::to_time_t(t);
  std::tm local{};
  localtime_r(&tt, &local);
  return t + std::chrono::seconds(local.tm_gmtoff);
}

void SystemClock::sleep_for(std::chrono::milliseconds d) { std::this_thread::sleep_for(d); }

FixedClock::FixedClock(Date day, int hour, int minute, int second)
    : now_(TimePoint(day.days().time_since_epoch()) + std::chrono::hours(hour) + std::chrono::minutes(minute) +
           std::chrono::seconds(second)) {}

}  // namespace kardo::base
