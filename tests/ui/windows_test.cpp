#include "ui/windows.h"

#include "fixture.h"
#include "ui/colours.h"

namespace kardo::ui::testing {
namespace {

using term::Screen;

class Windows : public UiTest {
 protected:
  WindowTable& w = ui.windows();
};

TEST(Achacor, BothWays) {
  struct Case { int number; const char* pair; } cases[] = {{30, "GR+/B"}, {112, "N/W"}, {79, "W+/R"}, {7, "W/N"}};
  for (const Case& c : cases) {
    EXPECT_EQ(ACHACOR(c.number), c.pair);
    EXPECT_EQ(ACHACOR(std::string_view(c.pair)), c.number);
  }
  Colours k;
  EXPECT_EQ(k.CORNORM(), "N/W+,W/N,N/N,N/N,N/W+");
  EXPECT_EQ(colour_of_set(k.CORNORM(), 1), 7);     // the field being edited: W/N
  EXPECT_EQ(colour_of_set(k.CORNORM(), 4), 0xF0);  // the other fields: N/W+
  EXPECT_EQ(colour_of_set("W/N", 3), 7);           // a set too short: the default
}

TEST_F(Windows, TextWrapsAtTheTextWidthAndMayRunBelowTheBottom) {
  struct Case { int style; int first_row_chars; } cases[] = {{0, 10}, {1, 8}, {2, 8}};
  for (const Case& c : cases) {
    s().clear();
    w.REDEFJAN(5, 30, 31, 63, 10, 20, 11, 29, c.style);
    w.ESCRJAN(5, std::string(30, 'x'));
    EXPECT_EQ(s().text(10, 20, 11), std::string(size_t(c.first_row_chars), 'x') + std::string(size_t(11 - c.first_row_chars), ' '))
        << "style " << c.style;
    int rows = (30 + c.first_row_chars - 1) / c.first_row_chars;
    EXPECT_EQ(s().at(10 + rows - 1, 20).ch, 'x') << "style " << c.style;  // past the bottom row 11
    EXPECT_EQ(w.find(5)->text, std::string(30, 'x'));
  }
}

TEST_F(Windows, RunLengthAndColourCodes) {
  w.REDEFJAN(5, 30, 31, 63, 3, 4, 10, 40, 0);
  std::string text = "a" + std::string(1, CODE_COLOUR2) + REP(5) + std::string("─"_cp) + std::string(1, CODE_COLOUR3) + "b" +
                     std::string(1, CODE_COLOUR1) + "c" + std::string(1, CODE_REPEAT);  // a cut-short code at the end
  w.ESCRJAN(5, text);
  EXPECT_EQ(s().text(3, 4, 9), "a─────bc "_cp);
  EXPECT_EQ(w.find(5)->text, "a─────bc"_cp);  // codes removed, runs expanded
  EXPECT_EQ(s().at(3, 4).colour, 30);
  EXPECT_EQ(s().at(3, 5).colour, 31);
  EXPECT_EQ(s().at(3, 10).colour, 63);
  EXPECT_EQ(s().at(3, 11).colour, 30);
}

TEST_F(Windows, FramesAndSavedAreas) {
  pattern();
  const Screen before = s();
  // Style 1: the box one cell up and left of the rectangle.
  w.REDEFJAN(3, 30, 31, 63, 5, 10, 8, 20, 1);
  w.ABREJAN(3);
  EXPECT_EQ(s().text(4, 9, 11), "┌─────────┐"_cp);
  EXPECT_EQ(s().text(7, 9, 11), "└─────────┘"_cp);
  EXPECT_EQ(s().at(4, 9).colour, 31);
  EXPECT_EQ(s().at(8, 20), before.at(8, 20));  // saved, not drawn on
  // Opened twice: one saved area, and one close restores the screen as it first was.
  w.ESCRJAN(3, "hello");
  w.ABREJAN(3);
  EXPECT_EQ(w.open_count(), 1u);
  w.FECHAJAN(3);
  EXPECT_TRUE(same(s(), before));
  w.FECHAJAN(3);  // not open: nothing
  EXPECT_TRUE(same(s(), before));

  // Style 2: the box on the rectangle's edges.
  w.REDEFJAN(4, 30, 31, 63, 5, 10, 8, 20, 2);
  w.ABREJAN(4);
  EXPECT_EQ(s().text(5, 10, 11), "┌─────────┐"_cp);
  EXPECT_EQ(s().text(8, 10, 11), "└─────────┘"_cp);
  w.FECHAJAN(4);
  EXPECT_TRUE(same(s(), before));

  // Style 7: two rows more for the shadow, saved with one more column.
  w.REDEFJAN(6, 30, 31, 63, 5, 10, 6, 20, 7);
  EXPECT_EQ(w.find(6)->bottom, 8);
  w.ABREJAN(6);
  w.ESCRJAN(6, std::string(18, 'x'));  // text width 9: two rows
  EXPECT_EQ(s().text(5, 10, 9), "xxxxxxxxx");
  EXPECT_EQ(s().at(5, 19), before.at(5, 19));  // the first row has no shadow
  EXPECT_EQ(s().text(6, 10, 11), "xxxxxxxxx░░"_cp);
  EXPECT_EQ(s().text(7, 11, 10), "░░░░░░░░░░"_cp);
  EXPECT_EQ(s().at(7, 11).colour, 63);
  w.FECHAJAN(6);
  EXPECT_TRUE(same(s(), before));

  // Numbers never defined: nothing happens.
  w.ABREJAN(77);
  w.ESCRJAN(77, "x");
  EXPECT_FALSE(w.MOVEVER(77, 1));
  EXPECT_TRUE(same(s(), before));
}

TEST_F(Windows, PartlyOffTheScreenLeavesNoDebris) {
  pattern();
  const Screen before = s();
  // The start-up windows reach row 25 and column 80, one past the grid.
  w.ABREJAN(1);
  w.ESCRJAN(1, std::string(2100, 'q'));
  w.FECHAJAN(1);
  EXPECT_TRUE(same(s(), before));
  // A framed window whose box starts above and left of the screen, and one past the
  // bottom-right corner with a shadow, moved about while open.
  w.REDEFJAN(8, 30, 31, 63, 0, 0, 3, 12, 1);
  w.REDEFJAN(9, 30, 31, 63, 21, 70, 23, 80, 7);  // the shadow's rows reach row 25
  for (int n : {8, 9}) {
    w.ABREJAN(n);
    w.ESCRJAN(n, "texto da janela");
  }
  EXPECT_TRUE(w.MOVEVER(8, 1));
  EXPECT_TRUE(w.MOVEHOR(8, 1));
  EXPECT_FALSE(w.MOVEVER(9, 1));  // the bottom would pass row 25
  EXPECT_FALSE(w.MOVEHOR(9, 1));  // the right edge would pass column 80
  EXPECT_TRUE(w.MOVEHOR(9, 129));
  w.FECHAJAN(9);
  w.FECHAJAN(8);
  EXPECT_TRUE(same(s(), before));
}

TEST_F(Windows, MovingRewritesTheStoredText) {
  s().clear();
  w.REDEFJAN(2, 30, 31, 63, 0, 0, 2, 9, 0);
  EXPECT_FALSE(w.MOVEVER(2, 129));  // not above row 0
  EXPECT_FALSE(w.MOVEHOR(2, 129));  // not left of column 0
  w.ABREJAN(2);
  w.ESCRJAN(2, "ab" + std::string(1, CODE_COLOUR2) + "cd");
  EXPECT_TRUE(w.MOVEVER(2, 1));
  EXPECT_TRUE(w.MOVEHOR(2, 1));
  EXPECT_EQ(s().text(0, 0, 6), "      ");
  EXPECT_EQ(s().text(1, 1, 4), "abcd");
  EXPECT_EQ(s().at(1, 4).colour, 30);  // rewritten in colour 1
  const Window* win = w.find(2);
  EXPECT_EQ((term::Rect{win->top, win->left, win->bottom, win->right}), (term::Rect{1, 1, 3, 10}));
}

TEST_F(Windows, RepaintAndPlaceText) {
  s().clear();
  w.REDEFJAN(4, 30, 31, 63, 2, 5, 8, 14, 1);  // text width 8
  w.ESCRJAN(4, "item um itemdois");
  w.ESCRATR(4, 2, 1, 79, 4);
  EXPECT_EQ(s().text(3, 5, 4), "item");
  for (int c = 5; c < 9; ++c) EXPECT_EQ(s().at(3, c).colour, 79);
  EXPECT_EQ(s().at(3, 9).colour, 30);
  w.ESCRLCOL(4, 1, 6, "XY");
  EXPECT_EQ(s().text(2, 5, 8), "item XY ");
  EXPECT_EQ(s().at(2, 10).colour, 30);  // colours kept
  w.REDFATR(0, 2, 112);  // 0 is window 10
  EXPECT_EQ(w.find(10)->colour2, "N/W");
  w.ENCHETELA(0xB0, "W+/B");
  EXPECT_EQ(s().at(24, 79), (term::Cell{0xB0, 31}));
}

}  // namespace
}  // namespace kardo::ui::testing
