// The table of numbered text windows laid over the screen, and the areas they cover.
//
// A window has three colours (kept as pairs), a rectangle (rows 0 … 24, columns 0 … 79),
// a frame style and the text last written into it:
//   0  no frame; text from (top, left) to column right
//   1  single-line box shifted one cell up and left of the rectangle (its inside starts at
//      (top, left)); text to column right − 2
//   2  single-line box on the rectangle's own edges; text to column right − 2
//   7  shadowed window: the bottom is two rows lower for the shadow; text to right − 2 and
//      a shadow of "░" in colour 3 at the end of each row after the first and under the last
// Opening a window saves what lies under it (one saved area per number: opening it again
// first puts the old area back); closing puts the area back. Everything is clipped to the
// screen, so a window partly off the screen opens and closes without leaving debris.
//
// Window text codes: byte 1, 2 or 3 switches to colour 1, 2 or 3 and takes no cell;
// byte 4, a count n and a character c stand for n copies of c (REP(n) writes the first two).
// Operations on a number never defined do nothing, as does closing a window not open.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "term/screen.h"

namespace kardo::ui {

struct Window {
  int number = 0;
  std::string colour1, colour2, colour3;  // pairs
  int top = 0, left = 0, bottom = 0, right = 0;
  int style = 0;
  std::string text;  // the last write, run lengths expanded, colour codes removed

  int text_width() const { return style == 0 ? right - left + 1 : right - left - 1; }
};

inline constexpr char CODE_COLOUR1 = 1, CODE_COLOUR2 = 2, CODE_COLOUR3 = 3, CODE_REPEAT = 4;
// Byte 4 and the count n: followed by a character, n copies of it.
std::string REP(int n);

class WindowTable {
 public:
  explicit WindowTable(term::Screen& screen) : screen_(screen) {}

  // Windows 1 … 10 as the program starts: colours 48, 112, 7, rows 1 … 25, columns 1 … 80,
  // no frame. Screens redefine them before use.
  void define_start_windows();

  void REDEFJAN(int number, int colour1, int colour2, int colour3, int top, int left, int bottom, int right,
                int style);
  void DEFINEJAN(int number, int colour1, int colour2, int colour3, int top, int left, int bottom, int right,
                 int style) {
    REDEFJAN(number, colour1, colour2, colour3, top, left, bottom, right, style);
  }
  void ABREJAN(int number);
  void ESCRJAN(int number, std::string_view text);
  void FECHAJAN(int number);
  // Puts characters at a window-relative place (row 1, column 1 = the top-left cell of the
  // rectangle) keeping the cells' colours.
  void ESCRLCOL(int number, int row, int col, std::string_view text);
  // Repaints `length` characters of the stored text from a window-relative place.
  void ESCRATR(int number, int row, int col, int colour, int length);
  // Changes colour 1, 2 or 3 of a window; number 0 is window 10.
  void REDFATR(int number, int which, int colour);
  void ENCHETELA(unsigned char ch, std::string_view pair);
  // Moves a window one row (MOVEVER) or column (MOVEHOR): direction 129 up or left, 1 down
  // or right; refused above row 0, left of column 0, or when the bottom would pass row 25 or
  // the right edge column 80. An open window is closed, reopened at its new place and
  // rewritten with its stored text. True when it moved.
  bool MOVEVER(int number, int direction);
  bool MOVEHOR(int number, int direction);

  const Window* find(int number) const;
  Window* find(int number);
  bool is_open(int number) const;
  size_t open_count() const { return saved_.size(); }
  term::Screen& screen() { return screen_; }

 private:
  struct Saved { int number; term::SavedArea area; };
  bool move(int number, int drow, int dcol);
  void draw_box(int top, int left, int bottom, int right, unsigned char colour);

  term::Screen& screen_;
  std::vector<Window> windows_;  // in order of first definition
  std::vector<Saved> saved_;
};

// The box characters of framed windows: corners, sides (code page 850).
std::string_view box_chars();

}  // namespace kardo::ui
