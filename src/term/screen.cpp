#include "term/screen.h"

#include <algorithm>

#include "base/codepage.h"

namespace kardo::term {

Screen::Screen() { clear(); }

Rect Screen::clip(Rect r) {
  r.top = std::max(r.top, 0);
  r.left = std::max(r.left, 0);
  r.bottom = std::min(r.bottom, ROWS - 1);
  r.right = std::min(r.right, COLS - 1);
  return r;
}

Cell Screen::at(int row, int col) const { return inside(row, col) ? cells_[row][col] : Cell{}; }

void Screen::put(int row, int col, unsigned char ch, unsigned char colour) {
  if (inside(row, col)) cells_[row][col] = {ch, colour};
}

void Screen::put_char(int row, int col, unsigned char ch) {
  if (inside(row, col)) cells_[row][col].ch = ch;
}

void Screen::paint(int row, int col, unsigned char colour) {
  if (inside(row, col)) cells_[row][col].colour = colour;
}

void Screen::write(int row, int col, std::string_view text, unsigned char colour) {
  for (size_t i = 0; i < text.size(); ++i) put(row, col + int(i), static_cast<unsigned char>(text[i]), colour);
}

void Screen::write_chars(int row, int col, std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) put_char(row, col + int(i), static_cast<unsigned char>(text[i]));
}

void Screen::fill(Rect r, unsigned char ch, unsigned char colour) {
  r = clip(r);
  for (int y = r.top; y <= r.bottom; ++y)
    for (int x = r.left; x <= r.right; ++x) cells_[y][x] = {ch, colour};
}

SavedArea Screen::save(Rect r) const {
  SavedArea a{clip(r), {}};
  if (a.rect.empty()) return a;
  for (int y = a.rect.top; y <= a.rect.bottom; ++y)
    for (int x = a.rect.left; x <= a.rect.right; ++x) a.cells.push_back(cells_[y][x]);
  return a;
}

void Screen::restore(const SavedArea& a) {
  if (a.rect.empty()) return;
  size_t i = 0;
  for (int y = a.rect.top; y <= a.rect.bottom; ++y)
    for (int x = a.rect.left; x <= a.rect.right; ++x)
      if (i < a.cells.size()) {
        put(y, x, a.cells[i].ch, a.cells[i].colour);
        ++i;
      }
}

std::string Screen::text(int row, int col, int length) const {
  std::string out;
  for (int i = 0; i < length; ++i) out += static_cast<char>(at(row, col + i).ch);
  return out;
}

std::string Screen::dump() const {
  std::string out;
  for (int r = 0; r < ROWS; ++r) out += base::cp850_to_utf8(row_text(r)) + "\n";
  return out;
}

bool Screen::shows(std::string_view cp850) const {
  for (int r = 0; r < ROWS; ++r)
    if (row_text(r).find(cp850) != std::string::npos) return true;
  return false;
}

}  // namespace kardo::term
