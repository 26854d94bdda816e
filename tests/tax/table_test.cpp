#include "tax/table.h"

#include <gtest/gtest.h>

#include "fixture.h"

using kardo::base::Decimal;
using namespace kardo::tax;
using kardo::tax::testing::D;

namespace {

struct Case {
  const char* base;
  const char* tax;
};

TEST(Table, AnnualBracketsAndBounds) {
  const Case cases[] = {
      {"0", "0"},
      {"22847.76", "0"},            // on the bound: exempt bracket
      {"22847.77", "0"},            // 1713.58275 - 1713.58, truncated
      {"30000", "536.42"},
      {"33919.80", "830.40"},       // 2543.985 - 1713.58 = 830.405, truncated
      {"33919.81", "830.40"},
      {"45012.60", "2494.32"},
      {"45012.61", "2494.32"},
      {"55976.16", "4961.12"},
      {"55976.17", "4961.12"},
      {"40000", "1742.43"},
      {"100000", "17067.68"},
      {"-500", "0"},
  };
  for (const Case& c : cases) EXPECT_EQ(CALC_IMPOS(ANNUAL, D(c.base)), D(c.tax)) << c.base;
}

TEST(Table, MonthlyBracketsAndBounds) {
  const Case cases[] = {
      {"1903.99", "0"},  {"1904.00", "0"},     {"2810.41", "67.98"}, {"2826.66", "69.19"},
      {"2826.67", "69.20"}, {"3032.00", "100.00"}, {"4664.68", "413.42"}, {"5000", "505.64"},
  };
  for (const Case& c : cases) EXPECT_EQ(CALC_IMPOS(MONTHLY, D(c.base)), D(c.tax)) << c.base;
}

TEST(Table, PartYearSumsTheMonthlyTableAndTruncatesTheProductFirst) {
  // Six months: bounds 11423.94 / 16959.96 / 22506.36 / 27988.08, deductions 856.80 /
  // 2128.80 / 3816.78 / 5216.16.
  const Case six[] = {
      {"11423.94", "0"},
      {"11423.95", "0"},  // 856.79 (truncated product) - 856.80 would be -0.01
      {"11500", "5.70"},  // 862.50 - 856.80
      {"20000", "871.20"},
      {"100000", "22283.84"},
  };
  for (const Case& c : six) EXPECT_EQ(CALC_PARCIAL(D(c.base), 6), D(c.tax)) << c.base;
  // A month count outside 1 … 12 is brought into the year.
  EXPECT_EQ(CALC_PARCIAL(D("5000"), 0), CALC_PARCIAL(D("5000"), 1));
  EXPECT_EQ(CALC_PARCIAL(D("50000"), 14), CALC_PARCIAL(D("50000"), 12));
}

TEST(Table, NoTableGivesANegativeTax) {
  std::vector<Table> tables{Table::annual(), Table::monthly()};
  for (int m = 1; m <= 12; ++m) tables.push_back(Table::part_year(m));
  for (const Table& t : tables)
    for (const Decimal& bound : t.bound)
      for (const char* step : {"-0.01", "0", "0.01", "0.02", "0.05"}) {
        const Decimal base = bound + D(step);
        EXPECT_FALSE(t.tax(base).is_negative()) << base.text(2);
      }
}

TEST(Table, SimplifiedDiscountIsTwentyPercentUpToTheCap) {
  const Case cases[] = {
      {"100000", "16754.34"}, {"83771.70", "16754.34"}, {"50000", "10000.00"},
      {"12345.67", "2469.13"}, {"0", "0"},               {"-100", "0"},
  };
  for (const Case& c : cases) EXPECT_EQ(DESPADRAO(D(c.base)), D(c.tax)) << c.base;
}

}  // namespace
