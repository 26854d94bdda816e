#include "base/decimal.h"

#include <gtest/gtest.h>

#include "base/xtext.h"

using kardo::base::Decimal;
using kardo::base::DESPREZA;

namespace {
Decimal D(const char* s) { return Decimal::parse(s).value(); }
}  // namespace

TEST(Decimal, ParsesAndWritesExactly) {
  struct Case { const char* in; int places; const char* out; } cases[] = {
      {"0", 2, "0.00"},          {"1.15", 2, "1.15"},   {"-0.5", 0, "-1"},
      {"  12.345 ", 2, "12.35"}, {"-12.345", 2, "-12.35"}, {".5", 1, "0.5"},
      {"999999999999999999.99999999", 8, "999999999999999999.99999999"},
      {"0.000000000049", 10, "0.0000000000"}, {"0.000000000051", 10, "0.0000000001"},
  };
  for (const Case& c : cases) EXPECT_EQ(D(c.in).text(c.places), c.out) << c.in;
  for (const char* bad : {"", "  ", "1.2.3", "12a", "-", "."}) EXPECT_FALSE(Decimal::parse(bad)) << bad;
}

TEST(Decimal, ArithmeticIsExact) {
  EXPECT_EQ(D("1.15") * Decimal(100), D("115"));
  EXPECT_EQ(D("0.1") + D("0.2"), D("0.3"));
  EXPECT_EQ(D("10") / D("3"), D("3.3333333333"));
  EXPECT_EQ(D("-10") / D("4"), D("-2.5"));
  EXPECT_EQ(D("5") / Decimal(), Decimal());  // division by zero yields 0
  EXPECT_EQ(D("123456789012.34") * D("0.275"), D("33950616978.3935"));
  // products beyond 128 bits before scaling still come out right
  EXPECT_EQ(D("99999999999999999.5") * D("1000"), D("99999999999999999500"));
  EXPECT_EQ(D("99999999999999999999") / D("0.5"), D("199999999999999999998"));
}

TEST(Decimal, Despreza) {
  struct Case { const char* v; int w, d, mode; const char* out; } cases[] = {
      {"115", 14, 2, 0, "115.00"},
      {"1234.5678", 14, 2, 0, "1234.56"},     // cut, not rounded
      {"1234.56999", 14, 2, 0, "1234.57"},    // rounded at four decimals first
      {"1234.56994", 14, 2, 0, "1234.56"},
      {"-1234.5678", 14, 2, 0, "-1234.56"},
      {"-0.00999", 14, 2, 0, "-0.01"},
      {"0.123456789", 14, 7, 1, "0.123456789"},  // mode 1 keeps the two extra digits
      {"0.12345678951", 14, 7, 1, "0.123456790"},
      {"1234567890.12", 14, 2, 0, "0"},  // "1234567890.1200" is 15 wide: does not fit
      {"123456789.12", 14, 2, 0, "123456789.12"},
  };
  for (const Case& c : cases) {
    Decimal got = DESPREZA(D(c.v), c.w, c.d, c.mode);
    EXPECT_EQ(got, D(c.out)) << c.v << " → " << got.text(10);
  }
}
