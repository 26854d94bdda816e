#include "ui/routines.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kardo::ui {
namespace {

TEST(Routines, MonthsAndWeekdays) {
  EXPECT_EQ(TRAZ_MES(1), "Janeiro  ");
  EXPECT_EQ(TRAZ_MES(2), "Fevereiro");
  EXPECT_EQ(TRAZ_MES(3), "Marco    ");
  EXPECT_EQ(TRAZ_MES(12), "Dezembro ");
  EXPECT_EQ(TRAZ_MES(13), "         ");
  EXPECT_EQ(DIA_SEMANA(base::Date(2019, 4, 28)), "Domingo");
  EXPECT_EQ(DIA_SEMANA(base::Date(2019, 4, 30)), "Terca feira");
  EXPECT_EQ(DIA_SEMANA(base::Date(2019, 5, 4)), "Sabado");
}

TEST(Routines, Times) {
  EXPECT_EQ(HORA_SEG("01:02:03"), 3723);
  EXPECT_EQ(SEG_HORA(3723), "01:02:03");
  EXPECT_EQ(SEG_HORA(86400 + 61), "00:01:01");  // hours modulo 24
  EXPECT_EQ(SEG_HOR_2(2 * 86400 + 5 * 3600 + 7 * 60 + 9), "02D05h07m");
  EXPECT_EQ(SEG_HOR_2(100 * 86400), "01D00h00m");  // days modulo 99
  struct Case { const char* start; const char* end; long seconds; } cases[] = {
      {"08:00:00", "09:30:15", 5415},
      {"10:00:00", "10:00:00", 0},
      {"23:59:50", "00:00:10", 20},    // across midnight
      {"22:00:00", "01:00:00", 3 * 3600},
  };
  for (const Case& c : cases) EXPECT_EQ(TEMPO_PAS(c.start, c.end), c.seconds) << c.start << " " << c.end;
  EXPECT_EQ(TEMPO_PAS_HORA("23:59:50", "00:00:10"), "00:00:20");
}

TEST(Routines, Lelinha) {
  std::istringstream in(std::string("um\r\ndois\0tres\nquatro", 21));
  EXPECT_EQ(LELINHA(in), "um\r\n");
  EXPECT_EQ(LELINHA(in), "dois");
  EXPECT_EQ(LELINHA(in), "tres\n");
  EXPECT_EQ(LELINHA(in), "quatro");
  EXPECT_EQ(LELINHA(in), "");
}

}  // namespace
}  // namespace kardo::ui
