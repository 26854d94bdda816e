// Keys and the events a backend delivers.
//
// A key is one int: a printable code page 850 byte (32 … 255) stands for itself; named keys
// are codes from 0x100 up; Shift, Ctrl and Alt are bits added to either. Alt and Ctrl with a
// letter carry the upper-case letter (Alt+a and Alt+A are both `alt('A')`); Ctrl+letter is
// what the terminal sends as bytes 1 … 26, except Tab (Ctrl+I), Enter (Ctrl+M) and
// Backspace (Ctrl+H), which are the named keys.
//
// Where a terminal cannot tell keys apart, these alternatives deliver the same key:
//   Ctrl+Enter     Ctrl+J (a line feed) in any terminal. Terminals that report modified keys
//                  deliver Ctrl+Enter itself (xterm's ESC[27;5;13~ once the program asks for
//                  it, the ESC[13;5u of newer terminals; under tmux with `extended-keys on`).
//   Alt+key        the Esc prefix most terminals send for Alt (Esc and the key together);
//                  Esc followed by a key within 30 ms reads as Alt+key.
//   Shift+Tab      the back-tab sequence ESC[Z
//   Ctrl+Home/End/PgUp/PgDn, Shift/Ctrl/Alt+arrows, Shift/Ctrl/Alt+F1 … F12
//                  the xterm modifier forms (ESC[1;5H, ESC[5;5~, ESC[1;2P, …), and the
//                  terminal's own key codes for them where its description lists them.
//   Backspace      Ctrl+H or DEL, whichever the terminal sends.
// Ctrl+C, Ctrl+S, Ctrl+Q and Ctrl+Z are keys (the terminal is read raw), never signals.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kardo::term {

namespace key {
inline constexpr int SHIFT = 0x10000;
inline constexpr int CTRL = 0x20000;
inline constexpr int ALT = 0x40000;
inline constexpr int MODS = SHIFT | CTRL | ALT;

enum : int {
  ENTER = 0x100, ESC, BACKSPACE, TAB, UP, DOWN, LEFT, RIGHT, HOME, END, PGUP, PGDN, INS, DEL,
  F1 = 0x120, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12,
};

inline constexpr int ctrl(int k) { return CTRL | ((k >= 'a' && k <= 'z') ? k - 32 : k); }
inline constexpr int alt(int k) { return ALT | ((k >= 'a' && k <= 'z') ? k - 32 : k); }
inline constexpr int shift(int k) { return SHIFT | k; }
inline constexpr int F(int n) { return F1 + n - 1; }
inline constexpr int SHIFT_TAB = SHIFT | TAB;
inline constexpr int CTRL_ENTER = CTRL | ENTER;

inline constexpr int base(int k) { return k & ~MODS; }
inline constexpr bool is_char(int k) { return k >= 32 && k <= 255; }  // printable, no modifier
}  // namespace key

// "Enter", "Ctrl+Enter", "Alt+A", "F12", "Shift+Tab", "a", "+", "Space".
std::string key_name(int k);
// The key of a name as key_name writes it (case of the named keys ignored); a single
// character stands for itself (UTF-8, turned into code page 850).
std::optional<int> key_from_name(std::string_view name);
// A blank-separated list of key names: "5 + 3 = Ctrl+Enter". Throws std::invalid_argument
// on a name it does not know, so a test script with a typo fails loudly.
std::vector<int> keys_from_names(std::string_view names);

struct Event {
  enum class Type { KEY, MOUSE, RESIZE, PASTE, TICK };
  enum class Mouse { CLICK, DOUBLE_CLICK, RIGHT_CLICK, WHEEL_UP, WHEEL_DOWN };
  Type type = Type::TICK;
  int key = 0;                 // KEY
  Mouse mouse = Mouse::CLICK;  // MOUSE
  int row = 0, col = 0;        // MOUSE: the cell; RESIZE: the terminal's new size
  std::string text;            // PASTE, code page 850

  static Event of_key(int k) { Event e; e.type = Type::KEY; e.key = k; return e; }
  static Event of_mouse(Mouse m, int row, int col) {
    Event e; e.type = Type::MOUSE; e.mouse = m; e.row = row; e.col = col; return e;
  }
  static Event of_paste(std::string cp850) { Event e; e.type = Type::PASTE; e.text = std::move(cp850); return e; }
  static Event tick() { return Event{}; }
  bool is_key(int k) const { return type == Type::KEY && key == k; }
};

}  // namespace kardo::term
