// The summary run: lines, donations, quotas, part-year declarations, the model comparison,
// the foreign-tax limit and the cash-flow check.
#include <gtest/gtest.h>

#include "base/codepage.h"
#include "fixture.h"

using kardo::base::Date;
using kardo::base::Decimal;
using kardo::base::operator""_cp;
using namespace kardo::tax;
using kardo::tax::testing::D;
using kardo::tax::testing::Fixture;

namespace {

TEST(Summary, CompleteModelWithLimitsAndARefund) {
  Fixture f;
  f.income("J", "100000", "20000", "5000");
  f.pay(36, "15000");  // private pension: at most 12 % of the income
  f.pay(10, "3000");
  f.family(1, Date(2010, 5, 1), "11111111111", 1);
  f.recompute();
  const auto& v = f.d.vars;
  EXPECT_EQ(v.I13_08, D("100000"));
  EXPECT_EQ(v.I13_09, D("5000"));
  EXPECT_EQ(v.I13_11, D("12000"));
  EXPECT_EQ(v.I13_12, D("2275.08"));
  EXPECT_EQ(v.I13_19, D("22275.08"));
  EXPECT_EQ(v.I13_20, D("77724.92"));
  EXPECT_EQ(v.I13_21, D("10942.03"));
  EXPECT_EQ(v.I13_26, D("10942.03"));
  EXPECT_EQ(v.I13_35, D("20000"));
  EXPECT_EQ(v.I13_36, D("0"));
  EXPECT_EQ(v.I13_38, D("9057.97"));
  EXPECT_EQ(v.IMPPGRE, D("-9057.97"));
  EXPECT_EQ(v.QTD_QUOTA, D("0"));
  const EffectiveRate rate = f.calc.ALIQUOTA();  // the tax due over the income
  EXPECT_EQ(rate.label, " Imposto a Restituir");
  EXPECT_EQ(rate.rate, D("10.94"));
}

TEST(Summary, IncentiveDonationsWithinTheirRooms) {
  // Tax by the table 11567.68: rooms 694.06 (6 %), 347.03 (3 %), 115.67 (1 %).
  struct Row { int code; const char* amount; const char* nondeductible; };
  struct Case { std::vector<Row> rows; const char* line22; } cases[] = {
      {{{41, "1000", "305.94"}, {39, "100", "100"}}, "694.06"},  // the 6 % is used up before code 39
      {{{40, "300", "0"}, {39, "500", "152.97"}}, "647.03"},     // code 39 within 3 %
      {{{39, "300", "0"}}, "300"},
      {{{45, "200", "84.33"}, {46, "100", "0"}}, "215.67"},      // a fresh 1 % for each
      {{{42, "400", "0"}, {42, "400", "105.94"}}, "694.06"},     // table order
  };
  for (const Case& c : cases) {
    Fixture f;
    f.income("J", "80000");
    for (const Row& r : c.rows) f.pay(r.code, r.amount);
    f.recompute();
    EXPECT_EQ(f.d.vars.I13_21, D("11567.68"));
    EXPECT_EQ(f.d.vars.I13_22, D(c.line22)) << c.rows.front().code;
    EXPECT_EQ(f.d.vars.I13_23, D("11567.68") - D(c.line22));
    for (size_t i = 0; i < c.rows.size(); ++i)
      EXPECT_EQ(f.d.IMP06[i].I6_5, D(c.rows[i].nondeductible)) << c.rows.front().code << " row " << i;
  }
  Fixture simple;  // no incentive deductions in the simplified model
  simple.d.vars.USAPADRAO = "S";
  simple.income("J", "80000");
  simple.pay(41, "500");
  simple.recompute();
  EXPECT_EQ(simple.d.vars.I13_22, D("0"));
  EXPECT_EQ(simple.d.vars.I13_23, simple.d.vars.I13_21);
}

TEST(Summary, DomesticEmployeeWithinTheTaxAndItsLimit) {
  struct Case { const char* income; const char* paid; const char* line24; const char* line26; } cases[] = {
      {"80000", "1500", "1200.32", "10367.36"},
      {"80000", "700", "700", "10867.68"},
      {"25000", "1000", "161.42", "0"},  // never more than the tax due
  };
  for (const Case& c : cases) {
    Fixture f;
    f.income("J", c.income);
    f.pay(50, c.paid);
    f.recompute();
    EXPECT_EQ(f.d.vars.I13_24, D(c.line24)) << c.income << " " << c.paid;
    EXPECT_EQ(f.d.vars.I13_26, D(c.line26)) << c.income << " " << c.paid;
  }
}

TEST(Summary, DomesticEmployeeOfADepartureDeclarationCountsItsMonthsOnly) {
  for (bool entered : {true, false}) {  // typed on the grid, or rows that never were
    Fixture f;
    f.d.vars.DecSaida = "S";
    f.d.vars.DataSaida = Date(2018, 3, 20);
    f.income("J", "80000");
    f.pay(50, "1500");
    if (entered) {
      f.calc.FDOAPAG(0, 1);
      EXPECT_EQ(f.d.IMP06[0].I6_5, D("1199.92"));
      EXPECT_TRUE(f.op.showed("O limite é para a dedução é R$  300.08"_cp));
    }
    f.recompute();
    EXPECT_EQ(f.d.vars.I13_24, D("300.08")) << entered;
  }
}

TEST(Summary, QuotasOfTheBalance) {
  struct Case { const char* balance; int typed; int stored; int quotas; const char* each; const char* debit; } cases[] = {
      {"99.99", -1, 0, 1, "99.99", " "},  // one quota by default: no automatic debit chosen
      {"100", -1, 0, 2, "50", "S"},
      {"1000", -1, 0, 8, "125", "S"},
      {"1000", 4, 0, 4, "250", "S"},
      {"150", 5, 0, 3, "50", "S"},        // at least 50.00 each
      {"333.33", -1, 3, 3, "111.11", "S"},
      {"0", -1, 3, 0, "0", " "},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.d.vars.I13_25 = D(c.balance);  // a tax due with nothing paid
    f.d.vars.QTD_QUOTA = c.stored;
    f.d.vars.DEBITAUT = "S";
    if (c.typed >= 0) f.calc.settings().chosen_quotas = c.typed;
    f.calc.CALC(7, 1);
    EXPECT_EQ(f.d.vars.I13_36, D(c.balance));
    EXPECT_EQ(f.d.vars.QTD_QUOTA, Decimal(c.quotas)) << c.balance;
    EXPECT_EQ(f.d.vars.I13_37, D(c.each)) << c.balance;
    EXPECT_EQ(f.d.vars.DEBITAUT, c.debit) << c.balance;
    EXPECT_FALSE(f.calc.settings().chosen_quotas);
  }
}

TEST(Summary, FinalDeclarationCoversItsMonthsAndPaysInOneQuota) {
  for (int typed : {-1, 3}) {
    Fixture f;
    f.d.vars.USAPADRAO = "S";  // only a complete declaration may be final
    f.d.vars.DecFinal = "S";
    f.d.vars.DecJudi = "S";
    f.d.vars.DataParti = Date(2018, 6, 15);
    f.income("J", "100000");
    f.calc.BALANCO();
    if (typed > 0) f.calc.settings().chosen_quotas = typed;
    f.calc.CALC(7, 1);
    EXPECT_EQ(f.d.vars.USAPADRAO, "N");
    EXPECT_EQ(f.d.vars.I13_21, CALC_PARCIAL(D("100000"), 6));
    EXPECT_EQ(f.d.vars.I13_21, D("22283.84"));
    EXPECT_EQ(f.d.vars.QTD_QUOTA, Decimal(1));
    // The notice only answers an operator who asked for instalments.
    EXPECT_EQ(f.op.showed("parcelamento em declaração final"_cp), typed > 1) << typed;
  }
  Fixture departure;  // a departure declaration pays in one quota too
  departure.d.vars.DecSaida = "S";
  departure.d.vars.DataSaida = Date(2018, 3, 20);
  departure.income("J", "100000");
  departure.recompute();
  EXPECT_EQ(departure.d.vars.QTD_QUOTA, Decimal(1));
}

TEST(Summary, MonthsOfAPartYearDeclaration) {
  const Date none;
  struct Case {
    const char* final_decl; const char* departure;
    Date parti, lavra, saida, decis;
    int months; bool warned;
  } cases[] = {
      {"N", "N", none, none, none, none, 12, false},
      {"S", "N", Date(2018, 6, 15), Date(2018, 9, 1), none, none, 6, false},
      {"S", "N", none, Date(2018, 9, 10), none, none, 9, false},
      {"S", "N", none, none, none, none, 12, true},
      {"N", "S", none, none, Date(2018, 3, 20), none, 3, false},
      {"N", "S", none, none, Date(2018, 8, 20), Date(2018, 3, 10), 6, false},
      // A decision date outside the base year, or after the departure, does not shorten it.
      {"N", "S", none, none, Date(2018, 3, 20), Date(2017, 5, 10), 3, false},
      {"N", "S", none, none, Date(2018, 3, 20), Date(2019, 1, 10), 3, false},
      {"N", "S", none, none, Date(2018, 3, 20), Date(2018, 7, 1), 3, false},
      {"N", "S", none, none, Date(2019, 2, 1), none, 12, false},
      {"N", "S", none, none, Date(2017, 12, 1), none, 1, false},
      {"N", "S", none, none, none, none, 12, true},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.d.vars.DecFinal = c.final_decl;
    f.d.vars.DecSaida = c.departure;
    f.d.vars.DataParti = c.parti;
    f.d.vars.DataLavra = c.lavra;
    f.d.vars.DataSaida = c.saida;
    f.d.vars.Datadecis = c.decis;
    EXPECT_EQ(f.calc.months(true), c.months) << c.saida.DTOC() << " " << c.decis.DTOC();
    EXPECT_EQ(f.op.showed("O cálculo apresentado corresponde ao mês 12"_cp), c.warned);
  }
}

TEST(Summary, AutomaticDebitOfASingleQuotaEndsOnMarch31) {
  struct Case { Date today, handed_in; const char* debit; } cases[] = {
      {Date(2019, 3, 31), Date(), "S"},
      {Date(2019, 4, 2), Date(), "N"},
      {Date(2019, 4, 2), Date(2019, 3, 30), "S"},  // handed in before April
      {Date(2019, 4, 2), Date(2019, 4, 1), "N"},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.d.vars.I13_25 = D("500");
    f.d.vars.DEBITAUT = "S";
    f.d.vars.DENTREGA = c.handed_in;
    f.calc.settings().today = c.today;
    f.calc.settings().chosen_quotas = 1;
    f.calc.CALC(7, 1);
    EXPECT_EQ(f.d.vars.DEBITAUT, c.debit) << c.today.DTOC() << " " << c.handed_in.DTOC();
    EXPECT_EQ(f.op.showed("Não é permitido débito automático com uma quota após 31/03/2019"_cp),
              std::string(c.debit) == "N");
  }
}

TEST(Summary, TheBetterModelIsAdvised) {
  Fixture complete;  // complete model, the simplified one pays less
  complete.income("J", "50000", "0", "1000");
  complete.calc.BALANCO();
  complete.calc.CALC(7, 1);
  EXPECT_EQ(complete.calc.NCOMPL(), D("3391.49"));
  EXPECT_EQ(complete.calc.NSIMPL(), D("1742.43"));
  EXPECT_EQ(complete.calc.comparison().better, 'S');
  EXPECT_TRUE(complete.calc.comparison().advise_simplified);
  EXPECT_EQ(complete.op.last_line(), "ATENÇÃO! É mais vantajoso usar o formulário simples"_cp);

  Fixture simple;  // simplified model with large deductions
  simple.d.vars.USAPADRAO = "S";
  simple.income("J", "50000");
  simple.pay(10, "20000");
  simple.recompute();
  EXPECT_EQ(simple.d.vars.DESPADRAO, D("10000"));
  EXPECT_EQ(simple.d.vars.I13_20, D("40000"));
  EXPECT_EQ(simple.d.vars.I13_21, D("1742.43"));
  EXPECT_EQ(simple.calc.NCOMPL(), D("536.42"));
  EXPECT_EQ(simple.calc.comparison().better, 'N');
  EXPECT_TRUE(simple.calc.comparison().advise_complete);

  // The complete model's tax counts this run's incentive deduction, from the first run on:
  // 12667.68 less 694.00 donated beats the simplified 12460.23.
  Fixture donor;
  donor.income("J", "100000");
  donor.pay(10, "16000");
  donor.pay(41, "694");
  donor.recompute();
  EXPECT_EQ(donor.calc.NCOMPL(), D("11973.68"));
  EXPECT_EQ(donor.calc.NSIMPL(), D("12460.23"));
  EXPECT_EQ(donor.calc.comparison().better, 'N');
  EXPECT_FALSE(donor.calc.comparison().advise_simplified);

  Fixture final_decl;  // a final declaration is never advised to switch
  final_decl.d.vars.DecFinal = "S";
  final_decl.d.vars.DataParti = Date(2018, 12, 1);
  final_decl.income("J", "50000", "0", "1000");
  final_decl.recompute();
  EXPECT_FALSE(final_decl.calc.comparison().advise_simplified);
}

TEST(Summary, TaxPaidAbroadIsLimitedToTheTaxOnTheIncomeFromAbroad) {
  // 60000 from Brazil and 20000 from abroad: 11567.68 with, 6067.68 without.
  struct Case {
    const char* model; const char* paid_abroad; const char* rra_tax; int domestic; const char* line32;
  } cases[] = {
      {"N", "3000", "0", 0, "3000"},
      {"N", "8000", "0", 0, "5500"},
      {"N", "8000", "1000", 0, "5500"},  // the tax on accumulated income taxed apart stays out
      {"N", "8000", "0", 1, "5500"},     // the domestic-employee deduction counts on both sides
      {"S", "8000", "0", 0, "4001.19"},  // 7167.68 - 3166.49
  };
  for (const Case& c : cases) {
    Fixture f;
    f.d.vars.USAPADRAO = c.model;
    f.income("J", "60000");
    f.d.vars.I13_49 = D("20000");
    f.d.vars.I13_25 = D(c.rra_tax);
    f.d.vars.IR_EXTER = D(c.paid_abroad);
    if (c.domestic) f.pay(50, "1200.32");
    f.calc.BALANCO();
    f.calc.CALC(7, 1);
    EXPECT_EQ(f.d.vars.I13_32, D(c.line32)) << c.model << " " << c.rra_tax << " " << c.domestic;
    const bool above = D(c.paid_abroad) > D(c.line32);
    EXPECT_EQ(f.op.showed("O imposto pago no exterior "_cp), above);
    f.calc.CALC(7, 1);  // told once: line 32 now holds the limit
    EXPECT_EQ(f.op.box_texts().size(), above ? 1u : 0u);
  }
  Fixture none;  // no income from abroad: nothing to credit
  none.income("J", "60000");
  none.d.vars.IR_EXTER = D("500");
  none.d.vars.I13_32 = D("500");
  none.recompute();
  EXPECT_EQ(none.d.vars.I13_32, D("0"));
}

TEST(Summary, CashFlowAlert) {
  // Receipts: the income; expenses: the tax paid, the living expenses, the declared ones.
  struct Case {
    const char *income, *tax_paid, *living; int brokerage; const char *saldo, *index; bool alert;
  } cases[] = {
      {"50000", "3242.43", "60000", 0, "-13242.43", "-26.48", true},
      {"50000", "3242.43", "40000", 0, "6757.57", "13.51", false},
      {"50000", "3242.43", "42000", 0, "4757.57", "9.51", true},  // below the 10 % threshold
      {"0", "0", "0", 0, "0", "0", true},
      {"100", "0", "0", 2000, "2100", "999", false},              // index above 1000 %
  };
  for (const Case& c : cases) {
    Fixture f;
    f.income("J", c.income);
    f.d.vars.I13_31 = D(c.tax_paid);
    f.d.vars.OUTRDES = D(c.living);
    if (c.brokerage) f.pay(72, "2000");
    f.recompute();
    EXPECT_EQ(f.calc.cash_flow().SALDO, D(c.saldo)) << c.living;
    EXPECT_EQ(f.calc.cash_flow().INDGAS, D(c.index)) << c.living;
    EXPECT_EQ(f.calc.cash_flow().alert, c.alert) << c.living;
    EXPECT_EQ(f.d.vars.SALDO, D(c.saldo));
  }
}

TEST(Summary, SpouseResultAndLtrocou) {
  Fixture f;
  f.d.vars.I9_5 = "S";
  f.d.vars.I13_1C = D("1000");
  f.d.vars.I13_2C = D("200");
  f.d.vars.I13_3C = D("300");
  f.d.vars.I13_5C = D("50");
  f.d.vars.I13_4C = D("100");
  f.calc.BALANCO();
  EXPECT_EQ(f.d.vars.I9_2, D("1450"));
  EXPECT_EQ(f.d.vars.I13_43, D("1450"));
  EXPECT_EQ(f.calc.cash_flow().RECEITA, D("1450"));

  // Switching model redraws the screen: until it is redrawn the computation does nothing.
  f.income("J", "30000");
  EXPECT_TRUE(f.calc.MUDA());
  EXPECT_EQ(f.d.vars.USAPADRAO, "S");
  f.calc.CALC(7, 0);
  EXPECT_EQ(f.d.vars.I13_08, D("0"));
  f.calc.totals().LTROCOU = false;
  f.calc.CALC(7, 0);
  EXPECT_EQ(f.d.vars.I13_08, D("0"));  // the income lines are collected by FI1_T, not CALC
  f.calc.FI1_T();
  f.calc.CALC(7, 0);
  EXPECT_EQ(f.d.vars.I13_08, D("30000"));

  f.d.vars.DecFinal = "S";
  EXPECT_FALSE(f.calc.MUDA());
  EXPECT_TRUE(f.op.showed("A declaração final de espólio só pode ser uma completa"_cp));
}

}  // namespace
