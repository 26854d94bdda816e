#include "base/decimal.h"

#include <cmath>
#include <limits>

#include "base/xtext.h"

namespace kardo::base {
namespace {

using U128 = unsigned __int128;
constexpr Decimal::Raw kMaxRaw = Decimal::Raw(~U128(0) >> 1);
constexpr Decimal::Raw kMinRaw = -kMaxRaw;  // symmetric, so negation never overflows

constexpr U128 pow10(int n) {
  U128 p = 1;
  for (int i = 0; i < n; ++i) p *= 10;
  return p;
}

// 256-bit unsigned value as two 128-bit halves.
struct U256 {
  U128 hi = 0, lo = 0;
};

U256 mul_128(U128 a, U128 b) {
  const U128 mask = ~uint64_t(0);
  U128 a0 = a & mask, a1 = a >> 64, b0 = b & mask, b1 = b >> 64;
  U128 p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
  U128 mid = (p00 >> 64) + (p01 & mask) + (p10 & mask);
  U256 r;
  r.lo = (p00 & mask) | (mid << 64);
  r.hi = p11 + (p01 >> 64) + (p10 >> 64) + (mid >> 64);
  return r;
}

// Quotient of a 256-bit value by a 128-bit divisor, saturated to 128 bits; bit-serial long
// division, used only when the fast 128-bit path cannot hold the numerator.
U128 div_256(U256 n, U128 d, bool& overflow) {
  overflow = false;
  if (n.hi >= d) {
    overflow = true;
    return ~U128(0);
  }
  U128 rem = n.hi, q = 0;
  for (int i = 127; i >= 0; --i) {
    bool carry = rem >> 127;
    rem = (rem << 1) | ((n.lo >> i) & 1);
    q <<= 1;
    if (carry || rem >= d) {
      rem -= d;
      q |= 1;
    }
  }
  return q;
}

Decimal::Raw saturate(U128 magnitude, bool negative) {
  if (magnitude > U128(kMaxRaw)) return negative ? kMinRaw : kMaxRaw;
  Decimal::Raw r = Decimal::Raw(magnitude);
  return negative ? -r : r;
}

U128 magnitude(Decimal::Raw r) { return r < 0 ? U128(-r) : U128(r); }

}  // namespace

Decimal Decimal::of(long long units, int places) {
  if (places >= kPlaces) return from_raw(Raw(units) / Raw(pow10(places - kPlaces)));
  return from_raw(Raw(units) * Raw(pow10(kPlaces - places)));
}

std::optional<Decimal> Decimal::parse(std::string_view s) {
  size_t i = 0, n = s.size();
  while (i < n && s[i] == ' ') ++i;
  while (n > i && s[n - 1] == ' ') --n;
  if (i == n) return std::nullopt;
  bool neg = false;
  if (s[i] == '-' || s[i] == '+') {
    neg = s[i] == '-';
    ++i;
    while (i < n && s[i] == ' ') ++i;  // xBase writes "- 5" in some widths
  }
  U128 value = 0;
  int frac = 0;
  bool dot = false, digits = false, dropped = false, round_up = false;
  for (; i < n; ++i) {
    char c = s[i];
    if (c == '.') {
      if (dot) return std::nullopt;
      dot = true;
      continue;
    }
    if (c < '0' || c > '9') return std::nullopt;
    digits = true;
    if (dot && frac == kPlaces) {  // past the last kept decimal: the first dropped digit rounds
      if (!dropped) round_up = c >= '5';
      dropped = true;
      continue;
    }
    if (value > U128(kMaxRaw) / 10) return std::nullopt;
    value = value * 10 + U128(c - '0');
    if (dot) ++frac;
  }
  if (!digits) return std::nullopt;
  U128 scale = pow10(kPlaces - frac);
  if (value > U128(kMaxRaw) / scale) return std::nullopt;
  value = value * scale + (round_up ? 1 : 0);
  return from_raw(neg ? -Raw(value) : Raw(value));
}

Decimal Decimal::from_long_double(long double v, int places) {
  if (!std::isfinite(v)) return Decimal();
  if (places > kPlaces) places = kPlaces;
  long double scaled = std::round(v * std::pow(10.0L, places));  // half away from zero
  if (std::fabs(scaled) > 1e27L) return from_raw(scaled < 0 ? kMinRaw : kMaxRaw);
  return from_raw(Raw(scaled) * Raw(pow10(kPlaces - places)));
}

long double Decimal::to_long_double() const {
  return static_cast<long double>(raw_) / static_cast<long double>(kOne);
}

long long Decimal::whole() const {
  Raw w = raw_ / kOne;
  if (w > std::numeric_limits<long long>::max()) return std::numeric_limits<long long>::max();
  if (w < std::numeric_limits<long long>::min()) return std::numeric_limits<long long>::min();
  return static_cast<long long>(w);
}

Decimal Decimal::truncated(int places) const {
  if (places >= kPlaces) return *this;
  Raw unit = Raw(pow10(kPlaces - places));
  return from_raw(raw_ / unit * unit);
}

Decimal Decimal::rounded(int places) const {
  if (places >= kPlaces) return *this;
  U128 unit = pow10(kPlaces - places);
  U128 m = magnitude(raw_);
  U128 r = (m + unit / 2) / unit * unit;
  return from_raw(saturate(r, raw_ < 0));
}

std::string Decimal::text(int places) const {
  if (places > kPlaces) places = kPlaces;
  if (places < 0) places = 0;
  Decimal r = rounded(places);
  U128 m = magnitude(r.raw_) / pow10(kPlaces - places);
  std::string digits;
  do {
    digits.insert(digits.begin(), char('0' + int(m % 10)));
    m /= 10;
  } while (m != 0);
  while (int(digits.size()) <= places) digits.insert(digits.begin(), '0');
  if (places > 0) digits.insert(digits.end() - places, '.');
  if (r.raw_ < 0) digits.insert(digits.begin(), '-');
  return digits;
}

Decimal operator*(Decimal a, Decimal b) {
  bool neg = (a.raw_ < 0) != (b.raw_ < 0);
  U128 ma = magnitude(a.raw_), mb = magnitude(b.raw_);
  U256 p = mul_128(ma, mb);
  bool overflow = false;
  U128 q = div_256(p, U128(Decimal::kOne), overflow);
  return Decimal::from_raw(saturate(q, neg));
}

Decimal operator/(Decimal a, Decimal b) {
  if (b.raw_ == 0) return Decimal();
  bool neg = (a.raw_ < 0) != (b.raw_ < 0);
  U128 ma = magnitude(a.raw_), mb = magnitude(b.raw_);
  if (ma <= ~U128(0) / U128(Decimal::kOne)) return Decimal::from_raw(saturate(ma * U128(Decimal::kOne) / mb, neg));
  bool overflow = false;
  U128 q = div_256(mul_128(ma, U128(Decimal::kOne)), mb, overflow);
  return Decimal::from_raw(saturate(q, neg));
}

Decimal DESPREZA(Decimal value, int width, int decimals, int mode) {
  std::string s = STR(value, width, decimals + 2);
  if (s.find('*') != std::string::npos) return Decimal();
  Decimal written = Decimal::parse(s).value_or(Decimal());
  return mode == 0 ? written.truncated(decimals) : written;
}

}  // namespace kardo::base
