// The backend for people: the screen shown in a real terminal through ncursesw.
//
// Output is UTF-8 (each code page 850 byte as its Unicode character) in the sixteen PC
// colours; only cells that changed are redrawn. Input is raw, so Ctrl+C, Ctrl+S and Ctrl+Z
// reach the program as keys (Ctrl+C copies) instead of stopping it. Mouse clicks, double
// clicks and the wheel are read in terminals that speak the xterm mouse protocol; pastes
// arrive whole (bracketed paste). A terminal larger than 25 × 80 shows the grid at its top
// left and the status line under it; a smaller one shows a request to enlarge it until it is
// large enough. Tones ring the terminal bell. Key alternatives: term/keys.h.
#pragma once

#include <memory>

#include "term/backend.h"

namespace kardo::term {

// Takes over the terminal on standard input and output until destroyed. Throws
// std::runtime_error when there is no terminal to take.
std::unique_ptr<Backend> make_ncurses_backend();

}  // namespace kardo::term
