#include "ui/calculator.h"

#include "fixture.h"
#include "term/keys.h"

namespace kardo::ui::testing {
namespace {

using base::Decimal;
Decimal D(const char* s) { return Decimal::parse(s).value(); }

class Calc : public UiTest {};

TEST_F(Calc, KeyRules) {
  struct Case {
    const char* keys;
    bool handed;
    const char* result;  // when handed
    int refusals;        // 800 Hz tones
  } cases[] = {
      {"8 Ctrl+Enter", true, "8", 0},
      {"5 + 3 = Ctrl+Enter", true, "8", 0},
      {"1 / 0 = Ctrl+Enter", false, "", 1},           // division by zero: never handed over
      {"1 / 0 = 7 = Ctrl+Enter", true, "7", 1},       // until "=" takes a new number
      {"1 / 0 + Ctrl+Enter", false, "", 1},
      {"1 / 0 = + Ctrl+Enter", false, "", 2},         // an operator without a new number keeps the error
      {"5 + 3 Ctrl+Enter", true, "8", 0},             // a pending operation is completed first
      {"5 + Ctrl+Enter", true, "5", 0},
      {"2 * 3 + 4 = Ctrl+Enter", true, "10", 0},
      {"1 0 / 4 = Ctrl+Enter", true, "2.5", 0},
      {"1 0 / 3 = Ctrl+Enter", true, "3.3333", 0},    // four decimals
      {"1 . 5 * 1 , 5 = Ctrl+Enter", true, "2.25", 0},
      {"1 2 3 4 5 6 7 8 9 0 1 Ctrl+Enter", true, "1234567890", 1},  // an 11th digit
      {"1 . 2 3 4 5 6 Ctrl+Enter", true, "1.2345", 1},              // a 5th decimal
      {"1 . 2 . Ctrl+Enter", true, "1.2", 1},                       // a second point
      {"7 I Ctrl+Enter", true, "-7", 0},
      {"7 Backspace 4 Ctrl+Enter", true, "4", 0},
      {"5 + 3 = C 9 Ctrl+Enter", true, "9", 0},       // "C": the typed number again
      {"5 + 3 = 2 Ctrl+Enter", true, "8", 0},         // the last completed result
      {"9 M + C M R Ctrl+Enter", true, "9", 0},       // memory survives "C"
      {"9 M + M + C M R + 1 = Ctrl+Enter", true, "19", 0},
      {"9 M + M C C M R Ctrl+Enter", true, "0", 0},
      {"4 M Z Ctrl+Enter", true, "4", 1},
      {"9 9 9 9 9 9 9 9 9 9 * 9 9 9 = Ctrl+Enter", false, "", 1},   // too large for the display
      {"q 3 Ctrl+Enter", true, "3", 1},
      {"3 Esc", false, "", 0},
      {"3 x", false, "", 0},
  };
  for (const Case& c : cases) {
    h.clear_tones();
    h.keys(c.keys);
    CalcResult r = ui.CALCULADORA();
    EXPECT_EQ(r.handed, c.handed) << c.keys;
    if (c.handed) {
      EXPECT_EQ(r.RESULT, D(c.result)) << c.keys;
    }
    int refusals = 0;
    for (auto t : h.tones()) refusals += t == term::HeadlessBackend::Tone{800, 10};
    EXPECT_EQ(refusals, c.refusals) << c.keys;
    EXPECT_EQ(h.pending(), 0u) << c.keys;
  }
}

TEST_F(Calc, DisplayAndMask) {
  pattern();
  const term::Screen before = s();
  struct Step { const char* keys; const char* display; char op; bool memory; } steps[] = {
      {"5 +", "             5", '+', false},
      {"3 =", "             8", ' ', false},
      {"M +", "             8", ' ', true},
      {"1 2 3 4 5 6 7", "     1.234.567", ' ', true},
      {"/", "     1.234.567", static_cast<char>(cp("÷"_cp)), true},
      {"2 =", "       617.283,5000", ' ', true},
      {"/ 0 =", "**************,****", ' ', true},
  };
  size_t i = 0;
  std::string mask;
  h.keys(steps[0].keys);
  h.when_idle([&](term::HeadlessBackend& hb) {
    const term::Screen& sh = hb.shown();
    const Step& st = steps[i];
    // window 9 at row 11, column 11: the display is its second row
    EXPECT_EQ(base::RTRIM(sh.text(12, 15, 19)), base::RTRIM(st.display)) << st.keys;
    EXPECT_EQ(sh.at(12, 35).ch, static_cast<unsigned char>(st.op)) << st.keys;
    EXPECT_EQ(sh.at(12, 12).ch, st.memory ? 'M' : ' ') << st.keys;
    if (++i < std::size(steps)) hb.keys(steps[i].keys);
    else hb.keys("Esc");
  });
  EXPECT_FALSE(ui.CALCULADORA().handed);
  EXPECT_EQ(i, std::size(steps));
  EXPECT_TRUE(same(s(), before));

  h.when_idle(nullptr);
  h.keys("8 Ctrl+Enter");
  EXPECT_EQ(ui.CALCULADORA().PIC_USU, "@Ez 99,999,999,999");
  h.keys("1 / 4 = Ctrl+Enter");
  EXPECT_EQ(ui.CALCULADORA().PIC_USU, "@Ez 99,999,999,999.9999");
}

TEST_F(Calc, MovesWithinTheScreenAndRemembersItsPlace) {
  pattern();
  const term::Screen before = s();
  h.keys("Up Up Left Esc");
  ui.CALCULADORA(9, 11, 11);
  EXPECT_EQ(ui.LCAL, 9);
  EXPECT_EQ(ui.CCAL, 10);
  EXPECT_TRUE(same(s(), before));
  h.keys("Down Down Right Esc");
  ui.CALCULADORA(9, 11, 48);  // already at the lowest row it may take and the right edge
  EXPECT_EQ(ui.LCAL, 11);
  EXPECT_EQ(ui.CCAL, 49);
  EXPECT_TRUE(same(s(), before));
  h.keys("Right Esc");
  ui.CALCULADORA(9, 20, 70);  // clamped to row 11, column 48
  EXPECT_EQ(ui.LCAL, 11);
  EXPECT_EQ(ui.CCAL, 49);
}

TEST_F(Calc, KeysCanBeClicked) {
  // Window at (11, 11): key rows on screen rows 14, 16, … 22; columns 13, 17, 21, 25, 29.
  h.click(20, 13).click(18, 25).click(20, 17).click(22, 21).click(14, 29);  // 1 + 2 = ^Enter
  CalcResult r = ui.CALCULADORA();
  EXPECT_TRUE(r.handed);
  EXPECT_EQ(r.RESULT, Decimal(3));
}

}  // namespace
}  // namespace kardo::ui::testing
