// "Today" and "now" come from a clock the session owns, so tests pin them, and waits go
// through it too, so a test's half-second lock retries cost no real time.
#pragma once

#include <chrono>
#include <string>

#include "base/date.h"

namespace kardo::base {

class Clock {
 public:
  using TimePoint = std::chrono::system_clock::time_point;
  virtual ~Clock() = default;
  virtual TimePoint now() = 0;  // local wall-clock time, as the operator reads it
  virtual void sleep_for(std::chrono::milliseconds d) = 0;

  Date today();
  std::string time_text();  // "hh:mm:ss" (TIME())
  long seconds_of_day();    // SECONDS(): seconds since local midnight
};

// The machine's clock, in local time.
class SystemClock final : public Clock {
 public:
  TimePoint now() override;
  void sleep_for(std::chrono::milliseconds d) override;
};

// A clock that stands still until told; sleeping moves it forward at once.
class FixedClock final : public Clock {
 public:
  explicit FixedClock(TimePoint t) : now_(t) {}
  // Local date and time given as fields; the clock's time points are local throughout.
  FixedClock(Date day, int hour = 9, int minute = 0, int second = 0);
  TimePoint now() override { return now_; }
  void sleep_for(std::chrono::milliseconds d) override { now_ += d; slept_ += d; }
  void advance(std::chrono::milliseconds d) { now_ += d; }
  std::chrono::milliseconds slept() const { return slept_; }

 private:
  TimePoint now_;
  std::chrono::milliseconds slept_{0};
};

}  // namespace kardo::base
