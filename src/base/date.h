// Calendar dates as the system keeps them: a day or nothing (an empty date is blank in a
// table and on screen). Text forms: "dd/mm/yyyy" on screen, "yyyymmdd" in tables and keys;
// two-digit years typed by the operator are read in the window 1900 … 1999.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace kardo::base {

class Date {
 public:
  constexpr Date() = default;  // empty
  constexpr Date(std::chrono::year_month_day ymd) : days_(std::chrono::sys_days(ymd)), set_(true) {}  // NOLINT
  constexpr Date(int y, unsigned m, unsigned d)
      : Date(std::chrono::year_month_day{std::chrono::year(y), std::chrono::month(m), std::chrono::day(d)}) {}
  static constexpr Date from_days(std::chrono::sys_days d) { Date r; r.days_ = d; r.set_ = true; return r; }

  // "yyyymmdd"; blanks are the empty date; anything else, or an impossible day, is nullopt.
  static std::optional<Date> from_dtos(std::string_view text);
  // "dd/mm/yyyy" or "dd/mm/yy" (1900 … 1999); blank or "  /  /    " is the empty date.
  static std::optional<Date> parse(std::string_view text);
  static bool valid(int y, unsigned m, unsigned d);

  constexpr bool empty() const { return !set_; }
  std::chrono::year_month_day ymd() const { return std::chrono::year_month_day(days_); }
  constexpr std::chrono::sys_days days() const { return days_; }
  int year() const { return int(ymd().year()); }
  unsigned month() const { return unsigned(ymd().month()); }
  unsigned day() const { return unsigned(ymd().day()); }
  // 1 = Sunday … 7 = Saturday, as DOW.
  int DOW() const;

  std::string DTOS() const;  // "yyyymmdd", 8 blanks when empty
  std::string DTOC() const;  // "dd/mm/yyyy", "  /  /    " when empty

  Date plus_days(long n) const { return empty() ? *this : from_days(days_ + std::chrono::days(n)); }
  // Days from a to b (b − a); 0 when either is empty.
  friend long days_between(Date a, Date b);
  Date month_end() const;
  // Whole years of life on `at` for someone born on this date (calendar age: the birthday
  // itself counts; born 29 February turns a year older on 1 March in common years).
  int age_at(Date at) const;

  friend constexpr bool operator==(Date a, Date b) { return a.set_ == b.set_ && (!a.set_ || a.days_ == b.days_); }
  // Empty dates sort first, as blank keys do.
  friend constexpr auto operator<=>(Date a, Date b) {
    if (a.set_ != b.set_) return a.set_ <=> b.set_;
    return a.days_ <=> b.days_;
  }

 private:
  std::chrono::sys_days days_{};
  bool set_ = false;
};

}  // namespace kardo::base
