// The 25 × 80 text-cell screen every window, box and form is drawn on.
//
// A cell holds one code page 850 character and one colour byte (16 × background +
// foreground, each 0 … 15, the sixteen PC text colours). Every write is clipped to the
// grid: a cell outside rows 0 … 24 or columns 0 … 79 is silently dropped, so a window that
// reaches past the edge draws only its visible part and restores exactly that part.
//
// Besides the grid the screen carries the cursor (place and shape) and the status line,
// the text of the program's status bar, which backends show under the grid when the
// terminal has a row for it and over the grid's last row otherwise.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kardo::term {

struct Cell {
  unsigned char ch = ' ';
  unsigned char colour = 7;
  friend bool operator==(const Cell&, const Cell&) = default;
};

// A rectangle of cells, corners included (rows top … bottom, columns left … right).
struct Rect {
  int top = 0, left = 0, bottom = -1, right = -1;
  bool empty() const { return bottom < top || right < left; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

enum class CursorShape { HIDDEN, NORMAL, BLOCK };

// What lay under a rectangle, kept to put back later. Only the part of the rectangle
// that is on the screen is kept.
struct SavedArea {
  Rect rect;  // already clipped to the screen
  std::vector<Cell> cells;
};

class Screen {
 public:
  static constexpr int ROWS = 25;
  static constexpr int COLS = 80;

  Screen();

  static bool inside(int row, int col) { return row >= 0 && row < ROWS && col >= 0 && col < COLS; }
  static Rect clip(Rect r);

  Cell at(int row, int col) const;  // a blank in colour 7 outside the grid
  void put(int row, int col, unsigned char ch, unsigned char colour);
  void put_char(int row, int col, unsigned char ch);         // keeps the cell's colour
  void paint(int row, int col, unsigned char colour);        // keeps the cell's character
  void write(int row, int col, std::string_view text, unsigned char colour);
  void write_chars(int row, int col, std::string_view text);  // keeps the colours
  void fill(Rect r, unsigned char ch, unsigned char colour);
  void clear(unsigned char colour = 7) { fill({0, 0, ROWS - 1, COLS - 1}, ' ', colour); }

  SavedArea save(Rect r) const;
  void restore(const SavedArea& area);

  void set_cursor(int row, int col) { cursor_row_ = row; cursor_col_ = col; }
  void set_cursor_shape(CursorShape s) { cursor_shape_ = s; }
  int cursor_row() const { return cursor_row_; }
  int cursor_col() const { return cursor_col_; }
  CursorShape cursor_shape() const { return cursor_shape_; }

  void set_status(std::string_view text, unsigned char colour = 0x70) { status_ = std::string(text); status_colour_ = colour; }
  const std::string& status() const { return status_; }
  unsigned char status_colour() const { return status_colour_; }

  // Queries for tests and the tmux check. Text is code page 850.
  std::string text(int row, int col, int length) const;
  std::string row_text(int row) const { return text(row, 0, COLS); }
  // The grid as 25 lines of UTF-8 text, trailing blanks kept, each ended by '\n'.
  std::string dump() const;
  // Does `cp850` occur anywhere on the screen (on one row)?
  bool shows(std::string_view cp850) const;

 private:
  Cell cells_[ROWS][COLS];
  int cursor_row_ = 0, cursor_col_ = 0;
  CursorShape cursor_shape_ = CursorShape::NORMAL;
  std::string status_;
  unsigned char status_colour_ = 0x70;
};

}  // namespace kardo::term
