// Limits the grids apply while the operator types, and the direct donation to the funds.
#include <gtest/gtest.h>

#include "base/codepage.h"
#include "base/xtext.h"
#include "fixture.h"

using kardo::base::Date;
using kardo::base::Decimal;
using kardo::base::operator""_cp;
using namespace kardo::tax;
using kardo::tax::testing::D;
using kardo::tax::testing::Fixture;

namespace {

TEST(EntryLimits, EducationPerLineAndThePensionWarning) {
  Fixture f;
  f.pay(1, "5000");
  f.pay(3, "3000");
  f.calc.FDOAPAG(0);
  f.calc.FDOAPAG(1);
  EXPECT_EQ(f.d.IMP06[0].I6_5, D("1438.50"));
  EXPECT_EQ(f.d.IMP06[1].I6_5, D("0"));

  f.pay(36, "2000");
  f.calc.FDOAPAG(2);  // no official social security: the contribution is conditional
  EXPECT_TRUE(f.op.showed("Lei 10.887 de 18/06/04 artigo 13."));
  EXPECT_EQ(f.d.IMP06[2].I6_4, D("2000"));
  Fixture paying;
  paying.d.vars.I13_09 = D("1000");
  paying.pay(38, "2000");
  paying.calc.FDOAPAG(0);
  EXPECT_TRUE(paying.op.box_texts().empty());
}

TEST(EntryLimits, NonDeductibleColumn) {
  struct Case { int code; const char* amount; const char* typed; const char* kept; const char* told; } cases[] = {
      {10, "100", "50", "50", nullptr},
      {10, "100", "150", "0", "não pode ser maior que o valor pago "},
      {28, "100", "100", "100", nullptr},
      {40, "100", "10", "0", "Valores não dedutíveis só deve ser preenchido para convênios"},
      {50, "100", "0", "0", nullptr},
      {1, "100", "20", "20", nullptr},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.pay(c.code, c.amount);
    EXPECT_EQ(f.calc.FCONFNDEDU(0, D(c.typed)), D(c.kept)) << c.code << " " << c.typed;
    EXPECT_EQ(f.d.IMP06[0].I6_5, D(c.kept));
    EXPECT_EQ(f.op.box_texts().size(), c.told ? 1u : 0u) << c.code << " " << c.typed;
    if (c.told) {
      EXPECT_TRUE(f.op.showed(kardo::base::utf8_to_cp850(c.told)));
    }
  }
  Fixture medical;  // the reimbursed total follows at once
  medical.pay(12, "300");
  medical.calc.FCONFNDEDU(0, D("120"));
  EXPECT_EQ(medical.calc.totals().I13_14D, D("120"));
  EXPECT_EQ(medical.d.vars.I13_14, D("180"));
}

TEST(EntryLimits, ExemptRetirementPortionFromAge65) {
  const Date none;
  struct Case {
    bool dependant; Date born; const char* codat; int code; const char* value; const char* other;
    const char* answer; const char* kept; const char* taxable; const char* told;
  } cases[] = {
      // 65 on the last day of the base year: a calendar age, and the year of the birthday
      // counts its month and the 13th salary (2 x 1903.98).
      {false, Date(1953, 12, 31), "61", 0, "3000", "0", nullptr, "3000", "1000", nullptr},
      {false, Date(1953, 12, 31), "61", 0, "4000", "0", "N", "3807.96", "1000", "fez 65 anos no mês 12"},
      // born in August: 6 x 1903.98; the excess moved to the taxable income
      {false, Date(1953, 8, 15), "61", 0, "20000", "0", "S", "11423.88", "9576.12", "somado ao"},
      {false, Date(1950, 1, 1), "61", 0, "30000", "0", "N", "24751.74", "1000", "O limite para esse ano"},
      {false, Date(1950, 1, 1), "61", 0, "10000", "20000", "N", "4751.74", "1000", "O limite para esse ano"},
      {false, Date(1960, 1, 1), "61", 0, "1000", "0", nullptr, "0", "1000", "tem menos de 65 anos"},
      {false, Date(1950, 1, 1), "11", 0, "1000", "0", "N", "0", "1000", "aposentados, reformados ou pensionistas."},
      {false, Date(1950, 1, 1), "11", 0, "1000", "0", "S", "1000", "1000", "aposentados, reformados ou pensionistas."},
      {false, Date(1950, 1, 1), "61", 0, "0", "0", nullptr, "0", "1000", nullptr},
      {true, none, "61", 21, "1000", "0", nullptr, "0", "0", "Falta data do nascimento do dependente."},
      {true, Date(1940, 1, 1), "61", 21, "23000", "0", nullptr, "23000", "0", nullptr},
      // code 31: above the exempt bracket the dependant must leave the declaration
      {true, Date(1940, 1, 1), "61", 31, "23000", "0", nullptr, "0", "0", "deve ser retirado dessa declaração"},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.d.vars.NASCIMENTO = c.born;
    f.d.vars.CODAT = c.codat;
    if (c.dependant) {
      f.family(c.code, c.born, "11111111111", 1);
      f.income("D", "0").I1_8 = "11111111111";
      f.income("D", "0").I1_8 = "22222222222";  // another dependant's line does not count
      f.d.IMP02.back().I1_17 = D("99999");
    } else {
      f.income("J", "1000");
      f.income("J", "0").I1_17 = D(c.other);
    }
    if (c.answer) f.op.answer(c.answer);
    const std::string label = std::string(c.value) + " born " + c.born.DTOC();
    EXPECT_EQ(f.calc.LIMIT3(0, D(c.value), c.dependant), D(c.kept)) << label;
    EXPECT_EQ(f.d.IMP02[0].I1_17, D(c.kept)) << label;
    EXPECT_EQ(f.d.IMP02[0].I1_4, D(c.taxable)) << label;
    if (c.told) {
      EXPECT_TRUE(f.op.showed(kardo::base::utf8_to_cp850(c.told))) << label;
    } else {
      EXPECT_TRUE(f.op.box_texts().empty()) << label;
    }
    EXPECT_EQ(f.op.pending_answers(), 0u) << label;
  }
}

TEST(Donations, TheAmountOfferedIsWhatTheComputationDeducts) {
  // Tax by the table 11567.68: 694.06 in all, 347.03 of it for the funds.
  struct Row { int code; const char* amount; };
  struct Case { std::vector<Row> rows; const char* offered; } cases[] = {
      {{}, "347.03"},
      {{{40, "500"}, {39, "100"}}, "94.06"},  // what 40-44 left, less the funds' donations
      {{{39, "200"}}, "147.03"},
      {{{41, "800"}}, "0"},
      {{{39, "347.03"}}, "0"},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.income("J", "80000");
    for (const Row& r : c.rows) f.pay(r.code, r.amount);
    f.recompute();
    const Decimal offered = f.calc.LIMDOA();
    EXPECT_EQ(offered, D(c.offered)) << c.offered;
    EXPECT_EQ(f.calc.ECA_ALLOWED(true), offered > Decimal()) << c.offered;
    if (offered.is_zero()) {
      EXPECT_TRUE(f.op.showed("Não há valor disponível para a doação direta na declaração"_cp));
      continue;
    }
    const Decimal before = f.d.vars.I13_22;
    EXPECT_FALSE(f.calc.DOACAO_ECA({}, offered + D("0.01")));
    EXPECT_TRUE(f.op.showed("Valor acima do limite da doação! Confira."_cp));
    EXPECT_TRUE(f.calc.DOACAO_ECA({}, offered));
    f.recompute();
    for (const auto& r : f.d.IMP06) {
      if (r.I6_3 == Decimal(39)) {
        EXPECT_EQ(r.I6_5, Decimal()) << c.offered;
      }
    }
    EXPECT_EQ(f.d.vars.I13_22, before + offered);
    EXPECT_EQ(f.calc.LIMDOA(), Decimal());
  }
}

TEST(Donations, TheRowAddedAndTheRefusals) {
  Fixture f;
  f.income("J", "80000");
  f.recompute();
  EcaFund city{EcaFund::MUNICIPAL, "SP", "Campinas  ", "11.222.333/0001-44"};
  ASSERT_TRUE(f.calc.DOACAO_ECA(city, D("100")));
  ASSERT_TRUE(f.calc.DOACAO_ECA({}, D("50")));
  const auto& row = f.d.IMP06[0];
  EXPECT_EQ(row.I6_3, Decimal(39));
  EXPECT_EQ(row.I6_4, D("100"));
  EXPECT_EQ(kardo::base::RTRIM(row.I6_1), "Campinas - SP");
  EXPECT_EQ(kardo::base::RTRIM(row.I6_2), "11.222.333/0001-44");
  EXPECT_EQ(kardo::base::RTRIM(f.d.IMP06[1].I6_1), "Nacional");
  EXPECT_EQ(kardo::base::RTRIM(f.d.IMP06[1].I6_2), "19.091.798/0001-52");
  EXPECT_EQ(f.calc.totals().I13_22C, D("150"));

  struct Case { const char* model; Date today; bool menu; const char* told; } cases[] = {
      {"N", Date(2019, 5, 2), true, "As doações para o ECA só é permitido até 30/04/2019"},
      {"S", Date(2019, 4, 2), true, "Para fazer doação direta só na Declaração Completa."},
      {" ", Date(2019, 4, 2), true, "Defina o tipo de declaração na tela F7"},
      {" ", Date(2019, 4, 2), false, "Marque o tipo de declaração na tela F7"},
  };
  for (const Case& c : cases) {
    Fixture g;
    g.income("J", "80000");
    g.recompute();
    g.d.vars.USAPADRAO = c.model;
    g.calc.settings().today = c.today;
    EXPECT_FALSE(g.calc.ECA_ALLOWED(c.menu)) << c.told;
    EXPECT_TRUE(g.op.showed(kardo::base::utf8_to_cp850(c.told))) << c.told;
  }
}

}  // namespace
