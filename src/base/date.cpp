#include "base/date.h"

#include <cstdio>

#include "base/xtext.h"

namespace kardo::base {
namespace {
bool read_digits(std::string_view s, int& out) {
  if (s.empty()) return false;
  out = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    out = out * 10 + (c - '0');
  }
  return true;
}
}  // namespace

bool Date::valid(int y, unsigned m, unsigned d) {
  if (y < 1 || y > 9999) return false;
  return std::chrono::year_month_day{std::chrono::year(y), std::chrono::month(m), std::chrono::day(d)}.ok();
}

std::optional<Date> Date::from_dtos(std::string_view s) {
  if (is_blank(s)) return Date();
  int y, m, d;
  if (s.size() != 8 || !read_digits(s.substr(0, 4), y) || !read_digits(s.substr(4, 2), m) ||
      !read_digits(s.substr(6, 2), d) || !valid(y, unsigned(m), unsigned(d)))
    return std::nullopt;
  return Date(y, unsigned(m), unsigned(d));
}

std::optional<Date> Date::parse(std::string_view s) {
  std::string t(ALLTRIM(s));
  if (t.empty() || t == "/  /" || ALLTRIM(std::string_view(t)).find_first_not_of("/ ") == std::string::npos)
    return Date();
  size_t a = t.find('/'), b = a == std::string::npos ? a : t.find('/', a + 1);
  if (b == std::string::npos) return std::nullopt;
  int d, m, y;
  std::string_view ds = ALLTRIM(std::string_view(t).substr(0, a));
  std::string_view ms = ALLTRIM(std::string_view(t).substr(a + 1, b - a - 1));
  std::string_view ys = ALLTRIM(std::string_view(t).substr(b + 1));
  if (!read_digits(ds, d) || !read_digits(ms, m) || !read_digits(ys, y)) return std::nullopt;
  if (ys.size() <= 2) y += 1900;
  else if (ys.size() != 4) return std::nullopt;
  if (!valid(y, unsigned(m), unsigned(d))) return std::nullopt;
  return Date(y, unsigned(m), unsigned(d));
}

int Date::DOW() const {
  if (empty()) return 0;
  return int(std::chrono::weekday(days_).c_encoding()) + 1;
}

std::string Date::DTOS() const {
  if (empty()) return std::string(8, ' ');
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d%02u%02u", year(), month(), day());
  return buf;
}

std::string Date::DTOC() const {
  if (empty()) return "  /  /    ";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02u/%02u/%04d", day(), month(), year());
  return buf;
}

long days_between(Date a, Date b) {
  if (a.empty() || b.empty()) return 0;
  return (b.days_ - a.days_).count();
}

Date Date::month_end() const {
  if (empty()) return *this;
  auto ymd = this->ymd();
  return Date(std::chrono::year_month_day(ymd.year() / ymd.month() / std::chrono::last));
}

int Date::age_at(Date at) const {
  if (empty() || at.empty()) return 0;
  int age = at.year() - year();
  if (at.month() < month() || (at.month() == month() && at.day() < day())) --age;
  return age;
}

}  // namespace kardo::base
