#include "term/ncurses_backend.h"

#ifndef NCURSES_WIDECHAR
#define NCURSES_WIDECHAR 1
#endif
#include <curses.h>
#include <langinfo.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <stdexcept>
#include <string>

#include "base/codepage.h"
#include "term/clipboard.h"
#include "term/keyseq.h"

namespace kardo::term {

namespace {

using Clock = std::chrono::steady_clock;

// PC colour order (blue = 1, red = 4) to the terminal's ANSI order (red = 1, blue = 4).
constexpr short kAnsi[8] = {COLOR_BLACK, COLOR_BLUE, COLOR_GREEN, COLOR_CYAN,
                            COLOR_RED,   COLOR_MAGENTA, COLOR_YELLOW, COLOR_WHITE};

// Terminals whose mouse reports follow xterm's protocol (SGR encoding).
bool xterm_mouse_terminal() {
  const char* t = std::getenv("TERM");
  if (!t) return false;
  for (const char* p : {"xterm", "screen", "tmux", "rxvt", "alacritty", "kitty", "foot", "vte", "gnome", "konsole", "st-", "wezterm"})
    if (std::strncmp(t, p, std::strlen(p)) == 0) return true;
  return false;
}

void append_utf8(std::string& out, char32_t u) {
  if (u < 0x80) out += char(u);
  else if (u < 0x800) { out += char(0xC0 | (u >> 6)); out += char(0x80 | (u & 0x3F)); }
  else if (u < 0x10000) {
    out += char(0xE0 | (u >> 12)); out += char(0x80 | ((u >> 6) & 0x3F)); out += char(0x80 | (u & 0x3F));
  } else {
    out += char(0xF0 | (u >> 18)); out += char(0x80 | ((u >> 12) & 0x3F));
    out += char(0x80 | ((u >> 6) & 0x3F)); out += char(0x80 | (u & 0x3F));
  }
}

class NcursesBackend final : public Backend {
 public:
  NcursesBackend() : clipboard_([this](std::string_view s) { write_raw(s); }) {
    if (!isatty(0) || !isatty(1)) throw std::runtime_error("the program needs a terminal");
    std::setlocale(LC_ALL, "");
    if (std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0) std::setlocale(LC_CTYPE, "C.UTF-8");
    set_escdelay(25);
    if (!initscr()) throw std::runtime_error("the terminal could not be opened");
    raw();
    noecho();
    nonl();
    keypad(stdscr, TRUE);
    intrflush(stdscr, FALSE);
    leaveok(stdscr, FALSE);
    if (has_colors()) {
      start_color();
      colours16_ = COLORS >= 16;
    }
    std::fill(std::begin(pair_of_), std::end(pair_of_), short(-1));
    mouse_ = xterm_mouse_terminal();
    // Mouse clicks and wheel (SGR encoding), bracketed paste, and xterm's report of keys
    // such as Ctrl+Enter that have no byte of their own.
    write_raw(std::string(mouse_ ? "\033[?1000h\033[?1006h" : "") + "\033[?2004h\033[>4;1m");
  }

  ~NcursesBackend() override {
    write_raw(std::string(mouse_ ? "\033[?1006l\033[?1000l" : "") + "\033[?2004l\033[>4m");
    endwin();
  }

