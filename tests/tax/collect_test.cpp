// The collectors: what each kind of income line, payment and family record adds up to.
#include <gtest/gtest.h>

#include "fixture.h"

using kardo::base::Date;
using kardo::base::Decimal;
using namespace kardo::tax;
using kardo::tax::testing::D;
using kardo::tax::testing::Fixture;

namespace {

TEST(Collect, IncomeLinesFeedTheirSummaryExemptAndExclusiveLines) {
  Fixture f;
  auto& a = f.income("J", "50000", "5000", "4000");
  a.I1_3 = "11.111.111/0001-11";
  a.I1_7 = D("4000");
  a.I1_15 = D("1000");  // profits: exempt line 05
  a.I1_38 = D("500");   // investments: exclusive line 04
  f.income("J", "60000").I1_3 = "22.222.222/0001-22";  // the largest holder's income: main payer
  auto& dep = f.income("D", "20000", "100", "2000");
  dep.I1_7 = D("1500");
  dep.I1_29 = D("300");  // scholarship: exempt line 01
  auto& ill = f.income("J", "0");  // pension of a person with a serious illness
  ill.I1_18 = D("30000");
  ill.I1_7 = D("2500");
  ill.I1_39 = D("200");
  auto& rra = f.income("A", "10000", "500", "800");  // accumulated income, annual adjustment
  rra.I1_12 = D("300");
  rra.TIPOCR = "S";
  auto& rra_ex = f.income("D", "0");  // accumulated income of a dependant, taxed apart
  rra_ex.I1_1 = "A";
  rra_ex.I1_4 = D("8000");
  rra_ex.I1_5 = D("400");
  rra_ex.I1_6 = D("600");
  rra_ex.I1_20 = D("700");
  rra_ex.TIPOCR = "N";
  auto& rra_neg = f.income("A", "100", "200");  // holder's exclusive line never goes below 0
  rra_neg.TIPOCR = "N";
  f.income("P", "1200");  // social security paid by carnê (mode 1)
  auto& susp = f.income("J", "0");
  susp.I1_19 = D("3000");
  susp.I1_20 = D("1000");

  f.calc.FI1_T();
  const auto& v = f.d.vars;
  EXPECT_EQ(v.I13_01, D("110000"));
  EXPECT_EQ(v.I13_02, D("20000"));
  EXPECT_EQ(v.I13_27, D("5700"));  // 5000 + the illness line's 13th-salary tax + RRA 500
  EXPECT_EQ(v.I13_28, D("100"));
  EXPECT_EQ(v.I3_07, D("32500"));
  EXPECT_EQ(v.I4_01, D("4000"));
  EXPECT_EQ(v.I4_06, D("1500"));
  EXPECT_EQ(v.I3_05, D("1000"));
  EXPECT_EQ(v.I3_01, D("300"));
  EXPECT_EQ(v.I4_04, D("500"));
  EXPECT_EQ(v.I13_05, D("10000"));
  EXPECT_EQ(v.I13_10, D("800"));
  EXPECT_EQ(v.I13_17, D("300"));
  EXPECT_EQ(v.I4_05, D("0"));
  EXPECT_EQ(v.I4_07, D("7000"));
  EXPECT_EQ(v.I13_25, D("700"));
  EXPECT_EQ(v.I13_34, D("600"));  // 400 + 200
  EXPECT_EQ(v.CARNEINSS, D("1200"));
  EXPECT_EQ(v.I13_09, D("7200"));  // carnê 1200 + withheld 4000 + 2000
  EXPECT_EQ(v.EXGSUSP, D("2000"));
  EXPECT_EQ(v.CGCPAGADOR, "22.222.222/0001-22");
  EXPECT_EQ(v.I13_44, D("33800"));
  EXPECT_EQ(v.I13_45, D("13000"));
  EXPECT_EQ(f.calc.totals().exempt_dependants, D("300"));
  EXPECT_EQ(f.calc.totals().exclusive_dependants, D("8500"));

  // Exempt line 04 is the sum of its typed and carried parts.
  f.d.vars.I3_04GCPV = D("100");
  f.d.vars.I3_04EXTR = D("20");
  f.d.vars.I3_04UNICC = D("3");
  f.calc.CALC(5);
  EXPECT_EQ(f.d.vars.I3_04, D("123"));
  EXPECT_EQ(f.d.vars.I13_44, D("33923"));

  // In the totals modes the carnê's social security is typed on the carnê-leão form.
  f.d.vars.CAL_AUTO = 2;
  f.d.vars.CARNEINSS = D("99");
  f.calc.FI1_T();
  EXPECT_EQ(f.d.vars.CARNEINSS, D("99"));
}

TEST(Collect, PaymentCodesFeedTheirTotals) {
  Fixture f;
  f.pay(1, "2000");
  f.pay(10, "5000", 0, "1000");  // medical, 1000 reimbursed
  f.pay(30, "1200");
  f.pay(33, "700");
  f.pay(36, "800");
  f.pay(38, "200");
  f.pay(37, "150");
  f.pay(39, "100");
  f.pay(41, "300");
  f.pay(45, "50");
  f.pay(50, "1000", 0, "200");  // domestic employee, 200 above its limit
  f.pay(55, "400");
  f.pay(72, "30");
  f.pay(93, "999");
  f.pay(2, "0");  // the last education payment is empty: no education mark

  f.calc.FDE_TUDO();
  const Totals& t = f.calc.totals();
  const auto& v = f.d.vars;
  EXPECT_EQ(t.I13_13T, D("2000"));
  EXPECT_EQ(v.I13_14, D("4000"));
  EXPECT_EQ(t.I13_14D, D("1000"));
  EXPECT_EQ(v.I13_15, D("1200"));
  EXPECT_EQ(v.I13_16, D("700"));
  EXPECT_EQ(t.I13_11T, D("1000"));
  EXPECT_EQ(t.NFUNPRESP, D("150"));
  EXPECT_EQ(t.I13_22C, D("100"));
  EXPECT_EQ(t.I13_22T, D("300"));
  EXPECT_EQ(t.I13_22P, D("50"));
  EXPECT_EQ(t.I13_24T, D("800"));
  EXPECT_EQ(t.DESPSIMP, D("370"));
  EXPECT_EQ(v.DESPINST, " ");
  // Every amount except codes 50, 72 and 91-97, plus the employee's yearly cost
  // (1000 x 11.36363636 + 1000), less the brokerage of code 72.
  EXPECT_EQ(v.DESPDECLA, D("10900") + D("12363.63") - D("30"));
  EXPECT_TRUE(t.JA_CALC);
}

TEST(Collect, EducationIsLimitedPerPerson) {
  Fixture f;
  f.d.vars.I13_01 = D("100000");
  f.family(1, Date(2005, 1, 1), "11111111111", 1);
  f.family(99, Date(2006, 1, 1), "22222222222", 2);  // alimony recipient
  f.family(100, {}, "33333333333", 3);              // heir: no deduction
  f.pay(1, "2000", 1);
  f.pay(2, "2000", 1);  // the same dependant: 3561.50 in all
  f.pay(1, "1000", 0);  // the holder
  f.pay(1, "5000", 2);  // capped at 3561.50
  f.pay(1, "900", 3);   // the heir has no accumulator
  f.pay(1, "900", 7);   // nobody
  f.recompute();
  EXPECT_EQ(f.d.vars.I13_13, D("8123.00"));  // 3561.50 + 1000 + 3561.50
  EXPECT_EQ(f.d.vars.I13_12, D("2275.08"));  // one dependant below code 98
}

TEST(Collect, WealthVariationAndNewBorrowing) {
  struct Case {
    const char *assets_before, *assets_now, *debts_before, *debts_now;
    const char *increase, *decrease, *borrowing;
  } cases[] = {
      {"100", "150", "10", "30", "30", "0", "0"},   // both grew
      {"100", "80", "10", "30", "0", "20", "20"},   // assets fell, debts grew
      {"100", "50", "30", "20", "0", "40", "0"},    // both fell
      {"100", "150", "30", "10", "70", "0", "0"},   // assets grew, debts fell
      {"100", "150", "10", "100", "0", "0", "40"},  // borrowing beyond the assets' growth
  };
  for (const Case& c : cases) {
    Fixture f;
    kardo::store::imp04::Record asset;
    asset.I7_3 = D(c.assets_before);
    asset.I7_4 = D(c.assets_now);
    f.d.IMP04.push_back(asset);
    kardo::store::imp05::Record debt;
    debt.I8_3 = D(c.debts_before);
    debt.I8_4 = D(c.debts_now);
    debt.I8_7 = D("5");
    f.d.IMP05.push_back(debt);
    f.calc.FI7_T();
    f.calc.FI8_T();
    f.calc.FI10_1();
    EXPECT_EQ(f.calc.totals().I10_1, D(c.increase)) << c.assets_now << " " << c.debts_now;
    EXPECT_EQ(f.calc.totals().I10_2, D(c.decrease)) << c.assets_now << " " << c.debts_now;
    EXPECT_EQ(f.d.vars.EMPREST, D(c.borrowing)) << c.assets_now << " " << c.debts_now;
    EXPECT_EQ(f.d.vars.I13_51, D("5"));
  }
}

TEST(Collect, CarneLeaoPaidCountsTheLargerOfPaidAndDueUnlessOnlyPaidCounts) {
  Fixture f;
  kardo::store::imp12::Record holder, dependant;
  holder.I2_501 = D("50");
  holder.I2_601 = D("67.98");
  holder.I2_502 = D("80");
  holder.I2_602 = D("60");
  holder.I2_513 = D("130");  // the total row is not read: the months are
  dependant.CPFdepen = "11111111111";
  dependant.I2_503 = D("10");
  f.d.IMP12 = {holder, dependant};
  f.calc.CALC_LEAOTOTAL();
  EXPECT_EQ(f.d.vars.I13_29, D("147.98"));
  EXPECT_EQ(f.d.vars.I13_30, D("10"));
  f.d.vars.SO_REC = true;
  f.calc.CALC_LEAOTOTAL();
  EXPECT_EQ(f.d.vars.I13_29, D("130"));
}

}  // namespace
