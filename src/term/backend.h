// The seam between the screen model and whatever shows it: a real terminal (ncurses) for
// people, a scripted one (headless) for tests.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "term/keys.h"
#include "term/screen.h"

namespace kardo::term {

// The terminal went away under the program (closed window, lost connection); thrown by a
// wait, so the program can end instead of waiting forever on nothing.
struct TerminalLost : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class Backend {
 public:
  virtual ~Backend() = default;

  // Shows the screen; only cells that changed since the last call need drawing.
  virtual void present(const Screen& screen) = 0;
  // The next event; waits at most `timeout_ms` (forever when negative, not at all when 0)
  // and gives nullopt when nothing came.
  virtual std::optional<Event> wait(int timeout_ms) = 0;
  // Drops keys typed ahead, before a question that must not be answered by them.
  virtual void flush_input() {}
  virtual void tone(int hertz, int ticks) = 0;
  // The system clipboard, in code page 850.
  virtual void set_clipboard(std::string_view cp850) = 0;
  virtual std::string clipboard() = 0;
  // A message box was answered (kept by the headless backend for tests; others ignore it).
  virtual void record_box(std::string_view /*caption*/, const std::vector<std::string>& /*lines*/,
                          std::string_view /*answer*/) {}
};

// The screen and its backend, as every screen routine uses them: draw on `screen`, then
// wait for the operator, which first shows what was drawn.
class Terminal {
 public:
  explicit Terminal(Backend& backend) : backend_(backend) {}

  Screen& screen() { return screen_; }
  const Screen& screen() const { return screen_; }
  Backend& backend() { return backend_; }

  void present() { backend_.present(screen_); }
  // Presents the screen and waits for the next event; a timeout gives a TICK event.
  Event wait(int timeout_ms = -1);
  // An event if one is waiting, without waiting.
  std::optional<Event> poll();
  // Presents the screen and waits for a key; other events are dropped.
  int read_key();
  void flush_input() { backend_.flush_input(); }
  void tone(int hertz, int ticks) { backend_.tone(hertz, ticks); }

 private:
  Backend& backend_;
  Screen screen_;
};

}  // namespace kardo::term
