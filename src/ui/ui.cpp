#include "ui/ui.h"

#include "base/xtext.h"
#include "base/year.h"

namespace kardo::ui {

Ui::Ui(term::Terminal& terminal, base::Clock& clock)
    : caption("Kardo" + std::string(base::CANOATUAL) + " - Trel Informatica"),
      terminal_(terminal),
      clock_(clock),
      windows_(terminal.screen()) {
  windows_.define_start_windows();
}

void Ui::message_line(std::string_view text) {
  if (status_bar_) {
    screen().set_status(base::RTRIM(text), static_cast<unsigned char>(colours_.COR_MENS));
    return;
  }
  screen().write(24, 0, base::PADC(base::ALLTRIM(text), 80), static_cast<unsigned char>(ACHACOR(colours_.COR_SAY)));
}

void Ui::BEEP_ERRO(int count) {
  for (int i = 0; i < count; ++i) {
    tone(300, 1);
    tone(499, 1);
    tone(300, 1);
    tone(499, 1);
  }
}

bool Ui::escape_pressed() {
  bool esc = false;
  while (auto e = terminal_.poll())
    if (e->is_key(term::key::ESC)) esc = true;
  return esc;
}

void Ui::draw_frame(term::Rect r, unsigned char frame_colour, unsigned char inside_colour, std::string_view title) {
  std::string_view b = box_chars();
  term::Screen& s = screen();
  s.fill({r.top + 1, r.left + 1, r.bottom - 1, r.right - 1}, ' ', inside_colour);
  auto ch = [&](int i) { return static_cast<unsigned char>(b[size_t(i)]); };
  for (int c = r.left + 1; c < r.right; ++c) {
    s.put(r.top, c, ch(1), frame_colour);
    s.put(r.bottom, c, ch(5), frame_colour);
  }
  for (int row = r.top + 1; row < r.bottom; ++row) {
    s.put(row, r.left, ch(7), frame_colour);
    s.put(row, r.right, ch(3), frame_colour);
  }
  s.put(r.top, r.left, ch(0), frame_colour);
  s.put(r.top, r.right, ch(2), frame_colour);
  s.put(r.bottom, r.right, ch(4), frame_colour);
  s.put(r.bottom, r.left, ch(6), frame_colour);
  if (!title.empty()) {
    int room = r.right - r.left - 3;
    if (room > 0) {
      std::string t = " " + std::string(title.substr(0, size_t(room))) + " ";
      s.write(r.top, r.left + 1 + (room + 2 - int(t.size())) / 2, t, frame_colour);
    }
  }
}

Dialog::Dialog(Ui& ui, term::Rect rect, std::string_view caption)
    : ui_(ui), rect_(rect), under_(ui.screen().save(rect)) {
  const unsigned char colour = static_cast<unsigned char>(ui.colours().COR_MENS);
  ui.draw_frame(rect, colour, colour, caption);
}

void Dialog::close() {
  if (!open_) return;
  ui_.screen().restore(under_);
  open_ = false;
}

std::string Ui::AVISOSN(std::vector<std::string> lines, int mode, std::string_view caption_text) {
  base::Box b;
  b.lines = std::move(lines);
  b.mode = mode;
  b.caption = std::string(caption_text);
  return AVISOSN(b);
}

}  // namespace kardo::ui
