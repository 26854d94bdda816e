// AVISOSN (system message boxes and button boxes) and the key-help boxes, drawn on the cell
// screen and answered with keys or the mouse.
//
// A box is centred on the screen: the caption in its top edge, the text lines, a blank row
// and the buttons. The focused button is shown in the chosen-item colour; Left, Right, Tab
// and Shift+Tab move the focus, Enter or Space presses it, the first letter of a button
// presses that button, a click on a button presses it. Text too long for the screen scrolls
// with Up, Down, PgUp, PgDn, Home, End and the wheel. System boxes (modes 0 … 3 and 8) take
// Esc as their No, Cancel or OK; a button box must be answered with a button.
#include <algorithm>

#include "base/codepage.h"
#include "base/xtext.h"
#include "term/keys.h"
#include "ui/ui.h"

namespace kardo::ui {

namespace key = term::key;
using namespace base::literals;

namespace {

constexpr int kMaxInner = 76;

// The box's text: lines split at line breaks and wrapped at a blank to fit the screen.
std::vector<std::string> box_lines(const std::vector<std::string>& in) {
  std::vector<std::string> out;
  for (const std::string& l : in) {
    size_t start = 0;
    while (start <= l.size()) {
      size_t end = l.find('\n', start);
      std::string part = l.substr(start, end == std::string::npos ? std::string::npos : end - start);
      if (!part.empty() && part.back() == '\r') part.pop_back();
      while (int(part.size()) > kMaxInner) {
        size_t cut = part.rfind(' ', size_t(kMaxInner));
        if (cut == std::string::npos || cut == 0) cut = size_t(kMaxInner);
        out.push_back(part.substr(0, cut));
        part = std::string(base::LTRIM(part.substr(cut)));
      }
      out.push_back(part);
      if (end == std::string::npos) break;
      start = end + 1;
    }
  }
  return out;
}

}  // namespace

std::string Ui::AVISOSN(const base::Box& box) {
  using base::BoxMode;
  std::vector<std::string> labels, answers;
  std::string escape = "\x01";  // none: Esc does not close a button box
  const std::string sim = "Sim", nao(std::string("Não"_cp));
  switch (box.mode) {
    case base::BOX_PLAIN: labels = {"OK"}; answers = {"N"}; escape = "N"; break;
    case base::BOX_YES_NO: labels = {sim, nao}; answers = {"S", "N"}; escape = "N"; break;
    case base::BOX_YES_NO_CANCEL: labels = {sim, nao, "Cancelar"}; answers = {"S", "N", "I"}; escape = "I"; break;
    case base::BOX_SIM_NAO_FIM: labels = {sim, nao, "Fim"}; answers = {"S", "N", "F"}; break;
    case base::BOX_1_2_3: labels = {"1", "2", "3"}; answers = labels; break;
    case base::BOX_1_TO_6: labels = {"1", "2", "3", "4", "5", "6"}; answers = labels; break;
    case base::BOX_BUTTONS:
      labels = box.buttons;
      for (size_t i = 0; i < labels.size(); ++i) answers.push_back(std::to_string(i + 1));
      if (labels.empty()) { labels = {"OK"}; answers = {"0"}; }
      break;
    default:  // information and error boxes
      labels = {"OK"}; answers = {""}; escape = ""; break;
  }
  bool system = box.mode <= base::BOX_YES_NO_CANCEL || box.mode == base::BOX_ERROR;
  unsigned char colour = static_cast<unsigned char>(system ? colours_.COR_HELP : ACHACOR(colours_.COR_ENCH_C));
  std::string answer = button_box(box, labels, answers, escape, colour, system ? 19 : 16);
  terminal_.backend().record_box(box.shown_caption(), box.lines, answer);
  return answer;
}

std::string Ui::button_box(const base::Box& box, const std::vector<std::string>& labels,
                           const std::vector<std::string>& answers, const std::string& escape, unsigned char colour,
                           size_t max_lines) {
  const std::vector<std::string> lines = box_lines(box.lines);
  const std::string title = box.shown_caption();

  // Buttons: labels shorter than 10 centred in 10, between brackets, one blank apart,
  // wrapping onto further rows.
  std::vector<std::string> faces;
  for (const std::string& l : labels) faces.push_back("[" + (l.size() < 10 ? base::PADC(l, 10) : l.substr(0, size_t(kMaxInner - 2))) + "]");
  int inner = int(title.size()) + 2;
  for (const std::string& l : lines) inner = std::max(inner, int(l.size()));
  int row_width = 0;
  for (const std::string& f : faces) row_width += int(f.size()) + (row_width ? 1 : 0);
  inner = std::clamp(std::max(inner, std::min(row_width, kMaxInner)), 20, kMaxInner);
  struct Place { int row, col; };
  std::vector<Place> at;  // button rows and columns relative to the first button row
  {
    std::vector<std::vector<size_t>> rows(1);
    int w = 0;
    for (size_t i = 0; i < faces.size(); ++i) {
      int need = int(faces[i].size()) + (w ? 1 : 0);
      if (w && w + need > inner) { rows.emplace_back(); w = 0; need = int(faces[i].size()); }
      rows.back().push_back(i);
      w += need;
    }
    at.resize(faces.size());
    for (size_t r = 0; r < rows.size(); ++r) {
      int total = -1;
      for (size_t i : rows[r]) total += int(faces[i].size()) + 1;
      int c = (inner - total) / 2;
      for (size_t i : rows[r]) { at[i] = {int(r), c}; c += int(faces[i].size()) + 1; }
    }
  }
  const int button_rows = at.empty() ? 0 : at.back().row + 1;
  const int visible = int(std::min(lines.size(), max_lines));
  const int height = visible + button_rows + 2 + (visible > 0 ? 1 : 0);
  const int width = inner + 4;
  const term::Rect r{(25 - height) / 2, (80 - width) / 2, (25 - height) / 2 + height - 1, (80 - width) / 2 + width - 1};
  const int text_top = r.top + 1, text_left = r.left + 2;
  const int buttons_top = r.top + 1 + visible + (visible > 0 ? 1 : 0);
  const unsigned char focus_colour = static_cast<unsigned char>(colours_.COR_ESCOL);

  term::SavedArea under = screen().save(r);
  const term::CursorShape cursor = screen().cursor_shape();
  screen().set_cursor_shape(term::CursorShape::HIDDEN);
  size_t focus = 0, first = 0;
  auto draw = [&] {
    draw_frame(r, colour, colour, title);
    for (int i = 0; i < visible; ++i)
      screen().write(text_top + i, text_left, base::PADR(lines[first + size_t(i)], size_t(inner)), colour);
    if (lines.size() > max_lines) {  // a scroll bar in the right edge
      int span = visible, pos = int(first * size_t(span - 1) / (lines.size() - max_lines));
      for (int i = 0; i < span; ++i) screen().put(text_top + i, r.right, i == pos ? 0xDB : 0xB1, colour);
    }
    for (size_t i = 0; i < faces.size(); ++i)
      screen().write(buttons_top + at[i].row, text_left + at[i].col, faces[i], i == focus ? focus_colour : colour);
  };
  auto scroll = [&](long by) {
    if (lines.size() <= max_lines) return;
    long f = std::clamp(long(first) + by, 0L, long(lines.size() - max_lines));
    first = size_t(f);
  };

  terminal_.flush_input();
  std::string answer;
  for (bool done = false; !done;) {
    draw();
    term::Event e = terminal_.wait();
    if (e.type == term::Event::Type::MOUSE) {
      if (e.mouse == term::Event::Mouse::WHEEL_UP) scroll(-3);
      if (e.mouse == term::Event::Mouse::WHEEL_DOWN) scroll(3);
      if (e.mouse != term::Event::Mouse::CLICK && e.mouse != term::Event::Mouse::DOUBLE_CLICK) continue;
      for (size_t i = 0; i < faces.size(); ++i) {
        int row = buttons_top + at[i].row, col = text_left + at[i].col;
        if (e.row == row && e.col >= col && e.col < col + int(faces[i].size())) {
          answer = answers[i];
          done = true;
        }
      }
      continue;
    }
    if (e.type != term::Event::Type::KEY) continue;
    const int k = e.key;
    switch (k) {
      case key::LEFT: case key::SHIFT_TAB: focus = (focus + faces.size() - 1) % faces.size(); continue;
      case key::RIGHT: case key::TAB: focus = (focus + 1) % faces.size(); continue;
      case key::ENTER: case ' ': answer = answers[focus]; done = true; continue;
      case key::UP: scroll(-1); continue;
      case key::DOWN: scroll(1); continue;
      case key::PGUP: scroll(-long(max_lines)); continue;
      case key::PGDN: scroll(long(max_lines)); continue;
      case key::HOME: scroll(-long(lines.size())); continue;
      case key::END: scroll(long(lines.size())); continue;
      case key::ESC:
        if (escape != "\x01") { answer = escape; done = true; }
        continue;
      default: break;
    }
    if (!key::is_char(k)) continue;
    unsigned char u = base::cp850_upper(static_cast<unsigned char>(k));
    int match = -1, count = 0;
    for (size_t i = 0; i < labels.size(); ++i)
      if (!labels[i].empty() && base::cp850_upper(static_cast<unsigned char>(labels[i][0])) == u) { match = int(i); ++count; }
    if (count == 1) {
      answer = answers[size_t(match)];
      done = true;
    }
  }
  screen().restore(under);
  screen().set_cursor_shape(cursor);
  return answer;
}

}  // namespace kardo::ui
