#include "ui/field.h"

#include <algorithm>
#include <tuple>

#include "base/xtext.h"
#include "term/keys.h"
#include "ui/ui.h"

namespace kardo::ui {

namespace key = term::key;
using base::Decimal;

Field Field::Text(int row, int col, std::string value, int width, std::string_view mask) {
  Field f;
  f.kind = Kind::TEXT;
  f.row = row;
  f.col = col;
  f.width = width;
  f.text = base::PADR(value, size_t(std::max(width, 0)));
  f.mask_text = std::string(mask);
  f.mask = base::Mask::parse(mask);
  return f;
}

Field Field::Number(int row, int col, Decimal value, int width, int decimals, std::string_view mask) {
  Field f;
  f.kind = Kind::NUMBER;
  f.row = row;
  f.col = col;
  f.width = width;
  f.decimals = decimals;
  f.number = value;
  f.mask_text = std::string(mask);
  f.mask = base::Mask::parse(mask);
  return f;
}

Field Field::DateField(int row, int col, base::Date value, std::string_view mask) {
  Field f;
  f.kind = Kind::DATE;
  f.row = row;
  f.col = col;
  f.width = 10;
  f.date = value;
  f.mask_text = std::string(mask);
  f.mask = base::Mask::parse(mask);
  return f;
}

Field Field::Logical(int row, int col, bool value, std::string_view mask) {
  Field f;
  f.kind = Kind::LOGICAL;
  f.row = row;
  f.col = col;
  f.width = 1;
  f.flag = value;
  f.mask_text = std::string(mask);
  f.mask = base::Mask::parse(mask);
  return f;
}

std::string Field::display() const {
  switch (kind) {
    case Kind::TEXT: return mask.format(text);
    case Kind::NUMBER: return mask.format(number, width, decimals);
    case Kind::DATE: return mask.format(date);
    case Kind::LOGICAL: return mask.format_logical(flag);
  }
  return {};
}

int Field::shown_width() const {
  int w = int(display().size());
  if (kind == Kind::TEXT && mask.scroll_width() > 0) w = std::min(w, mask.scroll_width());
  return w;
}

// ---------------------------------------------------------------------------------------

Reader::Reader(Ui& ui, std::vector<Field>& fields, Options options)
    : ui_(ui), fields_(fields), options_(std::move(options)) {
  std::string set = options_.colours.empty() ? ui_.colours().CORNORM() : options_.colours;
  normal_colour_ = static_cast<unsigned char>(colour_of_set(set, 4));
  active_colour_ = static_cast<unsigned char>(colour_of_set(set, 1));
}

bool Reader::usual_exit_key(int k) {
  int b = key::base(k);
  if (b >= key::F1 && b <= key::F12) return true;
  if (b == key::PGUP || b == key::PGDN || b == key::TAB) return true;
  if (k == key::ctrl('W')) return true;
  return (k & key::ALT) && k != key::alt('V');
}

int Reader::next_index(int from, int step) const {
  for (int i = from + step; i >= 0 && i < int(fields_.size()); i += step)
    if (!fields_[size_t(i)].when || fields_[size_t(i)].when(fields_[size_t(i)])) return i;
  return -1;
}

Field& Reader::field() {
  commit();
  return fields_[size_t(current_)];
}

bool Reader::is_editable(int pos) const {
  const Field& f = fields_[size_t(current_)];
  if (pos < 0 || pos >= int(buffer_.size())) return false;
  return f.mask.editable(f.kind, size_t(pos));
}

int Reader::next_pos(int pos, int step) const {
  for (int p = pos + step; p >= 0 && p < int(buffer_.size()); p += step)
    if (is_editable(p)) return p;
  return -1;
}

int Reader::first_pos() const { return is_editable(0) ? 0 : std::max(next_pos(0, 1), 0); }

void Reader::number_from_value() {
  const Field& f = fields_[size_t(current_)];
  const std::string& pic = f.mask.picture();
  size_t dp = f.mask.decimal_point();
  max_int_ = 0;
  max_frac_ = 0;
  if (!pic.empty()) {
    for (size_t i = 0; i < pic.size(); ++i)
      if (pic[i] == '9' || pic[i] == '#') (dp != std::string::npos && i > dp ? max_frac_ : max_int_)++;
  } else {
    max_frac_ = f.decimals;
    max_int_ = f.width - (f.decimals > 0 ? f.decimals + 1 : 0);
  }
  max_int_ = std::min(max_int_, 16);
  std::string t = f.number.abs().text(max_frac_);
  size_t point = t.find('.');
  int_digits_ = t.substr(0, point);
  if (int_digits_ == "0") int_digits_.clear();
  frac_digits_ = point == std::string::npos ? "" : t.substr(point + 1);
  while (!frac_digits_.empty() && frac_digits_.back() == '0') frac_digits_.pop_back();
  point_ = !frac_digits_.empty();
  negative_ = f.number.is_negative();
}

Decimal Reader::number_value() const {
  std::string t = (negative_ ? "-" : "") + (int_digits_.empty() ? std::string("0") : int_digits_);
  if (!frac_digits_.empty()) t += "." + frac_digits_;
  return Decimal::parse(t).value_or(Decimal());
}

std::string Reader::number_text() const {
  const Field& f = fields_[size_t(current_)];
  return f.mask.format(number_value(), f.width, f.decimals);
}

void Reader::begin_field() {
  Field& f = fields_[size_t(current_)];
  before_ = f;
  reload();
}

void Reader::reload() {
  Field& f = fields_[size_t(current_)];
  first_key_ = true;
  filled_ = false;
  offset_ = 0;
  if (f.kind == Field::Kind::NUMBER) {
    number_from_value();
    buffer_.clear();
    pos_ = 0;
    return;
  }
  buffer_ = f.display();
  if (f.kind == Field::Kind::TEXT && f.mask.picture().empty()) buffer_ = base::PADR(buffer_, size_t(f.width));
  pos_ = first_pos();
}

bool Reader::commit() {
  Field& f = fields_[size_t(current_)];
  switch (f.kind) {
    case Field::Kind::TEXT:
      f.text = base::PADR(f.mask.unformat_text(buffer_), size_t(f.width));
      return true;
    case Field::Kind::NUMBER:
      f.number = number_value();
      return true;
    case Field::Kind::DATE: {
      auto d = f.mask.unformat_date(buffer_);
      if (!d) return false;
      f.date = *d;
      return true;
    }
    case Field::Kind::LOGICAL:
      f.flag = f.mask.unformat_logical(buffer_);
      return true;
  }
  return true;
}

bool Reader::leave_current() {
  if (!commit()) {
    ui_.refuse();
    return false;
  }
  Field& f = fields_[size_t(current_)];
  if (f.valid && !f.valid(f)) {
    reload();
    return false;
  }
  if (f.display() != before_.display()) updated_ = true;
  show(size_t(current_), false);
  return true;
}

void Reader::show(size_t index, bool active) {
  const Field& f = fields_[index];
  std::string text;
  int offset = 0;
  if (active && int(index) == current_) {
    text = f.kind == Field::Kind::NUMBER ? number_text() : buffer_;
    offset = offset_;
  } else {
    text = f.display();
  }
  int width = f.shown_width();
  text = base::PADR(text.substr(std::min(size_t(offset), text.size())), size_t(width));
  ui_.screen().write(f.row, f.col, text, active ? active_colour_ : normal_colour_);
}

void Reader::show_current() {
  const Field& f = fields_[size_t(current_)];
  int cursor = pos_;
  if (f.kind == Field::Kind::NUMBER) {
    std::string t = number_text();
    size_t dp = f.mask.decimal_point();
    if (f.mask.picture().empty()) dp = t.find_last_of(f.mask.comma_decimal() ? ',' : '.');
    if (dp == std::string::npos || dp >= t.size()) cursor = int(t.size()) - 1;
    else if (!point_) cursor = int(dp) - 1;
    else cursor = std::min(int(dp) + 1 + int(frac_digits_.size()), int(t.size()) - 1);
    cursor = std::max(cursor, 0);
  } else {
    int width = f.shown_width();
    if (pos_ < offset_) offset_ = pos_;
    if (pos_ >= offset_ + width) offset_ = pos_ - width + 1;
    cursor = pos_ - offset_;
  }
  show(size_t(current_), true);
  ui_.screen().set_cursor(f.row, f.col + cursor);
  ui_.screen().set_cursor_shape(insert_ ? term::CursorShape::BLOCK : term::CursorShape::NORMAL);
}

void Reader::type_text(std::string_view cp850) {
  size_t end = cp850.find_first_of("\r\n");
  for (char c : cp850.substr(0, end)) {
    if (static_cast<unsigned char>(c) < 32) continue;
    type_char(static_cast<unsigned char>(c));
    if (filled_) break;
  }
}

void Reader::type_char(unsigned char c) { edit_key(c); }

bool Reader::edit_key(int k) {
  Field& f = fields_[size_t(current_)];
  filled_ = false;

  if (f.kind == Field::Kind::NUMBER) {
    auto fits = [&] { return number_text().find('*') == std::string::npos; };
    auto clear = [&] { int_digits_.clear(); frac_digits_.clear(); point_ = false; negative_ = false; };
    auto saved = std::tuple(int_digits_, frac_digits_, point_, negative_);
    auto undo = [&] { std::tie(int_digits_, frac_digits_, point_, negative_) = saved; ui_.refuse(); };
    bool first = first_key_;
    first_key_ = false;
    if (k >= '0' && k <= '9') {
      if (first) clear();
      if (point_) {
        if (int(frac_digits_.size()) >= max_frac_) return undo(), true;
        frac_digits_ += char(k);
      } else {
        if (int(int_digits_.size()) >= max_int_) return undo(), true;
        if (!(int_digits_.empty() && k == '0')) int_digits_ += char(k);
      }
      if (!fits()) return undo(), true;
      filled_ = point_ ? int(frac_digits_.size()) == max_frac_
                       : max_frac_ == 0 && int(int_digits_.size()) == max_int_;
      return true;
    }
    if (k == '.' || k == ',') {
      if (first) clear();
      if (max_frac_ == 0) return undo(), true;
      point_ = true;
      return true;
    }
    if (k == '-' || k == '+') {
      if (first) clear();
      negative_ = k == '-' ? !negative_ : false;
      if (!fits()) return undo(), true;
      return true;
    }
    switch (k) {
      case key::BACKSPACE:
        if (point_ && !frac_digits_.empty()) frac_digits_.pop_back();
        else if (point_) point_ = false;
        else if (!int_digits_.empty()) int_digits_.pop_back();
        if (int_digits_.empty() && frac_digits_.empty() && !point_) negative_ = false;
        return true;
      case key::DEL:
      case key::ctrl('Y'):
        clear();
        return true;
      case key::INS: insert_ = !insert_; return true;
      case key::LEFT: case key::RIGHT: case key::HOME: case key::END: return true;
      default:
        if (key::is_char(k)) return undo(), true;
        first_key_ = first;
        return false;
    }
  }

  auto editable_positions = [&] {
    std::vector<int> p;
    for (int i = 0; i < int(buffer_.size()); ++i)
      if (is_editable(i)) p.push_back(i);
    return p;
  };
  // Deletes the character at `at`, pulling the following editable characters left.
  auto delete_at = [&](int at) {
    std::vector<int> p = editable_positions();
    auto it = std::find(p.begin(), p.end(), at);
    if (it == p.end()) return;
    for (; it + 1 != p.end(); ++it) buffer_[size_t(*it)] = buffer_[size_t(*(it + 1))];
    buffer_[size_t(p.back())] = ' ';
  };
  bool first = first_key_;
  first_key_ = false;

  if (key::is_char(k)) {
    if (first && f.mask.clear_on_first_key()) {
      for (int p : editable_positions()) buffer_[size_t(p)] = ' ';
      pos_ = first_pos();
    }
    if (!is_editable(pos_)) return ui_.refuse(), true;
    auto c = f.mask.accept(f.kind, size_t(pos_), static_cast<char>(k));
    if (!c) return ui_.refuse(), true;
    if (insert_ && f.kind == Field::Kind::TEXT) {
      std::vector<int> p = editable_positions();
      auto it = std::find(p.begin(), p.end(), pos_);
      for (auto j = p.end() - 1; j > it; --j) buffer_[size_t(*j)] = buffer_[size_t(*(j - 1))];
    }
    buffer_[size_t(pos_)] = *c;
    int next = next_pos(pos_, 1);
    if (next < 0) filled_ = true;
    else pos_ = next;
    return true;
  }
  switch (k) {
    case key::LEFT:
      if (int p = next_pos(pos_, -1); p >= 0) pos_ = p;
      return true;
    case key::RIGHT:
      if (int p = next_pos(pos_, 1); p >= 0) pos_ = p;
      return true;
    case key::HOME:
      pos_ = first_pos();
      return true;
    case key::END: {
      int last = -1;
      for (int p : editable_positions())
        if (buffer_[size_t(p)] != ' ') last = p;
      int after = last < 0 ? first_pos() : next_pos(last, 1);
      pos_ = after < 0 ? last : after;
      return true;
    }
    case key::CTRL | key::LEFT: {
      int p = pos_;
      while ((p = next_pos(p, -1)) >= 0 && buffer_[size_t(p)] == ' ') {}
      while (p > 0 && next_pos(p, -1) >= 0 && buffer_[size_t(next_pos(p, -1))] != ' ') p = next_pos(p, -1);
      if (p >= 0) pos_ = p;
      return true;
    }
    case key::CTRL | key::RIGHT: {
      int p = pos_;
      while (p >= 0 && buffer_[size_t(p)] != ' ') p = next_pos(p, 1);
      while (p >= 0 && buffer_[size_t(p)] == ' ') p = next_pos(p, 1);
      if (p >= 0) pos_ = p;
      return true;
    }
    case key::BACKSPACE:
      if (int p = next_pos(pos_, -1); p >= 0) {
        pos_ = p;
        delete_at(p);
      }
      return true;
    case key::DEL:
      delete_at(pos_);
      return true;
    case key::ctrl('Y'):
      for (int p : editable_positions())
        if (p >= pos_) buffer_[size_t(p)] = ' ';
      return true;
    case key::INS:
      insert_ = !insert_;
      return true;
    default:
      first_key_ = first;
      return false;
  }
}

void Reader::calculator_into_field() {
  commit();
  CalcResult r = ui_.CALCULADORA(9, ui_.LCAL, ui_.CCAL);
  if (!r.handed) return;
  Field& f = fields_[size_t(current_)];
  if (f.kind == Field::Kind::NUMBER) {
    f.number = r.RESULT.truncated(f.decimals);
  } else if (f.kind == Field::Kind::TEXT) {
    std::string shown(base::ALLTRIM(base::Mask::parse(r.PIC_USU).format(r.RESULT)));
    f.text = base::PADR(std::string(base::RTRIM(f.text)) + " " + shown, size_t(f.width));
  } else {
    return;
  }
  reload();
}

int Reader::run() {
  if (fields_.empty()) return key::ENTER;
  for (size_t i = 0; i < fields_.size(); ++i) show(i, false);
  current_ = next_index(std::clamp(options_.start, 0, int(fields_.size())) - 1, 1);
  if (current_ < 0) {
    current_ = 0;
    return key::ENTER;
  }
  begin_field();
  // Leaves the current field forward; -1 when the read goes on, else the key that ends it.
  auto advance = [&](int k) {
    if (!leave_current()) return -1;
    int n = next_index(current_, 1);
    if (n < 0) return k;
    current_ = n;
    begin_field();
    return -1;
  };
  for (;;) {
    show_current();
    term::Event e = ui_.terminal().wait();
    if (e.type == term::Event::Type::PASTE) {
      type_text(e.text);
      continue;
    }
    if (e.type == term::Event::Type::MOUSE &&
        (e.mouse == term::Event::Mouse::CLICK || e.mouse == term::Event::Mouse::DOUBLE_CLICK)) {
      for (size_t i = 0; i < fields_.size(); ++i) {
        const Field& f = fields_[i];
        if (e.row != f.row || e.col < f.col || e.col >= f.col + f.shown_width()) continue;
        if (f.when && !f.when(f)) break;
        if (int(i) != current_) {
          if (!leave_current()) break;
          current_ = int(i);
          begin_field();
        }
        if (f.kind != Field::Kind::NUMBER) {
          int p = offset_ + (e.col - f.col);
          if (!is_editable(p)) p = next_pos(p, 1);
          if (p >= 0) pos_ = p;
        }
        break;
      }
      continue;
    }
    if (e.type != term::Event::Type::KEY) continue;
    int k = e.key;
    if (options_.on_key && options_.on_key(k, *this)) continue;
    if (k == key::ESC) {
      fields_[size_t(current_)] = before_;
      show(size_t(current_), false);
      return k;
    }
    if (k == key::ctrl('C')) {
      commit();
      ui_.terminal().backend().set_clipboard(base::ALLTRIM(fields_[size_t(current_)].display()));
      continue;
    }
    if (k == key::alt('V')) {
      type_text(ui_.terminal().backend().clipboard());
      if (filled_ && !options_.confirm)
        if (int end = advance(k); end >= 0) return end;
      continue;
    }
    if (edit_key(k)) {
      if (filled_ && !options_.confirm)
        if (int end = advance(k); end >= 0) return end;
      continue;
    }
    if (k == key::ENTER || k == key::DOWN) {
      if (int end = advance(k); end >= 0) return end;
      continue;
    }
    if (k == key::UP) {
      if (!leave_current()) continue;
      int p = next_index(current_, -1);
      if (p >= 0) current_ = p;
      begin_field();
      continue;
    }
    bool exit = options_.is_exit_key ? options_.is_exit_key(k) : usual_exit_key(k);
    if (exit && leave_current()) return k;
  }
}

}  // namespace kardo::ui
