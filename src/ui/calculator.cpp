#include "ui/calculator.h"

#include <vector>

#include "base/codepage.h"
#include "base/mask.h"
#include "base/xtext.h"
#include "term/keys.h"
#include "ui/ui.h"

namespace kardo::ui {

namespace key = term::key;
using base::Decimal;
using namespace base::literals;

namespace {
// The display holds 11 whole digits.
const Decimal kDisplayLimit = Decimal(100'000'000'000LL);
constexpr int kMaxWhole = 10, kMaxDecimals = 4;
}  // namespace

Decimal Calculator::entry() const {
  std::string t = (negative_ ? "-" : "") + (int_digits_.empty() ? std::string("0") : int_digits_);
  if (!frac_digits_.empty()) t += "." + frac_digits_;
  return Decimal::parse(t).value_or(Decimal());
}

Decimal Calculator::shown() const { return showing_result_ ? acc_ : entry(); }

std::string Calculator::mask() const { return decimals_ ? "@Ez 99,999,999,999.9999" : "@Ez 99,999,999,999"; }

std::string Calculator::display_number() const {
  base::Mask m = base::Mask::parse(mask());
  if (error_ && showing_result_) return m.format(kDisplayLimit * Decimal(10));  // all asterisks
  return m.format(shown());
}

char Calculator::pending_operator() const {
  if (pending_ == '/') return "÷"_cp[0];
  return pending_ ? pending_ : ' ';
}

void Calculator::clear_entry() {
  int_digits_.clear();
  frac_digits_.clear();
  point_ = negative_ = false;
}

bool Calculator::apply(Decimal a, char op, Decimal b, Decimal& out) {
  switch (op) {
    case '+': out = a + b; break;
    case '-': out = a - b; break;
    case '*': out = a * b; break;
    case '/':
      if (b.is_zero()) return false;
      out = a / b;
      decimals_ = true;
      break;
    default: out = b;
  }
  out = out.rounded(kMaxDecimals);
  return out.abs() < kDisplayLimit;
}

// Puts `v` into the entry, as if typed.
static void load(Decimal v, std::string& int_digits, std::string& frac_digits, bool& point, bool& negative) {
  std::string t = v.abs().text(4);
  size_t dot = t.find('.');
  int_digits = t.substr(0, dot);
  if (int_digits == "0") int_digits.clear();
  frac_digits = t.substr(dot + 1);
  while (!frac_digits.empty() && frac_digits.back() == '0') frac_digits.pop_back();
  point = !frac_digits.empty();
  negative = v.is_negative();
}

// Applies the pending operation to the running result and the number typed. An error (a
// division by zero, a result too large) leaves the error result showing: false.
bool Calculator::apply_pending() {
  Decimal r;
  typed_value_ = entry();
  if (!apply(acc_, pending_, entry(), r)) {
    error_ = true;
    pending_ = 0;
    clear_entry();
    typed_ = false;
    showing_result_ = true;
    return false;
  }
  acc_ = r;
  return true;
}

Calculator::Outcome Calculator::operate(char op) {
  if (error_) {
    if (!typed_) return Outcome::REFUSED;
    error_ = false;
    acc_ = entry();
    typed_value_ = acc_;
  } else if (pending_ && typed_) {
    if (!apply_pending()) return Outcome::REFUSED;
  } else if (!pending_) {
    if (typed_ || !showing_result_) acc_ = entry();
    if (typed_) typed_value_ = entry();
  }
  pending_ = op;
  clear_entry();
  typed_ = false;
  showing_result_ = true;
  return Outcome::OK;
}

Calculator::Outcome Calculator::equals() {
  if (error_) {
    if (!typed_) return Outcome::REFUSED;
    error_ = false;
    acc_ = entry();
  } else if (pending_ && typed_) {
    if (!apply_pending()) return Outcome::REFUSED;
  } else if (typed_ || !showing_result_) {
    acc_ = entry();
    typed_value_ = acc_;
  }
  pending_ = 0;
  completed_ = true;
  last_completed_ = acc_;
  clear_entry();
  typed_ = false;
  showing_result_ = true;
  return Outcome::OK;
}

Calculator::Outcome Calculator::press(int k) {
  const int u = (k >= 'a' && k <= 'z') ? k - 32 : k;
  if (memory_prefix_) {
    memory_prefix_ = false;
    switch (u) {
      case '+': case '-':
        if (error_ && showing_result_) return Outcome::REFUSED;
        memory_ = u == '+' ? memory_ + shown() : memory_ - shown();
        return Outcome::OK;
      case 'R':
        load(memory_, int_digits_, frac_digits_, point_, negative_);
        if (point_) decimals_ = true;
        typed_ = true;
        showing_result_ = false;
        return Outcome::OK;
      case 'C':
        memory_ = Decimal();
        return Outcome::OK;
      default:
        return Outcome::REFUSED;
    }
  }
  // A new number starts when a result is shown.
  auto start_typing = [&] {
    if (showing_result_ && !typed_) clear_entry();
    showing_result_ = false;
  };
  if (u >= '0' && u <= '9') {
    if (showing_result_ && !typed_) clear_entry();
    if (point_) {
      if (int(frac_digits_.size()) >= kMaxDecimals) return Outcome::REFUSED;
      frac_digits_ += char(u);
    } else {
      if (int(int_digits_.size()) >= kMaxWhole) return Outcome::REFUSED;
      if (!(int_digits_.empty() && u == '0')) int_digits_ += char(u);
    }
    showing_result_ = false;
    typed_ = true;
    return Outcome::OK;
  }
  switch (u) {
    case '.': case ',':
      if (point_ && (typed_ || !showing_result_)) return Outcome::REFUSED;
      start_typing();
      point_ = decimals_ = typed_ = true;
      return Outcome::OK;
    case 'I':
      if (showing_result_ && !typed_) {
        if (error_) return Outcome::REFUSED;
        load(acc_, int_digits_, frac_digits_, point_, negative_);
      }
      showing_result_ = false;
      negative_ = !negative_;
      typed_ = true;
      return Outcome::OK;
    case key::BACKSPACE:
      clear_entry();
      showing_result_ = false;
      typed_ = true;
      return Outcome::OK;
    case 'C':
      clear_entry();
      pending_ = 0;
      acc_ = Decimal();
      error_ = completed_ = typed_ = showing_result_ = decimals_ = false;
      typed_value_ = Decimal();
      return Outcome::OK;
    case '+': case '-': case '*': case '/':
      return operate(char(u));
    case '=': case key::ENTER:
      return equals();
    case 'M':
      memory_prefix_ = true;
      return Outcome::OK;
    case key::ESC: case 'X':
      return Outcome::LEAVE;
    case key::CTRL_ENTER: {
      if (error_) return Outcome::LEAVE;
      if (pending_ && typed_ && (equals() != Outcome::OK || error_)) return Outcome::LEAVE;
      handed_ = completed_ ? last_completed_ : (typed_ ? entry() : typed_value_);
      return Outcome::HAND_OVER;
    }
    case key::UP: return Outcome::MOVE_UP;
    case key::DOWN: return Outcome::MOVE_DOWN;
    case key::LEFT: return Outcome::MOVE_LEFT;
    case key::RIGHT: return Outcome::MOVE_RIGHT;
    default: return Outcome::REFUSED;
  }
}

// ---------------------------------------------------------------------------------------
// The calculator's window: 14 rows × 26 columns, its frame drawn by its own text.

namespace {

// The key rows and, for each of their five columns, the keys a click there presses.
struct KeyCell { std::vector<int> keys; };
const std::vector<std::vector<KeyCell>>& key_grid() {
  static const std::vector<std::vector<KeyCell>> grid = {
      {{{'M', 'R'}}, {{'M', 'C'}}, {{'M', '-'}}, {{'M', '+'}}, {{key::CTRL_ENTER}}},
      {{{'7'}}, {{'8'}}, {{'9'}}, {{'*'}}, {{key::ESC}}},
      {{{'4'}}, {{'5'}}, {{'6'}}, {{'+'}}, {{key::BACKSPACE}}},
      {{{'1'}}, {{'2'}}, {{'3'}}, {{'-'}}, {{'C'}}},
      {{{'0'}}, {{'.'}}, {{'='}}, {{'/'}}, {{'I'}}},
  };
  return grid;
}

std::string layout() {
  const std::string f(1, CODE_COLOUR2), t(1, CODE_COLOUR1);
  auto framed = [&](std::string_view inside) { return f + std::string("│"_cp) + t + std::string(inside) + f + std::string("│"_cp); };
  std::string line(24, ' ');
  std::string out = f + std::string("┌"_cp) + REP(24) + std::string("─"_cp) + std::string("┐"_cp);
  out += framed(line);
  out += f + std::string("├"_cp) + REP(24) + std::string("─"_cp) + std::string("┤"_cp);
  const char* rows[] = {" Mr  Mc  M-  M+  ^Enter ", " 7   8   9   *   ESC    ", " 4   5   6   +   <-     ",
                        " 1   2   3   -   (C)lear", " 0   .   =   /   I +/-  "};
  for (const char* r : rows) out += framed(r) + framed(line);
  return out + f + std::string("└"_cp) + REP(24) + std::string("─"_cp) + std::string("┘"_cp);
}

}  // namespace

CalcResult Ui::CALCULADORA(int number, int row, int col) {
  row = std::clamp(row, 0, 11);
  col = std::clamp(col, 0, 48);
  windows_.REDEFJAN(number, colours_.COR_TEL1, colours_.COR_TEL2, colours_.COR_TEL3, row, col, row + 13, col + 25, 0);
  windows_.ABREJAN(number);
  windows_.ESCRJAN(number, layout());
  const term::CursorShape cursor = screen().cursor_shape();
  screen().set_cursor_shape(term::CursorShape::HIDDEN);
  Calculator calc;
  const unsigned char text_colour = static_cast<unsigned char>(colours_.COR_TEL1);
  auto draw = [&] {
    const Window* w = windows_.find(number);
    int r = w->top + 1;
    screen().write(r, w->left + 1, std::string(24, ' '), text_colour);
    if (calc.memory_set()) screen().put(r, w->left + 1, 'M', text_colour);
    screen().write(r, w->left + 4, calc.display_number(), text_colour);
    screen().put(r, w->left + 24, static_cast<unsigned char>(calc.pending_operator()), text_colour);
  };
  auto finish = [&](bool handed) {
    windows_.FECHAJAN(number);
    screen().set_cursor_shape(cursor == term::CursorShape::HIDDEN ? term::CursorShape::NORMAL : cursor);
    CalcResult r;
    if (handed) r = {true, calc.result(), calc.mask()};
    return r;
  };
  for (;;) {
    draw();
    term::Event e = terminal_.wait();
    std::vector<int> keys;
    if (e.type == term::Event::Type::KEY) {
      keys = {e.key};
    } else if (e.type == term::Event::Type::MOUSE && e.mouse == term::Event::Mouse::CLICK) {
      const Window* w = windows_.find(number);
      int wr = e.row - w->top + 1, inner = e.col - w->left - 1;  // window row (1-based), inside column
      if (wr >= 4 && wr <= 12 && wr % 2 == 0 && inner >= 1 && inner <= 23) {
        int column = std::min((inner - 1) / 4, 4);
        keys = key_grid()[size_t((wr - 4) / 2)][size_t(column)].keys;
      }
    }
    for (int k : keys) {
      switch (calc.press(k)) {
        case Calculator::Outcome::OK: break;
        case Calculator::Outcome::REFUSED: refuse(); break;
        case Calculator::Outcome::LEAVE: return finish(false);
        case Calculator::Outcome::HAND_OVER: return finish(true);
        case Calculator::Outcome::MOVE_UP:
        case Calculator::Outcome::MOVE_DOWN:
        case Calculator::Outcome::MOVE_LEFT:
        case Calculator::Outcome::MOVE_RIGHT: {
          // One cell, within the screen; the new place is where it opens next time.
          const Window* w = windows_.find(number);
          bool up = k == key::UP, down = k == key::DOWN, left = k == key::LEFT;
          if ((up && w->top > 0) || (down && w->bottom < 24)) windows_.MOVEVER(number, up ? 129 : 1);
          else if ((left && w->left > 0) || (k == key::RIGHT && w->right < 79)) windows_.MOVEHOR(number, left ? 129 : 1);
          windows_.ESCRJAN(number, layout());  // the frame back in its colour
          LCAL = w->top;
          CCAL = w->left;
          break;
        }
      }
    }
  }
}

}  // namespace kardo::ui
