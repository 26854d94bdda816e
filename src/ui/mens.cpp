// MENS: the message line, key-waiting messages, letter choices, progress windows and
// one-line prompts.
#include <algorithm>
#include <cctype>

#include "base/xtext.h"
#include "term/keys.h"
#include "ui/field.h"
#include "ui/ui.h"

namespace kardo::ui {

namespace key = term::key;
using base::Mens;

namespace {

int parse_column(const std::string& column, int width) {
  std::string_view c = base::ALLTRIM(column);
  if (!c.empty() && std::all_of(c.begin(), c.end(), [](char ch) { return std::isdigit(static_cast<unsigned char>(ch)); }))
    return std::stoi(std::string(c));
  if (c == "E" || c == "e") return 2;
  if (c == "C" || c == "c") return (80 - width) / 2;
  return 70 - width;
}

int input_width(const Mens& m) {
  switch (m.input) {
    case Mens::Input::NUMBER: return m.input_width > 0 ? m.input_width : 10;
    case Mens::Input::DATE: return 10;  // dates are shown dd/mm/yyyy
    case Mens::Input::FLAG: return 1;
    case Mens::Input::TEXT: break;
  }
  return m.input_width > 0 ? m.input_width : std::max<int>(int(m.value.size()), 1);
}

Field input_field(const Mens& m, int row, int col) {
  switch (m.input) {
    case Mens::Input::NUMBER: {
      size_t point = m.value.find('.');
      int decimals = point == std::string::npos ? 0 : int(m.value.size() - point - 1);
      auto plain = base::Decimal::parse(base::ALLTRIM(m.value));
      base::Decimal value = plain ? *plain : base::CAR_TO_VAL(m.value);
      return Field::Number(row, col, value, input_width(m), decimals, m.mask);
    }
    case Mens::Input::DATE:
      return Field::DateField(row, col, base::Date::parse(m.value).value_or(base::Date()), m.mask);
    case Mens::Input::FLAG: {
      std::string v = base::UPPER(base::ALLTRIM(m.value));
      return Field::Logical(row, col, v == "S" || v == "T" || v == ".T." || v == "Y", "Y");
    }
    case Mens::Input::TEXT:
      break;
  }
  return Field::Text(row, col, m.value, input_width(m), m.mask);
}

std::string value_text(const Field& f) {
  switch (f.kind) {
    case Field::Kind::NUMBER: return f.number.text(f.decimals);
    case Field::Kind::DATE: return f.date.DTOC();
    case Field::Kind::LOGICAL: return f.flag ? "S" : "N";
    case Field::Kind::TEXT: break;
  }
  return std::string(base::RTRIM(f.text));
}

}  // namespace

std::string Ui::MENS(const Mens& m) {
  const int kind = m.kind(), style = m.mode / 10;
  if (kind == 0) {
    message_line(m.text);
    return "";
  }
  std::string text = m.text;
  const int lines = std::max(m.lines, 1);
  int width = int(text.size()) + (kind == 4 ? input_width(m) : 0) + 1;
  if (lines > 1) {
    width = width / lines + 1;
    text = base::PADR(text, size_t(lines * width));
  }
  int row = m.row;
  // A place that would put the box off the screen is moved inside it.
  int col = std::clamp(parse_column(m.column, width), 1, std::max(1, 78 - width));
  const int number = m.window;
  const term::CursorShape cursor = screen().cursor_shape();
  screen().set_cursor_shape(term::CursorShape::HIDDEN);
  auto segment = [&](int i) { return base::PADR(base::SUBSTR(text, size_t(i * width + 1), size_t(width)), size_t(width)); };

  if (kind == 3) {
    windows_.REDEFJAN(number, colours_.COR_TEL1, colours_.COR_TEL2, colours_.COR_TEL2, row, col, row + lines + 1,
                      col + width + 2, style);
    windows_.ABREJAN(number);
    Window* w = windows_.find(number);
    int top = style == 2 ? row + 1 : row, left = style == 2 ? col + 1 : col;
    unsigned char c1 = static_cast<unsigned char>(ACHACOR(w->colour1));
    // Inside the frame: a blank column, then the text in rows of the box's width.
    w->text.clear();
    for (int i = 0; i < lines; ++i) {
      std::string r = " " + segment(i);
      screen().write(top + i, left, r, c1);
      w->text += r;
    }
    screen().set_cursor_shape(cursor);
    return "";
  }

  // Modes 1, 2 and 4: a captioned dialog around window `number`.
  windows_.REDEFJAN(number, colours_.COR_MENS, colours_.COR_TEL2, colours_.COR_TEL3, row, col, row + lines + 1,
                    col + width + (lines == 1 ? 1 : 0), style);
  windows_.ABREJAN(number);
  const unsigned char colour = static_cast<unsigned char>(colours_.COR_MENS);
  Dialog dialog(*this, {row - 1, col - 1, row + lines, col + width}, m.caption.empty() ? caption : m.caption);
  for (int i = 0; i < lines; ++i) screen().write(row + i, col, segment(i), colour);
  if (Window* w = windows_.find(number)) w->text = text;
  auto close = [&] {  // in the reverse order of opening
    dialog.close();
    windows_.FECHAJAN(number);
    screen().set_cursor_shape(cursor);
  };

  std::string answer;
  terminal_.flush_input();
  if (kind == 1) {
    BEEP_ERRO(1);
    for (;;) {
      term::Event e = terminal_.wait();
      if (e.type == term::Event::Type::KEY) break;
      if (e.type == term::Event::Type::MOUSE && e.mouse == term::Event::Mouse::CLICK) break;
    }
  } else if (kind == 2) {
    const std::string letters = base::UPPER(m.letters);
    for (;;) {
      int k = terminal_.read_key();
      if (!key::is_char(k)) continue;
      char u = base::UPPER(std::string(1, static_cast<char>(k)))[0];
      if (letters.find(u) != std::string::npos) {
        answer = std::string(1, u);
        break;
      }
    }
  } else if (kind == 4) {
    int prompt_last = int(m.text.size()) - (lines - 1) * width;
    std::vector<Field> fields{input_field(m, row + lines - 1, col + std::max(prompt_last, 0) + 1)};
    if (m.check) fields[0].valid = [&](Field& f) { return m.check(value_text(f)); };
    Reader::Options o;
    o.confirm = true;
    o.is_exit_key = [](int) { return false; };
    Reader reader(*this, fields, o);
    if (reader.run() == key::ESC) {
      Field& f = fields[0];
      f.text = std::string(size_t(f.width), ' ');
      f.number = base::Decimal();
      f.date = clock_.today();
      f.flag = false;
    }
    answer = value_text(fields[0]);
  }
  close();
  return answer;
}

}  // namespace kardo::ui
