#include "term/headless.h"

#include "base/codepage.h"

namespace kardo::term {

HeadlessBackend& HeadlessBackend::keys(std::string_view names) {
  for (int k : keys_from_names(names)) script_.push_back(Event::of_key(k));
  return *this;
}

HeadlessBackend& HeadlessBackend::key(int k) {
  script_.push_back(Event::of_key(k));
  return *this;
}

HeadlessBackend& HeadlessBackend::type(std::string_view utf8) {
  for (char c : base::utf8_to_cp850(utf8)) script_.push_back(Event::of_key(static_cast<unsigned char>(c)));
  return *this;
}

HeadlessBackend& HeadlessBackend::click(int row, int col) {
  script_.push_back(Event::of_mouse(Event::Mouse::CLICK, row, col));
  return *this;
}

HeadlessBackend& HeadlessBackend::double_click(int row, int col) {
  script_.push_back(Event::of_mouse(Event::Mouse::CLICK, row, col));
  script_.push_back(Event::of_mouse(Event::Mouse::DOUBLE_CLICK, row, col));
  return *this;
}

HeadlessBackend& HeadlessBackend::wheel(int row, int col, bool up) {
  script_.push_back(Event::of_mouse(up ? Event::Mouse::WHEEL_UP : Event::Mouse::WHEEL_DOWN, row, col));
  return *this;
}

HeadlessBackend& HeadlessBackend::paste(std::string_view utf8) {
  script_.push_back(Event::of_paste(base::utf8_to_cp850(utf8)));
  return *this;
}

HeadlessBackend& HeadlessBackend::resize(int rows, int cols) {
  Event e;
  e.type = Event::Type::RESIZE;
  e.row = rows;
  e.col = cols;
  script_.push_back(e);
  return *this;
}

HeadlessBackend& HeadlessBackend::tick() {
  script_.push_back(Event::tick());
  return *this;
}

void HeadlessBackend::present(const Screen& screen) {
  shown_ = screen;
  ++presents_;
}

std::optional<Event> HeadlessBackend::wait(int timeout_ms) {
  if (script_.empty() && idle_ && timeout_ms != 0) {
    auto hook = idle_;  // the hook may replace itself
    hook(*this);
  }
  if (script_.empty()) {
    if (timeout_ms < 0) throw ScriptEnded("the screen waits for an event the test did not script");
    if (timeout_ms > 0 && ++idle_ticks_ > 10000) throw ScriptEnded("the screen keeps waiting past the script");
    return std::nullopt;
  }
  idle_ticks_ = 0;
  Event e = script_.front();
  script_.pop_front();
  if (e.type == Event::Type::TICK) return std::nullopt;
  return e;
}

void HeadlessBackend::record_box(std::string_view caption, const std::vector<std::string>& lines,
                                 std::string_view answer) {
  boxes_.push_back({std::string(caption), lines, std::string(answer)});
}

}  // namespace kardo::term
