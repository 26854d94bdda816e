#include "term/keyseq.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace kardo::term::detail {

namespace {

std::vector<int> params(std::string_view s) {
  std::vector<int> out;
  int v = -1;
  for (char c : s) {
    if (c >= '0' && c <= '9') v = (v < 0 ? 0 : v * 10) + (c - '0');
    else if (c == ';' || c == ':') { out.push_back(v < 0 ? 1 : v); v = -1; }
  }
  out.push_back(v < 0 ? 1 : v);
  return out;
}

// xterm's modifier parameter: 1 + (1 Shift, 2 Alt, 4 Ctrl, 8 Meta).
int mods_of(int m) {
  m -= 1;
  if (m <= 0) return 0;
  int out = 0;
  if (m & 1) out |= key::SHIFT;
  if (m & (2 | 8)) out |= key::ALT;
  if (m & 4) out |= key::CTRL;
  return out;
}

Decoded key_event(int k) {
  Decoded d;
  d.kind = Decoded::Kind::KEY;
  d.event = Event::of_key(k);
  return d;
}

// A character code with modifiers, as modifyOtherKeys and CSI u report it.
Decoded char_with_mods(int code, int mods) {
  int k;
  switch (code) {
    case 13: k = key::ENTER; break;
    case 9: k = key::TAB; break;
    case 27: k = key::ESC; break;
    case 8: case 127: k = key::BACKSPACE; break;
    default:
      if (code < 32 || code > 126) return {};
      k = code;
      if ((mods & (key::CTRL | key::ALT)) && k >= 'a' && k <= 'z') k -= 32;
      // Shift is already in the character itself ("A", "+"); keep it only on named keys.
      mods &= ~key::SHIFT;
      if (mods == 0) return key_event(k);
  }
  return key_event(mods | k);
}

int tilde_key(int n) {
  switch (n) {
    case 1: case 7: return key::HOME;
    case 2: return key::INS;
    case 3: return key::DEL;
    case 4: case 8: return key::END;
    case 5: return key::PGUP;
    case 6: return key::PGDN;
    case 11: case 12: case 13: case 14: case 15: return key::F(n - 10);
    case 17: case 18: case 19: case 20: case 21: return key::F(n - 11);
    case 23: case 24: return key::F(n - 12);
    default: return 0;
  }
}

int letter_key(char c) {
  switch (c) {
    case 'A': return key::UP;
    case 'B': return key::DOWN;
    case 'C': return key::RIGHT;
    case 'D': return key::LEFT;
    case 'H': return key::HOME;
    case 'F': return key::END;
    case 'P': return key::F1;
    case 'Q': return key::F2;
    case 'R': return key::F3;
    case 'S': return key::F4;
    case 'M': return key::ENTER;  // keypad Enter in application mode
    default: return 0;
  }
}

}  // namespace

Decoded decode_sequence(char intro, std::string_view body) {
  if (body.empty()) return {};
  char final = body.back();
  std::string_view head = body.substr(0, body.size() - 1);

  if (intro == 'O') {
    int k = letter_key(final);
    return k ? key_event(k) : Decoded{};
  }

  // SGR mouse: "<b;x;yM" press or "<b;x;ym" release.
  if (!head.empty() && head[0] == '<' && (final == 'M' || final == 'm')) {
    std::vector<int> p = params(head.substr(1));
    if (p.size() != 3) return {};
    int b = p[0], col = p[1] - 1, row = p[2] - 1;
    Decoded d;
    if (b & 32) return d;  // motion
    if (final == 'm') { d.kind = Decoded::Kind::MOUSE_RELEASE; return d; }
    d.kind = Decoded::Kind::MOUSE;
    switch (b & ~(4 | 8 | 16)) {
      case 0: d.event = Event::of_mouse(Event::Mouse::CLICK, row, col); break;
      case 2: d.event = Event::of_mouse(Event::Mouse::RIGHT_CLICK, row, col); break;
      case 64: d.event = Event::of_mouse(Event::Mouse::WHEEL_UP, row, col); break;
      case 65: d.event = Event::of_mouse(Event::Mouse::WHEEL_DOWN, row, col); break;
      default: d.kind = Decoded::Kind::UNKNOWN;
    }
    return d;
  }
  if (!head.empty() && (head[0] < '0' || head[0] > '9') && head[0] != ';') return {};  // private forms

  std::vector<int> p = params(head);
  if (final == '~') {
    if (p[0] == 200) return {Decoded::Kind::PASTE_BEGIN, {}};
    if (p[0] == 201) return {Decoded::Kind::PASTE_END, {}};
    if (p[0] == 27 && p.size() >= 3) return char_with_mods(p[2], mods_of(p[1]));
    int k = tilde_key(p[0]);
    if (!k) return {};
    return key_event(k | (p.size() >= 2 ? mods_of(p[1]) : 0));
  }
  if (final == 'u') return char_with_mods(p[0], p.size() >= 2 ? mods_of(p[1]) : 0);
  if (final == 'Z') return key_event(key::SHIFT_TAB);
  if (int k = letter_key(final); k && final != 'M') return key_event(k | (p.size() >= 2 ? mods_of(p[1]) : 0));
  return {};
}

std::optional<int> key_of_byte(int byte) {
  switch (byte) {
    case 13: return key::ENTER;
    case 10: return key::CTRL_ENTER;  // Ctrl+J: what Ctrl+Enter is where the terminal cannot tell it
    case 9: return key::TAB;
    case 8: case 127: return key::BACKSPACE;
    case 0: return key::ctrl(' ');
    case 27: return std::nullopt;
    default: break;
  }
  if (byte >= 1 && byte <= 26) return key::ctrl('A' + byte - 1);
  if (byte >= 28 && byte <= 31) return key::ctrl("\\]^_"[byte - 28]);
  return std::nullopt;
}

}  // namespace kardo::term::detail
