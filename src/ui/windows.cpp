#include "ui/windows.h"

#include <algorithm>

#include "base/codepage.h"
#include "ui/colours.h"

namespace kardo::ui {

using namespace base::literals;

namespace {
constexpr unsigned char kShadow = 0xB0;  // ░
}

std::string_view box_chars() { return "┌─┐│┘─└│"_cp; }

std::string REP(int n) { return std::string{CODE_REPEAT, static_cast<char>(n)}; }

void WindowTable::define_start_windows() {
  for (int n = 1; n <= 10; ++n) REDEFJAN(n, 48, 112, 7, 1, 1, 25, 80, 0);
}

Window* WindowTable::find(int number) {
  for (Window& w : windows_)
    if (w.number == number) return &w;
  return nullptr;
}

const Window* WindowTable::find(int number) const { return const_cast<WindowTable*>(this)->find(number); }

bool WindowTable::is_open(int number) const {
  return std::any_of(saved_.begin(), saved_.end(), [&](const Saved& s) { return s.number == number; });
}

void WindowTable::REDEFJAN(int number, int colour1, int colour2, int colour3, int top, int left, int bottom,
                           int right, int style) {
  Window* w = find(number);
  if (!w) w = &windows_.emplace_back();
  *w = Window{number, ACHACOR(colour1), ACHACOR(colour2), ACHACOR(colour3), top, left,
              style == 7 ? bottom + 2 : bottom, right, style, {}};
}

void WindowTable::draw_box(int top, int left, int bottom, int right, unsigned char colour) {
  std::string_view b = box_chars();
  auto ch = [&](int i) { return static_cast<unsigned char>(b[i]); };
  for (int c = left + 1; c < right; ++c) {
    screen_.put(top, c, ch(1), colour);
    screen_.put(bottom, c, ch(5), colour);
  }
  for (int r = top + 1; r < bottom; ++r) {
    screen_.put(r, left, ch(7), colour);
    screen_.put(r, right, ch(3), colour);
  }
  screen_.put(top, left, ch(0), colour);
  screen_.put(top, right, ch(2), colour);
  screen_.put(bottom, right, ch(4), colour);
  screen_.put(bottom, left, ch(6), colour);
}

void WindowTable::ABREJAN(int number) {
  const Window* w = find(number);
  if (!w) return;
  if (is_open(number)) FECHAJAN(number);
  term::Rect area{w->top, w->left, w->bottom, w->right};
  if (w->style == 1) area = {w->top - 1, w->left - 1, w->bottom, w->right};
  if (w->style == 7) area = {w->top, w->left, w->bottom + 2, w->right + 1};
  saved_.push_back({number, screen_.save(area)});
  unsigned char c2 = static_cast<unsigned char>(ACHACOR(w->colour2));
  if (w->style == 1) draw_box(w->top - 1, w->left - 1, w->bottom - 1, w->right - 1, c2);
  if (w->style == 2) draw_box(w->top, w->left, w->bottom, w->right, c2);
}

void WindowTable::FECHAJAN(int number) {
  auto it = std::find_if(saved_.begin(), saved_.end(), [&](const Saved& s) { return s.number == number; });
  if (it == saved_.end()) return;
  screen_.restore(it->area);
  saved_.erase(it);
}

void WindowTable::ESCRJAN(int number, std::string_view text) {
  Window* w = find(number);
  if (!w) return;
  // Run lengths first: byte 4, a count, a character.
  std::string expanded;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == CODE_REPEAT && i + 2 < text.size()) {
      expanded.append(static_cast<unsigned char>(text[i + 1]), text[i + 2]);
      i += 2;
    } else {
      expanded += text[i];
    }
  }
  w->text.clear();
  for (char c : expanded)
    if (c != CODE_COLOUR1 && c != CODE_COLOUR2 && c != CODE_COLOUR3 && c != CODE_REPEAT) w->text += c;

  unsigned char colours[3] = {static_cast<unsigned char>(ACHACOR(w->colour1)),
                              static_cast<unsigned char>(ACHACOR(w->colour2)),
                              static_cast<unsigned char>(ACHACOR(w->colour3))};
  unsigned char colour = colours[0];
  const int last_col = w->style == 0 ? w->right : w->right - 2;
  const int width = w->text_width();
  int row = w->top, col = w->left;
  auto shadow_row_end = [&]() {
    screen_.put(row, last_col + 1, kShadow, colours[2]);
    screen_.put(row, last_col + 2, kShadow, colours[2]);
  };
  for (char ch : expanded) {
    if (col > last_col) {
      if (w->style == 7 && row != w->top) shadow_row_end();
      ++row;
      col = w->left;
    }
    if (ch == CODE_COLOUR1 || ch == CODE_COLOUR2 || ch == CODE_COLOUR3) {
      colour = colours[ch - 1];
      continue;
    }
    if (ch == CODE_REPEAT) continue;  // a run-length code cut short
    screen_.put(row, col++, static_cast<unsigned char>(ch), colour);
  }
  if (w->style == 7) {
    shadow_row_end();
    for (int i = 0; i <= width; ++i) screen_.put(row + 1, w->left + 1 + i, kShadow, colours[2]);
  }
}

void WindowTable::ESCRLCOL(int number, int row, int col, std::string_view text) {
  const Window* w = find(number);
  if (!w) return;
  screen_.write_chars(w->top + row - 1, w->left + col - 1, text);
}

void WindowTable::ESCRATR(int number, int row, int col, int colour, int length) {
  const Window* w = find(number);
  if (!w || length <= 0) return;
  long first = long(row - 1) * w->text_width() + (col - 1);
  for (int i = 0; i < length; ++i) {
    int r = w->top + row - 1, c = w->left + col - 1 + i;
    long at = first + i;
    if (at >= 0 && at < long(w->text.size()))
      screen_.put(r, c, static_cast<unsigned char>(w->text[size_t(at)]), static_cast<unsigned char>(colour));
    else
      screen_.paint(r, c, static_cast<unsigned char>(colour));
  }
}

void WindowTable::REDFATR(int number, int which, int colour) {
  Window* w = find(number == 0 ? 10 : number);
  if (!w) return;
  std::string pair = ACHACOR(colour);
  if (which == 1) w->colour1 = pair;
  else if (which == 2) w->colour2 = pair;
  else if (which == 3) w->colour3 = pair;
}

void WindowTable::ENCHETELA(unsigned char ch, std::string_view pair) {
  screen_.fill({0, 0, term::Screen::ROWS - 1, term::Screen::COLS - 1}, ch, static_cast<unsigned char>(ACHACOR(pair)));
}

bool WindowTable::move(int number, int drow, int dcol) {
  Window* w = find(number);
  if (!w) return false;
  int top = w->top + drow, left = w->left + dcol, bottom = w->bottom + drow, right = w->right + dcol;
  if (top < 0 || left < 0 || bottom > 25 || right > 80) return false;
  bool open = is_open(number);
  if (open) FECHAJAN(number);
  w->top = top;
  w->left = left;
  w->bottom = bottom;
  w->right = right;
  if (open) {
    ABREJAN(number);
    std::string text = w->text;  // ESCRJAN replaces it
    ESCRJAN(number, text);
  }
  return true;
}

bool WindowTable::MOVEVER(int number, int direction) { return move(number, direction == 129 ? -1 : 1, 0); }
bool WindowTable::MOVEHOR(int number, int direction) { return move(number, 0, direction == 129 ? -1 : 1); }

}  // namespace kardo::ui
