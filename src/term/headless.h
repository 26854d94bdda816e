// A backend without a terminal, for tests: events come from a script, the screen is kept as
// last presented, tones and answered message boxes are recorded.
//
// A wait with an empty script first calls the idle hook, if any, which may look at the
// screen as shown and script more events (a test answering what a box shows). When the
// script is still empty that is a test fault: a wait without timeout throws ScriptEnded at
// once, a wait with a timeout gives nothing (a timer tick) up to 10 000 times and then
// throws, so a screen that waits for more keys than the test scripted never hangs.
#pragma once

#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "term/backend.h"

namespace kardo::term {

struct ScriptEnded : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class HeadlessBackend final : public Backend {
 public:
  struct Tone { int hertz, ticks; friend bool operator==(const Tone&, const Tone&) = default; };
  struct BoxRecord { std::string caption; std::vector<std::string> lines; std::string answer; };

  // Script: keys by name ("F1 Alt+A 5 + 3 = Ctrl+Enter"), text typed key by key (UTF-8),
  // mouse events, a paste, a resize, a timer tick.
  HeadlessBackend& keys(std::string_view names);
  HeadlessBackend& key(int k);
  HeadlessBackend& type(std::string_view utf8);
  HeadlessBackend& click(int row, int col);
  HeadlessBackend& double_click(int row, int col);
  HeadlessBackend& wheel(int row, int col, bool up);
  HeadlessBackend& paste(std::string_view utf8);
  HeadlessBackend& resize(int rows, int cols);
  HeadlessBackend& tick();
  size_t pending() const { return script_.size(); }
  void when_idle(std::function<void(HeadlessBackend&)> hook) { idle_ = std::move(hook); }

  const Screen& shown() const { return shown_; }
  int presents() const { return presents_; }
  const std::vector<Tone>& tones() const { return tones_; }
  void clear_tones() { tones_.clear(); }
  const std::vector<BoxRecord>& boxes() const { return boxes_; }

  void present(const Screen& screen) override;
  std::optional<Event> wait(int timeout_ms) override;
  void tone(int hertz, int ticks) override { tones_.push_back({hertz, ticks}); }
  void set_clipboard(std::string_view cp850) override { clipboard_ = std::string(cp850); }
  std::string clipboard() override { return clipboard_; }
  void record_box(std::string_view caption, const std::vector<std::string>& lines, std::string_view answer) override;

 private:
  std::deque<Event> script_;
  std::function<void(HeadlessBackend&)> idle_;
  Screen shown_;
  int presents_ = 0;
  int idle_ticks_ = 0;
  std::vector<Tone> tones_;
  std::vector<BoxRecord> boxes_;
  std::string clipboard_;
};

}  // namespace kardo::term
