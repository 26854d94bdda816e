#include "xbase/keyexpr.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kardo::xbase {
namespace {

using base::Code;
using base::Date;
using base::Decimal;

struct Sample {
  std::vector<FieldInfo> fields;
  std::string record;

  Sample() {
    layout_fields({{"CPF", 'C', 11, 0},
                   {"NOME", 'C', 10, 0},
                   {"I1_0", 'N', 3, 0},
                   {"VALOR", 'N', 12, 2},
                   {"DATA", 'D', 8, 0},
                   {"VAZIA", 'D', 8, 0},
                   {"ATIVO", 'L', 1, 0},
                   {"TEXTO", 'M', 10, 0},
                   {"LONGO", 'C', 200, 0}},
                  fields);
    record = " 12345678901" "ma\x87\xc6 Sa   " " 42" "     -998.07" "20180315" "        " "T" "         1" +
             std::string(200, 'x');
  }
};

TEST(KeyExpr, EvaluatesTheKeysOfTheSystem) {
  Sample s;
  struct Case {
    const char* expression;
    char type;
    std::string key;
  } cases[] = {
      {"CPF", 'C', "12345678901"},
      {"cpf+str(I1_0,3)", 'C', "12345678901 42"},
      {"CPF + STR( I1_0, 4 )", 'C', "12345678901  42"},
      {"str(I1_0)", 'C', "        42"},
      {"STR(VALOR,12,2)", 'C', "     -998.07"},
      {"STR(VALOR,8)", 'C', "    -998"},
      {"STRZERO(I1_0,5)", 'C', "00042"},
      {"STRZERO(I1_0,2)+STRZERO(I1_0,3)+ATIVO", 'C', "42042T"},
      // ASCII letters only: 0x87 (ç) and 0xC6 (ã) stay as they are.
      {"UPPER(NOME)", 'C', "MA\x87\xc6 SA   "},
      {"UPPER(NOME+CPF)", 'C', "MA\x87\xc6 SA   12345678901"},
      {"CPF+DTOS(DATA)", 'C', "1234567890120180315"},
      {"NOME+DTOC(DATA)", 'C', "ma\x87\xc6 Sa   15/03/2018"},
      {"DTOC(VAZIA)", 'C', "  /  /    "},
      {"DTOS(VAZIA)", 'C', "        "},
      {"SUBSTR(CPF,4,3)", 'C', "456"},
      {"SUBSTR(CPF,10)", 'C', "01"},
      {"SUBSTR(CPF,10,5)", 'C', "01   "},
      {"LEFT(NOME,2)+RIGHT(CPF,2)", 'C', "ma01"},
      {"(CPF)+'-'", 'C', "12345678901-"},
      {"VALOR", 'N', double_key(-998.07)},
      {"i1_0", 'N', number_key(Decimal(42))},
      {"DATA", 'D', date_key(Date(2018, 3, 15))},
      {"VAZIA", 'D', double_key(0)},
      {"MONTH(DATA)", 'N', number_key(Decimal(3))},
      {"STR(YEAR(DATA),4)+STRZERO(DAY(DATA),2)", 'C', "201815"},
      {"MONTH(VAZIA)", 'N', number_key(Decimal(0))},
      {"LONGO+SUBSTR(LONGO,1,40)", 'C', std::string(240, 'x')},
      {"CPF+LONGO+LONGO", 'C', "12345678901" + std::string(229, 'x')},  // cut to 240
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expression);
    Result<KeyExpr> k = KeyExpr::compile(c.expression, s.fields);
    ASSERT_TRUE(k) << k.status().message();
    EXPECT_EQ(k->expression(), c.expression);
    EXPECT_EQ(k->type(), c.type);
    EXPECT_EQ(k->length(), int(c.key.size()));
    EXPECT_EQ(k->key(s.record.data()), c.key);
  }
}

TEST(KeyExpr, RefusesWhatCannotBeAKey) {
  Sample s;
  struct Case {
    const char* expression;
    const char* named;  // the message must name it
  } cases[] = {
      {"CPFX", "CPFX"},
      {"TRIM(CPF)", "TRIM"},
      {"ALLTRIM(NOME)+CPF", "ALLTRIM"},
      {"CPF+VALOR", "'+'"},
      {"STR(CPF,3)", "STR"},
      {"DTOS(CPF)", "DTOS"},
      {"UPPER(CPF", "')'"},
      {"TEXTO", "memo"},
      {"", "missing"},
      {"CPF CPF", "unexpected"},
      {"STR(VALOR,0)", "range"},
      {"MONTH(CPF)", "MONTH"},
      {"12", "constant"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expression);
    Result<KeyExpr> k = KeyExpr::compile(c.expression, s.fields);
    ASSERT_FALSE(k);
    EXPECT_EQ(k.status().code(), Code::INVALID);
    EXPECT_NE(k.status().message().find(c.named), std::string::npos) << k.status().message();
  }
}

TEST(KeyExpr, NumberAndDateKeysSortAsTheirValues) {
  std::vector<Decimal> values = {Decimal::of(-1'000'000'000'000, 0), Decimal::of(-99807, 2), Decimal(-1),
                                 Decimal::of(-1, 8), Decimal(), Decimal::of(1, 8), Decimal::of(1, 2), Decimal(1),
                                 Decimal::of(25, 1), Decimal::of(99807, 2), Decimal::of(999'999'999'999'999'999, 0)};
  for (size_t i = 1; i < values.size(); ++i) {
    SCOPED_TRACE(values[i].text(8));
    EXPECT_LT(number_key(values[i - 1]), number_key(values[i]));
    EXPECT_EQ(key_double(number_key(values[i])), double(values[i].to_long_double()));
  }
  EXPECT_EQ(number_key(Decimal()), std::string("\x80\0\0\0\0\0\0\0", 8));
  EXPECT_EQ(double_key(-0.0), double_key(0.0));
  // The key of a field holds the double its text denotes, as the number_key of the value.
  Sample s;
  EXPECT_EQ(KeyExpr::compile("VALOR", s.fields)->key(s.record.data()), number_key(Decimal::of(-99807, 2)));

  EXPECT_EQ(key_double(date_key(Date(1970, 1, 1))), 2440588.0);
  EXPECT_LT(date_key(Date()), date_key(Date(1900, 1, 1)));
  EXPECT_LT(date_key(Date(2018, 12, 31)), date_key(Date(2019, 1, 1)));
}

}  // namespace
}  // namespace kardo::xbase