  void present(const Screen& s) override {
    int rows, cols;
    getmaxyx(stdscr, rows, cols);
    if (rows < Screen::ROWS || cols < Screen::COLS) {
      show_too_small(rows, cols);
      return;
    }
    bool full = !valid_ || rows != rows_ || cols != cols_;
    if (full) {
      erase();
      rows_ = rows;
      cols_ = cols;
    }
    // The status line goes under the grid when there is a row for it, else over its last row.
    int status_row = rows > Screen::ROWS ? Screen::ROWS : Screen::ROWS - 1;
    bool overlay = status_row == Screen::ROWS - 1 && !s.status().empty();
    for (int r = 0; r < Screen::ROWS; ++r) {
      if (overlay && r == status_row) continue;
      bool row_was_status = shown_overlay_ && r == status_row;
      for (int c = 0; c < Screen::COLS; ++c) {
        Cell cell = s.at(r, c);
        if (!full && !row_was_status && cell == last_.at(r, c)) continue;
        draw(r, c, cell);
      }
    }
    if (overlay || status_row == Screen::ROWS) {
      if (full || s.status() != last_.status() || s.status_colour() != last_.status_colour() || (overlay && !shown_overlay_)) {
        std::string line = s.status().substr(0, Screen::COLS);
        line.resize(Screen::COLS, ' ');
        for (int c = 0; c < Screen::COLS; ++c) draw(status_row, c, {static_cast<unsigned char>(line[c]), s.status_colour()});
      }
    }
    shown_overlay_ = overlay;
    last_ = s;
    valid_ = true;
    bool visible = s.cursor_shape() != CursorShape::HIDDEN && Screen::inside(s.cursor_row(), s.cursor_col());
    curs_set(visible ? (s.cursor_shape() == CursorShape::BLOCK ? 2 : 1) : 0);
    if (visible) move(s.cursor_row(), s.cursor_col());
    refresh();
  }

  std::optional<Event> wait(int timeout_ms) override {
    auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms < 0 ? 0 : timeout_ms);
    for (;;) {
      if (!pending_.empty()) {
        Event e = pending_.front();
        pending_.pop_front();
        return e;
      }
      int left = -1;
      if (timeout_ms >= 0) {
        left = int(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
        if (left < 0) left = 0;
      }
      timeout(left);
      wint_t ch;
      int r = get_wch(&ch);
      if (r == ERR) {
        // A blocking read gives up only at the end of input; many in a row mean the same.
        if (hung_up() || (timeout_ms < 0 && ++failed_reads_ > 1000)) throw TerminalLost("the terminal is gone");
        if (timeout_ms < 0) continue;  // a signal; keep waiting
        return std::nullopt;
      }
      failed_reads_ = 0;
      read_one(r, ch);
      if (pending_.empty() && timeout_ms >= 0 && Clock::now() >= deadline) return std::nullopt;
    }
  }

  void flush_input() override { flushinp(); pending_.clear(); }

  void tone(int, int) override {
    // The terminal has one sound; a burst of tones rings it once.
    auto now = Clock::now();
    if (now - last_bell_ > std::chrono::milliseconds(200)) {
      beep();
      last_bell_ = now;
    }
  }

  void set_clipboard(std::string_view cp850) override { clipboard_.set(cp850); }
  std::string clipboard() override { return clipboard_.get(); }

