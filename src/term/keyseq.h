// Decoding of the terminal's escape sequences that the terminal library does not know:
// xterm's modifier forms of the cursor and function keys, its "modifyOtherKeys" reports
// (which is how Ctrl+Enter reaches us), the "CSI u" reports of newer terminals, SGR mouse
// reports and the start of a bracketed paste. Private to term/; kept apart to be tested.
#pragma once

#include <optional>
#include <string_view>

#include "term/keys.h"

namespace kardo::term::detail {

struct Decoded {
  enum class Kind { KEY, MOUSE, MOUSE_RELEASE, PASTE_BEGIN, PASTE_END, UNKNOWN };
  Kind kind = Kind::UNKNOWN;
  Event event;  // KEY and MOUSE (row and column 0-based)
};

// `intro` is '[' (CSI) or 'O' (SS3); `body` the parameter bytes and the final byte.
Decoded decode_sequence(char intro, std::string_view body);

// Is `c` the final byte of a CSI sequence?
inline bool is_final_byte(int c) { return c >= 0x40 && c <= 0x7E; }

// The key of a plain input byte (control characters included); nullopt for bytes that
// carry no key (27, the Esc prefix, is decided by the caller).
std::optional<int> key_of_byte(int byte);

}  // namespace kardo::term::detail
