// Exact decimal numbers for money, rates and factors.
//
// A Decimal is a signed 128-bit integer counting units of 10^-10, so every value an `N w.d`
// field can hold (up to 18 digits, 8 decimals) is represented exactly and sums never drift.
// Products and quotients are formed in 256 bits and truncated toward zero at the tenth
// decimal; a result beyond the 128-bit range saturates, which every width check then rejects.
// Division by zero gives 0, as the tax rules ask.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kardo::base {

class Decimal {
 public:
  using Raw = __int128;
  static constexpr int kPlaces = 10;
  static constexpr Raw kOne = 10'000'000'000;

  constexpr Decimal() = default;
  constexpr Decimal(int units) : raw_(Raw(units) * kOne) {}                // NOLINT: implicit by design
  constexpr Decimal(long long units) : raw_(Raw(units) * kOne) {}          // NOLINT
  static constexpr Decimal from_raw(Raw raw) { Decimal d; d.raw_ = raw; return d; }
  // units × 10^-places, e.g. of(11534, 2) == 115.34.
  static Decimal of(long long units, int places);

  // Plain decimal text: optional blanks, an optional sign, digits with an optional '.'.
  // Digits past the tenth decimal are rounded half away from zero. Empty text is nullopt.
  static std::optional<Decimal> parse(std::string_view text);
  // Nearest Decimal to a long double, rounded half away from zero at `places` decimals
  // (used for powers and roots, which the rules compute in floating point and round).
  static Decimal from_long_double(long double v, int places);

  constexpr Raw raw() const { return raw_; }
  constexpr bool is_zero() const { return raw_ == 0; }
  constexpr bool is_negative() const { return raw_ < 0; }
  long double to_long_double() const;
  // Whole part, truncated toward zero (saturating at the 64-bit range).
  long long whole() const;

  Decimal truncated(int places) const;   // toward zero
  Decimal rounded(int places) const;     // half away from zero, as STR does
  Decimal abs() const { return raw_ < 0 ? from_raw(-raw_) : *this; }

  // Plain text with exactly `places` decimals (rounded half away from zero), '-' for
  // negatives, no padding: 1234.5 with 2 places is "1234.50".
  std::string text(int places) const;

  friend constexpr Decimal operator+(Decimal a, Decimal b) { return from_raw(a.raw_ + b.raw_); }
  friend constexpr Decimal operator-(Decimal a, Decimal b) { return from_raw(a.raw_ - b.raw_); }
  friend constexpr Decimal operator-(Decimal a) { return from_raw(-a.raw_); }
  friend Decimal operator*(Decimal a, Decimal b);
  friend Decimal operator/(Decimal a, Decimal b);
  Decimal& operator+=(Decimal b) { raw_ += b.raw_; return *this; }
  Decimal& operator-=(Decimal b) { raw_ -= b.raw_; return *this; }
  Decimal& operator*=(Decimal b) { return *this = *this * b; }
  Decimal& operator/=(Decimal b) { return *this = *this / b; }
  friend constexpr bool operator==(Decimal a, Decimal b) = default;
  friend constexpr auto operator<=>(Decimal a, Decimal b) { return a.raw_ <=> b.raw_; }

 private:
  Raw raw_ = 0;
};

constexpr Decimal max(Decimal a, Decimal b) { return a < b ? b : a; }
constexpr Decimal min(Decimal a, Decimal b) { return a < b ? a : b; }

// The rounding routine of every tax computation: the value is written as STR(value, width,
// decimals + 2) — rounded there — and in mode 0 the last two digits are cut (truncation to
// `decimals`); mode 1 keeps them. A value that does not fit the width yields 0.
Decimal DESPREZA(Decimal value, int width = 14, int decimals = 2, int mode = 0);

}  // namespace kardo::base