 private:
  // Whether standard input has reached its end: the terminal was closed under the program.
  static bool hung_up() {
    pollfd p{0, POLLIN, 0};
    if (poll(&p, 1, 0) < 0) return false;
    return (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
  }

  void write_raw(std::string_view bytes) {
    if (bytes.empty()) return;
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
  }

  void show_too_small(int rows, int cols) {
    erase();
    std::string lines[] = {
        "A janela do terminal é pequena demais.",
        "Aumente-a para 80 colunas e 25 linhas.",
        "(agora: " + std::to_string(cols) + " colunas e " + std::to_string(rows) + " linhas)",
    };
    int top = rows / 2 - 1;
    for (int i = 0; i < 3; ++i) {
      std::string& l = lines[i];
      int width = 0;
      for (unsigned char c : l) width += (c & 0xC0) != 0x80;
      mvaddstr(top + i < 0 ? 0 : top + i, width < cols ? (cols - width) / 2 : 0, l.c_str());
    }
    curs_set(0);
    refresh();
    valid_ = false;
  }

  short pair_for(int colour) {
    if (pair_of_[colour] >= 0) return pair_of_[colour];
    if (next_pair_ >= COLOR_PAIRS) return 0;  // more colours than the terminal has pairs
    int fg = colour & 15, bg = colour >> 4;
    short f = kAnsi[fg & 7], b = kAnsi[bg & 7];
    if (colours16_) {
      if (fg & 8) f += 8;
      if (bg & 8) b += 8;
    }
    init_pair(short(next_pair_), f, b);
    pair_of_[colour] = short(next_pair_++);
    return pair_of_[colour];
  }

  void draw(int row, int col, Cell cell) {
    char32_t u = base::cp850_unicode(cell.ch);
    if (u < 32 || u == 127) u = ' ';
    wchar_t w[2] = {wchar_t(u), 0};
    attr_t attr = A_NORMAL;
    short pair = 0;
    if (has_colors()) {
      pair = pair_for(cell.colour);
      if (!colours16_ && (cell.colour & 8)) attr |= A_BOLD;
    } else if ((cell.colour >> 4) & 7) {
      attr |= A_REVERSE;  // a light background on a terminal without colours
    }
    cchar_t cc;
    setcchar(&cc, w, attr, pair, nullptr);
    mvadd_wch(row, col, &cc);
  }

  std::optional<int> key_of_code(int code) {
    switch (code) {
      case KEY_UP: return key::UP;
      case KEY_DOWN: return key::DOWN;
      case KEY_LEFT: return key::LEFT;
      case KEY_RIGHT: return key::RIGHT;
      case KEY_HOME: case KEY_A1: return key::HOME;
      case KEY_END: case KEY_C1: return key::END;
      case KEY_PPAGE: case KEY_A3: return key::PGUP;
      case KEY_NPAGE: case KEY_C3: return key::PGDN;
      case KEY_IC: return key::INS;
      case KEY_DC: return key::DEL;
      case KEY_BACKSPACE: return key::BACKSPACE;
      case KEY_ENTER: return key::ENTER;
      case KEY_BTAB: return key::SHIFT_TAB;
      case KEY_SLEFT: return key::SHIFT | key::LEFT;
      case KEY_SRIGHT: return key::SHIFT | key::RIGHT;
      case KEY_SR: return key::SHIFT | key::UP;
      case KEY_SF: return key::SHIFT | key::DOWN;
      case KEY_SHOME: return key::SHIFT | key::HOME;
      case KEY_SEND: return key::SHIFT | key::END;
      case KEY_SPREVIOUS: return key::SHIFT | key::PGUP;
      case KEY_SNEXT: return key::SHIFT | key::PGDN;
      case KEY_SDC: return key::SHIFT | key::DEL;
      case KEY_SIC: return key::SHIFT | key::INS;
      default: break;
    }
    if (code >= KEY_F(1) && code <= KEY_F(63)) {
      // xterm numbers the modified function keys in blocks of twelve.
      int n = code - KEY_F(1);
      static constexpr int kBlock[] = {0, key::SHIFT, key::CTRL, key::CTRL | key::SHIFT, key::ALT, key::ALT | key::SHIFT};
      return kBlock[n / 12] | key::F(n % 12 + 1);
    }
    // Extended capabilities of xterm-like terminals: "kUP5" is Ctrl+Up, "kDC3" Alt+Del, …
    if (const char* name = keyname(code); name && name[0] == 'k') {
      std::string n = name + 1;
      if (n.empty() || n.back() < '2' || n.back() > '8') return std::nullopt;
      int m = n.back() - '1';
      n.pop_back();
      int mods = (m & 1 ? key::SHIFT : 0) | (m & 2 ? key::ALT : 0) | (m & 4 ? key::CTRL : 0);
      static const struct { const char* cap; int key; } kCaps[] = {
          {"UP", key::UP}, {"DN", key::DOWN}, {"LFT", key::LEFT}, {"RIT", key::RIGHT}, {"HOM", key::HOME},
          {"END", key::END}, {"PRV", key::PGUP}, {"NXT", key::PGDN}, {"IC", key::INS}, {"DC", key::DEL}};
      for (const auto& c : kCaps)
        if (n == c.cap) return mods | c.key;
    }
    return std::nullopt;
  }

  void push_key(int k) { pending_.push_back(Event::of_key(k)); }

  std::optional<int> char_key(wint_t ch) {
    if (auto k = detail::key_of_byte(int(ch)); k && ch < 32) return k;
    if (ch == 127) return key::BACKSPACE;
    if (ch < 32) return std::nullopt;
    std::string utf8;
    append_utf8(utf8, char32_t(ch));
    std::string cp = base::utf8_to_cp850(utf8, '\0');
    if (cp.size() != 1 || cp[0] == '\0') return std::nullopt;
    return static_cast<unsigned char>(cp[0]);
  }

  void read_one(int r, wint_t ch) {
    if (r == KEY_CODE_YES) {
      if (ch == KEY_RESIZE) {
        Event e;
        e.type = Event::Type::RESIZE;
        getmaxyx(stdscr, e.row, e.col);
        valid_ = false;
        pending_.push_back(e);
      } else if (auto k = key_of_code(int(ch))) {
        push_key(*k);
      }
      return;
    }
    if (ch != 27) {
      if (auto k = char_key(ch)) push_key(*k);
      return;
    }
    // Esc alone, an Alt+key (Esc prefix) or an escape sequence.
    timeout(30);
    wint_t c2;
    int r2 = get_wch(&c2);
    if (r2 == ERR) return push_key(key::ESC);
    if (r2 == KEY_CODE_YES) {
      if (auto k = key_of_code(int(c2))) push_key(key::ALT | *k);
      return;
    }
    if (c2 == 27) {
      push_key(key::ESC);
      unget_wch(27);
      return;
    }
    if (c2 == '[' || c2 == 'O') {
      std::string body;
      for (;;) {
        wint_t c3;
        int r3 = get_wch(&c3);
        if (r3 != OK || c3 > 0x7E) break;
        body += char(c3);
        if (c2 == 'O' || detail::is_final_byte(int(c3))) break;
      }
      if (body.empty()) return push_key(key::alt(int(c2)));
      handle_sequence(char(c2), body);
      return;
    }
    if (auto k = char_key(c2)) {
      int b = *k;
      if (key::is_char(b) && b >= 'a' && b <= 'z') b -= 32;
      push_key(key::ALT | b);
    }
  }

  void handle_sequence(char intro, const std::string& body) {
    detail::Decoded d = detail::decode_sequence(intro, body);
    switch (d.kind) {
      case detail::Decoded::Kind::KEY: pending_.push_back(d.event); break;
      case detail::Decoded::Kind::MOUSE: mouse(d.event); break;
      case detail::Decoded::Kind::PASTE_BEGIN: paste(); break;
      default: break;
    }
  }

  // A second left click on the same cell within 400 ms is also a double click.
  void mouse(Event e) {
    pending_.push_back(e);
    if (e.mouse != Event::Mouse::CLICK) return;
    auto now = Clock::now();
    if (now - last_click_ < std::chrono::milliseconds(400) && e.row == click_row_ && e.col == click_col_) {
      pending_.push_back(Event::of_mouse(Event::Mouse::DOUBLE_CLICK, e.row, e.col));
      last_click_ = {};
    } else {
      last_click_ = now;
      click_row_ = e.row;
      click_col_ = e.col;
    }
  }

  // The text up to ESC[201~, as one event.
  void paste() {
    std::string utf8;
    static const std::string kEnd = "\033[201~";
    timeout(200);
    for (;;) {
      wint_t c;
      int r = get_wch(&c);
      if (r == ERR) break;
      if (r == KEY_CODE_YES) continue;
      append_utf8(utf8, char32_t(c));
      if (utf8.size() >= kEnd.size() && utf8.compare(utf8.size() - kEnd.size(), kEnd.size(), kEnd) == 0) {
        utf8.resize(utf8.size() - kEnd.size());
        break;
      }
    }
    pending_.push_back(Event::of_paste(base::utf8_to_cp850(utf8)));
  }

  SystemClipboard clipboard_;
  Screen last_;
  bool valid_ = false;
  bool shown_overlay_ = false;
  int rows_ = 0, cols_ = 0;
  bool colours16_ = false;
  bool mouse_ = false;
  short pair_of_[256];
  int next_pair_ = 1;
  std::deque<Event> pending_;
  Clock::time_point last_bell_{};
  Clock::time_point last_click_{};
  int click_row_ = -1, click_col_ = -1;
  int failed_reads_ = 0;
};

}  // namespace

std::unique_ptr<Backend> make_ncurses_backend() { return std::make_unique<NcursesBackend>(); }

}  // namespace kardo::term
