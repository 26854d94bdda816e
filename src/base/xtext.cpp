#include "base/xtext.h"

#include "base/codepage.h"

namespace kardo::base {

std::string STR(Decimal value, int width, int decimals) {
  std::string t = value.text(decimals);
  if (width <= 0) return t;
  if (int(t.size()) > width) return std::string(size_t(width), '*');
  return std::string(size_t(width) - t.size(), ' ') + t;
}

std::string STRZERO(Decimal value, int width, int decimals) {
  std::string t = STR(value, width, decimals);
  if (t.find('*') != std::string::npos) return t;
  bool neg = t.find('-') != std::string::npos;
  std::string digits = std::string(ALLTRIM(t));
  if (neg) digits.erase(0, 1);
  std::string out = std::string(size_t(width) - digits.size(), '0') + digits;
  if (neg) out[0] = '-';
  return out;
}

std::string PADR(std::string_view s, size_t width, char fill) {
  if (s.size() >= width) return std::string(s.substr(0, width));
  return std::string(s) + std::string(width - s.size(), fill);
}

std::string PADL(std::string_view s, size_t width, char fill) {
  if (s.size() >= width) return std::string(s.substr(s.size() - width));
  return std::string(width - s.size(), fill) + std::string(s);
}

std::string PADC(std::string_view s, size_t width, char fill) {
  if (s.size() >= width) return std::string(s.substr(0, width));
  size_t left = (width - s.size()) / 2;
  return std::string(left, fill) + std::string(s) + std::string(width - s.size() - left, fill);
}

std::string_view RTRIM(std::string_view s) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

std::string_view LTRIM(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  return s;
}

std::string_view ALLTRIM(std::string_view s) { return LTRIM(RTRIM(s)); }

std::string SUBSTR(std::string_view s, size_t start, size_t count) {
  if (start == 0) start = 1;
  if (start > s.size()) return {};
  return std::string(s.substr(start - 1, count));
}

std::string UPPER(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(cp850_upper(static_cast<unsigned char>(c)));
  return out;
}

std::string LOWER(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(cp850_lower(static_cast<unsigned char>(c)));
  return out;
}

std::string REPLICATE(std::string_view s, size_t times) {
  std::string out;
  out.reserve(s.size() * times);
  for (size_t i = 0; i < times; ++i) out += s;
  return out;
}

Decimal VAL(std::string_view s) {
  s = LTRIM(s);
  size_t n = 0;
  if (n < s.size() && (s[n] == '-' || s[n] == '+')) ++n;
  bool dot = false;
  while (n < s.size() && ((s[n] >= '0' && s[n] <= '9') || (s[n] == '.' && !dot))) {
    if (s[n] == '.') dot = true;
    ++n;
  }
  return Decimal::parse(s.substr(0, n)).value_or(Decimal());
}

bool is_blank(std::string_view s) { return RTRIM(s).empty(); }

bool all_digits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

}  // namespace kardo::base
