// The simulators: the income they find must give back the balance asked for.
#include <gtest/gtest.h>

#include "base/codepage.h"
#include "fixture.h"

using kardo::base::Decimal;
using kardo::base::operator""_cp;
using namespace kardo::tax;
using kardo::tax::testing::D;
using kardo::tax::testing::Fixture;

namespace {

TEST(Simulator, SimplifiedIncomeForAWantedTax) {
  // 7997.45 is the tax at which the discount reaches its cap (income 83771.70).
  for (const char* wanted : {"0", "500", "1742.43", "5000", "7997.44", "7997.45", "8000", "8100", "20000"}) {
    Fixture f;
    f.d.vars.USAPADRAO = "S";
    const auto income = f.calc.SIMUL(2, D(wanted));
    ASSERT_TRUE(income) << wanted;
    const Decimal tax = CALC_IMPOS(ANNUAL, *income - DESPADRAO(*income));
    EXPECT_LE((tax - D(wanted)).abs(), D("0.01")) << wanted << " income " << income->text(2);
  }
  Fixture f;
  EXPECT_EQ(f.calc.SIMUL(2, D("1742.43")), D("50000"));
  EXPECT_EQ(f.calc.SIMUL(2, D("8000")), D("83780.96"));
}

TEST(Simulator, ARefundCannotExceedTheTaxPaid) {
  Fixture f;
  f.d.vars.I13_35 = D("1000");
  EXPECT_FALSE(f.calc.SIMUL(2, D("-1500")));
  EXPECT_TRUE(f.op.showed("O valor máximo de restituição de imposto é R$     1.000,00"_cp));
  EXPECT_FALSE(f.calc.SIMUL(3, D("-1000.01")));
  EXPECT_TRUE(f.op.showed("O valor máximo da restituição de imposto é R$"_cp));
  EXPECT_TRUE(f.calc.SIMUL(2, D("-1000")));  // all of the tax paid back
}

TEST(Simulator, CompleteModel) {
  Fixture f;
  f.income("J", "80000", "12000");
  f.pay(10, "10000");
  f.recompute();
  // An extra deduction of 10000: tax by the table on 60000, less the 12000 withheld.
  EXPECT_EQ(f.calc.SIMUL(1, D("10000")), D("6067.68") - D("12000"));
  // The balance of the declaration itself gives back its own income.
  EXPECT_EQ(f.calc.SIMUL(3, f.d.vars.IMPPGRE), D("80000"));

  struct Case { const char* pension; const char* taxable; } cases[] = {
      {"5000", "80000"},   // below 12 %: all of it deducted
      {"20000", "80000"},  // above: 12 % of the income found
  };
  for (const Case& c : cases) {
    Fixture g;
    g.pay(10, "10000");
    g.pay(36, c.pension);
    g.recompute();
    const Decimal income = D(c.taxable);
    const Decimal pension = kardo::base::min(D(c.pension), income * D("0.12"));
    const Decimal tax = CALC_IMPOS(ANNUAL, income - D("10000") - pension);
    const auto found = g.calc.SIMUL(3, tax);
    ASSERT_TRUE(found) << c.pension;
    EXPECT_LE((*found - income).abs(), D("0.01")) << c.pension << " found " << found->text(2);
  }
}

}  // namespace
