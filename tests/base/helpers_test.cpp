// The base helpers whose faults would spread furthest: code pages, STR/STRZERO, dates.
#include <gtest/gtest.h>

#include "base/codepage.h"
#include "base/date.h"
#include "base/xtext.h"

using namespace kardo::base;

namespace {
Decimal D(const char* s) { return Decimal::parse(s).value(); }
}  // namespace

TEST(CodePage, Cp850RoundTripsThroughUtf8) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  std::string utf8 = cp850_to_utf8(all);
  EXPECT_EQ(utf8_to_cp850(utf8), all);
  EXPECT_EQ(cp850_to_utf8("ATENÇÃO! CPF está incompleto."_cp), "ATENÇÃO! CPF está incompleto.");
  EXPECT_EQ(utf8_to_cp850("preço €"), "preço ?"_cp);  // the euro sign is not in code page 850
  EXPECT_EQ(utf8_to_cp850("a\xC3"), "a?");              // a cut sequence
}

TEST(CodePage, Cp1252PortugueseLettersBecomeCp850) {
  // In code page 1252 these letters sit at their Latin-1 code points.
  const std::u32string letters = U"áàâãéêíóôõúüçÁÀÂÃÉÊÍÓÔÕÚÜÇªº";
  std::string cp1252;
  for (char32_t u : letters) cp1252 += static_cast<char>(u);
  EXPECT_EQ(cp1252_to_cp850(cp1252), "áàâãéêíóôõúüçÁÀÂÃÉÊÍÓÔÕÚÜÇªº"_cp);
  EXPECT_EQ(cp1252_to_cp850("Jos\xE9 Concei\xE7\xE3o"), "José Conceição"_cp);
}

TEST(CodePage, Cp850ToAsciiAndCase) {
  EXPECT_EQ(cp850_to_ascii("AÇÃO é Ü ñ"_cp), "ACAO e U n");
  EXPECT_EQ(cp850_to_ascii("┌─┐│"_cp), "+-+|");
  EXPECT_EQ(UPPER("joão ç é ü"_cp), "JOÃO Ç É Ü"_cp);
  EXPECT_EQ(LOWER("JOÃO Ç"_cp), "joão ç"_cp);
}

TEST(XText, StrAndStrzero) {
  struct Case { const char* v; int w, d; const char* str; const char* zero; } cases[] = {
      {"1234.5", 10, 2, "   1234.50", "0001234.50"},
      {"-1.005", 6, 2, " -1.01", "-01.01"},  // half away from zero
      {"0.5", 3, 0, "  1", "001"},
      {"-0.001", 5, 2, " 0.00", "00.00"},   // no sign on a zero
      {"123456", 5, 0, "*****", "*****"},
      {"-5", 4, 0, "  -5", "-005"},
      {"-1234", 4, 0, "****", "****"},
      {"99.995", 5, 2, "*****", "*****"},   // rounds to 100.00
  };
  for (const Case& c : cases) {
    EXPECT_EQ(STR(D(c.v), c.w, c.d), c.str) << c.v;
    EXPECT_EQ(STRZERO(D(c.v), c.w, c.d), c.zero) << c.v;
  }
  EXPECT_EQ(PADL("12345", 3), "345");
  EXPECT_EQ(SUBSTR("abc", 4), "");
  EXPECT_EQ(VAL("  -3.5xyz"), D("-3.5"));
}

TEST(Dates, ParseWindowAndRefusals) {
  struct Case { const char* text; int y; unsigned m, d; } good[] = {
      {"31/12/53", 1953, 12, 31}, {"31/12/1953", 1953, 12, 31}, {"01/01/00", 1900, 1, 1},
      {"29/02/2020", 2020, 2, 29}, {" 5/ 3/2018", 2018, 3, 5},
  };
  for (const Case& c : good) EXPECT_EQ(Date::parse(c.text), Date(c.y, c.m, c.d)) << c.text;
  for (const char* bad : {"29/02/2019", "31/04/2018", "32/01/2018", "00/01/2018", "15/13/2018",
                          "ab/12/2018", "31/12/953", "31122018"})
    EXPECT_FALSE(Date::parse(bad)) << bad;
  EXPECT_EQ(Date::parse("  /  /    "), Date());
  EXPECT_EQ(Date::parse(""), Date());
  EXPECT_EQ(Date::from_dtos("20181231"), Date(2018, 12, 31));
  EXPECT_FALSE(Date::from_dtos("20190229"));
  EXPECT_EQ(Date(2018, 12, 31).DTOS(), "20181231");
  EXPECT_EQ(Date(1953, 1, 2).DTOC(), "02/01/1953");
  EXPECT_EQ(Date().DTOS(), "        ");
}

TEST(Dates, CalendarAge) {
  struct Case { Date born, at; int age; } cases[] = {
      {Date(1953, 12, 31), Date(2018, 12, 31), 65},  // the birthday itself counts
      {Date(1953, 12, 31), Date(2018, 12, 30), 64},
      {Date(1952, 2, 29), Date(2019, 2, 28), 66},    // born 29 February, common year
      {Date(1952, 2, 29), Date(2019, 3, 1), 67},
      {Date(1952, 2, 29), Date(2020, 2, 29), 68},
      {Date(2000, 6, 15), Date(2000, 6, 15), 0},
      {Date(), Date(2018, 12, 31), 0},
  };
  for (const Case& c : cases) EXPECT_EQ(c.born.age_at(c.at), c.age) << c.born.DTOC() << " " << c.at.DTOC();
}

TEST(Dates, Arithmetic) {
  EXPECT_EQ(days_between(Date(2018, 12, 31), Date(2019, 3, 1)), 60);
  EXPECT_EQ(days_between(Date(), Date(2019, 3, 1)), 0);
  EXPECT_EQ(Date(2020, 2, 10).month_end(), Date(2020, 2, 29));
  EXPECT_EQ(Date(2019, 2, 10).month_end(), Date(2019, 2, 28));
  EXPECT_EQ(Date(2019, 4, 30).DOW(), 3);  // a Tuesday
  EXPECT_EQ(Date(2018, 12, 31).plus_days(1), Date(2019, 1, 1));
}
