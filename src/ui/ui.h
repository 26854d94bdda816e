// The text-window layer as every screen uses it: the window table on the screen, the colour
// settings, the message line, message windows and prompts (MENS), message boxes (AVISOSN),
// the highlight-bar chooser (ESC_OPCAO), the calculator and the key-help boxes.
//
// One Ui per terminal session; it lives as long as the program and is passed explicitly.
// Everything runs on one thread: each routine draws, waits for the operator through the
// terminal, and returns.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/clock.h"
#include "base/decimal.h"
#include "base/operator.h"
#include "term/backend.h"
#include "ui/colours.h"
#include "ui/windows.h"

namespace kardo::ui {

// The private variables of the chooser: the current item, the hot letters (letter k chooses
// item k) and one hint per item.
struct Chooser {
  int POSVER = 1;
  std::string OPCOES;
  std::vector<std::string> MENSMENU;
};

// What the calculator hands over: `handed` is false when it was left without a result.
struct CalcResult {
  bool handed = false;
  base::Decimal RESULT;
  std::string PIC_USU;  // the display mask of the result
};

class Ui;

// A captioned dialog over a rectangle of the screen: a frame with the caption in its top
// edge, the inside blank. What lay under it comes back when it closes (at the latest when it
// goes out of scope). Message windows and screens that are dialogs draw inside it.
class Dialog {
 public:
  Dialog(Ui& ui, term::Rect rect, std::string_view caption);
  ~Dialog() { close(); }
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;
  void close();
  term::Rect inside() const { return {rect_.top + 1, rect_.left + 1, rect_.bottom - 1, rect_.right - 1}; }

 private:
  Ui& ui_;
  term::Rect rect_;
  term::SavedArea under_;
  bool open_ = true;
};

class Ui {
 public:
  Ui(term::Terminal& terminal, base::Clock& clock);

  term::Terminal& terminal() { return terminal_; }
  term::Screen& screen() { return terminal_.screen(); }
  WindowTable& windows() { return windows_; }
  Colours& colours() { return colours_; }
  const Colours& colours() const { return colours_; }
  base::Clock& clock() { return clock_; }

  // The caption of message windows: "Kardo" + year + " - Trel Informatica".
  std::string caption;
  // Where the calculator opens next (row, column); follows the window when it is moved.
  int LCAL = 5, CCAL = 40;

  // Whether the current screen has a status bar. With one, the message line is its text (the
  // screen's status line); without, the message line is written centred on row 24.
  void set_status_bar(bool on) { status_bar_ = on; }
  bool has_status_bar() const { return status_bar_; }
  void message_line(std::string_view text);  // MENS mode 0

  // MENS: see base::Mens. Mode 3 returns at once leaving its window open (close it with
  // FECHAJAN of its number); modes 1, 2 and 4 wait for the operator and close their window.
  std::string MENS(const base::Mens& m);
  // AVISOSN: see base::Box; the answers are those of base::BoxMode.
  std::string AVISOSN(const base::Box& box);
  std::string AVISOSN(std::vector<std::string> lines, int mode = base::BOX_INFO, std::string_view caption = {});
  std::string OKEI(int mode) { return AVISOSN({"Confirma os dados ?"}, mode); }
  void HELPGER();
  void HELPFUN();

  // The items are rows of the open window `number`, item k on window row k + row_offset; the
  // bar is `length` cells from window column `col`. Returns the item chosen, 0 on Esc.
  int ESC_OPCAO(int number, int last_item, int col, int length, int row_offset, bool close, bool hints,
                Chooser& chooser);

  // The pop-up calculator in window `number` at (row, col), row at most 11 and column at most
  // 48. Esc or X leaves without a result; Ctrl+Enter hands one over.
  CalcResult CALCULADORA(int number = 9, int row = 11, int col = 11);

  void tone(int hertz, int ticks) { terminal_.tone(hertz, ticks); }
  // Two pairs of tones of 300 Hz and 499 Hz, `count` times.
  void BEEP_ERRO(int count = 1);
  // The refusal of a keystroke: 800 Hz for 10 clock ticks.
  void refuse() { tone(800, 10); }
  // Polls the keyboard without waiting: true when Esc was pressed. Other keys are dropped,
  // as a long job reads them.
  bool escape_pressed();

  // Box drawing shared by the layer: a single-line frame with an optional caption centred in
  // its top edge, the inside filled with blanks.
  void draw_frame(term::Rect r, unsigned char frame_colour, unsigned char inside_colour, std::string_view caption = {});

 private:
  std::string button_box(const base::Box& box, const std::vector<std::string>& labels,
                         const std::vector<std::string>& answers, const std::string& escape_answer,
                         unsigned char colour, size_t max_lines);

  term::Terminal& terminal_;
  base::Clock& clock_;
  WindowTable windows_;
  Colours colours_;
  bool status_bar_ = true;
};

}  // namespace kardo::ui
