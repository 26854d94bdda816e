// Everything the system shows to the operator or asks of them goes through an Operator:
// message boxes (AVISOSN), the message line and message windows (MENS), the Esc poll of
// long work, tones and the clock. The screen implements it with windows and boxes, tests
// with a script (ScriptedOperator), batch runs by printing (the shell's batch operator).
// Engines see only this interface, never the screen.
//
// All text here is code page 850, as everywhere inside the program.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/clock.h"

namespace kardo::base {

// AVISOSN modes and their answers.
enum BoxMode : int {
  BOX_INFO = 0,         // information, OK → ""
  BOX_PLAIN = 1,        // no icon, OK → "N"
  BOX_YES_NO = 2,       // → "S" / "N"
  BOX_YES_NO_CANCEL = 3,  // → "S" / "N" / "I"
  BOX_SIM_NAO_FIM = 4,  // buttons "Sim", "Não", "Fim" → "S" / "N" / "F" ("N" when closed)
  BOX_1_2_3 = 5,        // buttons "1" "2" "3" → the digit ("0" when closed)
  BOX_BUTTONS = 6,      // the labels given → the button's number ("0" when closed)
  BOX_1_TO_6 = 7,       // buttons "1" … "6" → the number
  BOX_ERROR = 8,        // error, OK → "" (caption "ERRO")
};

struct Box {
  std::vector<std::string> lines;
  int mode = BOX_INFO;
  std::vector<std::string> buttons;  // mode 6 only
  std::string caption;               // empty: "ERRO" in mode 8, "Aviso" otherwise
  // The answer a batch run gives: the one that writes nothing or keeps what exists.
  // Empty: "N" for yes/no boxes, "I" for yes/no/cancel, "0" (closed) for button boxes.
  std::string batch_answer;

  bool is_question() const { return mode >= BOX_YES_NO && mode <= BOX_1_TO_6; }
  std::string shown_caption() const;
};

// MENS: the message line (mode 0), a key-waiting message (1), a letter choice (2), a
// progress window (3) and a one-line input (4); `mode` is the units digit + 10 × frame style.
struct Mens {
  enum class Input { TEXT, NUMBER, DATE, FLAG };
  int mode = 0;
  std::string text;
  int row = 20;
  std::string column;      // a column number, "E" (2), "C" (centred) or empty (70 − width)
  int lines = 1;
  std::string letters;     // mode 2: the letters that answer
  Input input = Input::TEXT;  // mode 4: the kind of value asked
  std::string value;       // mode 4: the initial value, as text
  int input_width = 0;
  std::string mask = "@KS";
  std::function<bool(const std::string&)> check;  // mode 4: keeps the cursor while false
  int window = 10;
  std::string caption;     // empty: the program's caption
  int kind() const { return mode % 10; }
};

class Operator {
 public:
  virtual ~Operator() = default;
  virtual std::string AVISOSN(const Box& box) = 0;
  // Mode 0 and 3 return ""; mode 1 returns after a key; mode 2 the letter; mode 4 the value.
  virtual std::string MENS(const Mens& m) = 0;
  // Closes a window opened by MENS mode 3 (FECHAJAN of its number).
  virtual void close_window(int number) = 0;
  // Polls the keyboard without waiting: true when the operator pressed Esc.
  virtual bool escape_pressed() = 0;
  virtual void tone(int hertz, int ticks) = 0;
  virtual Clock& clock() = 0;

  // Shorthands used throughout the engines.
  std::string AVISOSN(std::string_view text, int mode = BOX_INFO, std::string_view caption = {});
  std::string AVISOSN(std::vector<std::string> lines, int mode = BOX_INFO, std::string_view caption = {});
  bool ask_yes(std::vector<std::string> lines, std::string_view caption = {});  // mode 2, "S"
  void error(std::vector<std::string> lines) { AVISOSN(std::move(lines), BOX_ERROR); }
  void message_line(std::string_view text);
  void BEEP_ERRO(int count = 1);
};

// A scripted operator for tests: answers come from queues, everything shown is recorded.
// A question with no scripted answer is a test failure (it throws), so a test always knows
// which questions its path asks.
class ScriptedOperator final : public Operator {
 public:
  struct Shown {
    std::string kind;  // "box", "mens", "line", "tone", "close"
    int mode = 0;
    std::vector<std::string> lines;
    std::string caption;
    std::string answer;
  };

  explicit ScriptedOperator(Clock& clock) : clock_(clock) {}

  void answer(std::string a) { answers_.push_back(std::move(a)); }
  void press_escape_after(int polls) { escape_after_ = polls; }
  const std::vector<Shown>& shown() const { return shown_; }
  // The boxes shown, each as its lines joined by " / ".
  std::vector<std::string> box_texts() const;
  bool showed(std::string_view text_part) const;
  size_t pending_answers() const { return answers_.size(); }
  std::string last_line() const { return last_line_; }

  std::string AVISOSN(const Box& box) override;
  std::string MENS(const Mens& m) override;
  void close_window(int number) override;
  bool escape_pressed() override;
  void tone(int hertz, int ticks) override;
  Clock& clock() override { return clock_; }
  using Operator::AVISOSN;

 private:
  std::string next_answer(std::string_view what);
  Clock& clock_;
  std::deque<std::string> answers_;
  std::vector<Shown> shown_;
  std::string last_line_;
  int escape_after_ = -1;
  int polls_ = 0;
};

}  // namespace kardo::base
