#include "term/backend.h"

namespace kardo::term {

Event Terminal::wait(int timeout_ms) {
  present();
  std::optional<Event> e = backend_.wait(timeout_ms);
  return e ? *e : Event::tick();
}

std::optional<Event> Terminal::poll() {
  present();
  return backend_.wait(0);
}

int Terminal::read_key() {
  for (;;) {
    Event e = wait(-1);
    if (e.type == Event::Type::KEY) return e.key;
  }
}

}  // namespace kardo::term
