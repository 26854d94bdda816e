// ESC_OPCAO: a highlight bar over the rows of an open window.
#include <algorithm>

#include "base/codepage.h"
#include "base/xtext.h"
#include "term/keys.h"
#include "ui/ui.h"

namespace kardo::ui {

namespace key = term::key;

int Ui::ESC_OPCAO(int number, int last_item, int col, int length, int row_offset, bool close, bool hints,
                  Chooser& chooser) {
  Window* w = windows_.find(number);
  if (!w || last_item < 1) return 0;
  int& pos = chooser.POSVER;
  pos = std::clamp(pos == 0 ? 1 : pos, 1, last_item);
  const std::string letters = base::UPPER(chooser.OPCOES);
  screen().set_cursor_shape(term::CursorShape::HIDDEN);
  static const std::string kNoHint;
  auto hint = [&](int item) -> const std::string& {
    return size_t(item) <= chooser.MENSMENU.size() ? chooser.MENSMENU[size_t(item - 1)] : kNoHint;
  };
  auto show_hint = [&] {
    if (hints) {
      windows_.FECHAJAN(10);
      base::Mens m;
      m.mode = 13;
      m.text = hint(pos);
      m.row = 1;
      m.column.assign(1, 'C');  // centred
      if (!m.text.empty()) MENS(m);
    } else {
      message_line("");
    }
  };
  auto paint = [&](int item, int colour) { windows_.ESCRATR(number, item + row_offset, col, colour, length); };

  int chosen = -1, painted = -1;
  while (chosen < 0) {
    if (painted != pos) {
      if (painted > 0) paint(painted, colours_.COR_TEL1);
      paint(pos, colours_.COR_ESCOL);
      painted = pos;
      show_hint();
    }
    term::Event e = terminal_.wait();
    if (e.type == term::Event::Type::MOUSE) {
      // A click on an item moves the bar there, a double click chooses it; the wheel moves.
      int item = e.row - (w->top + row_offset - 1);
      bool on_item = item >= 1 && item <= last_item && e.col >= w->left + col - 1 && e.col < w->left + col - 1 + length;
      if (e.mouse == term::Event::Mouse::WHEEL_UP) pos = std::max(pos - 1, 1);
      else if (e.mouse == term::Event::Mouse::WHEEL_DOWN) pos = std::min(pos + 1, last_item);
      else if (on_item && e.mouse == term::Event::Mouse::CLICK) pos = item;
      else if (on_item && e.mouse == term::Event::Mouse::DOUBLE_CLICK) { pos = item; chosen = item; }
      continue;
    }
    if (e.type != term::Event::Type::KEY) continue;
    switch (e.key) {
      case key::ENTER: chosen = pos; break;
      case key::ESC: chosen = 0; break;
      case key::HOME: pos = 1; break;
      case key::END: pos = last_item; break;
      case key::DOWN: pos = std::min(pos + 1, last_item); break;
      case key::UP: pos = std::max(pos - 1, 1); break;
      case key::alt('A'): CALCULADORA(); break;
      default:
        if (key::is_char(e.key)) {
          size_t at = letters.find(static_cast<char>(base::cp850_upper(static_cast<unsigned char>(e.key))));
          if (at != std::string::npos && int(at) < last_item) {
            pos = int(at) + 1;
            paint(painted, colours_.COR_TEL1);
            paint(pos, colours_.COR_ESCOL);
            windows_.FECHAJAN(10);
            message_line(hint(pos));
            chosen = pos;
          }
        }
    }
  }
  screen().set_cursor_shape(term::CursorShape::NORMAL);
  windows_.FECHAJAN(10);
  if (close) windows_.FECHAJAN(number);
  return chosen;
}

}  // namespace kardo::ui
