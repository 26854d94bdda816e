// The masked field editor every form reads its data with.
//
// A Field is a value (text, number, date or logical) at a screen place with a display mask
// (base/mask.h: "@Ez 999,999,999.99", "@R 999.999.999-99", "@!", "@D", "@S20", "@K", …). A
// Reader edits a list of fields one after another and returns the key that ended it.
//
// Editing. Text, dates and logicals are edited position by position under the picture:
// literal positions are skipped, each typed key is checked and converted by the mask, Ins
// toggles insertion (block cursor), Backspace and Del delete, Ctrl+Y clears to the end,
// Home/End and Ctrl+Left/Right move. Numbers are typed as on a calculator: digits fill the
// whole part from the right, "." or "," starts the decimals, "-" changes the sign, Backspace
// takes back the last digit, Del and Ctrl+Y clear, and the value is always shown through its
// mask; the first digit typed replaces the old value. Under the K flag the first typed
// character clears a text field too. A key the field cannot take sounds the refusal tone.
//
// Moving and leaving. Enter and Down go to the next field, Up to the previous one; a field
// whose `when` says false is skipped. Typing into the last position of a field goes on to the
// next field by itself (unless `confirm` is set). Leaving a field commits the typed text to
// the value and runs its `valid`, which may show a message and return false to keep the
// cursor in the field, or change the value (the field shows the new value). The read ends on
// Enter or Down (or a full field) past the last field, on Esc (the field being edited keeps
// its old value; no check runs) and on any exit key (function keys, PgUp, PgDn, Tab,
// Shift+Tab, Ctrl+W and Alt combinations, after the check). A mouse click moves to the field
// clicked. Ctrl+C copies the field to the clipboard, Alt+V and a paste type text into it.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/date.h"
#include "base/decimal.h"
#include "base/mask.h"

namespace kardo::ui {

class Ui;

struct Field {
  using Kind = base::Mask::Kind;

  static Field Text(int row, int col, std::string value, int width, std::string_view mask = {});
  static Field Number(int row, int col, base::Decimal value, int width, int decimals, std::string_view mask = {});
  static Field DateField(int row, int col, base::Date value, std::string_view mask = "@D");
  static Field Logical(int row, int col, bool value, std::string_view mask = {});

  Kind kind = Kind::TEXT;
  int row = 0, col = 0;
  int width = 0;     // text: the stored length; number: the width of the number field
  int decimals = 0;  // number
  std::string mask_text;
  base::Mask mask;

  std::string text;     // TEXT, code page 850, exactly `width` bytes
  base::Decimal number; // NUMBER
  base::Date date;      // DATE
  bool flag = false;    // LOGICAL

  // false keeps the cursor in the field; may change the value.
  std::function<bool(Field&)> valid;
  // false skips the field.
  std::function<bool(const Field&)> when;

  std::string display() const;  // the value through the mask, as the whole edit buffer
  int shown_width() const;      // cells taken on the screen (the S<n> window when there is one)
};

class Reader {
 public:
  struct Options {
    std::string colours;          // colour set (standard, enhanced, …); empty: CORNORM
    bool confirm = false;         // a full field waits for Enter instead of going on
    int start = 0;                // the field to begin with
    // Called with every key before the editor; true when the key was handled there (Alt+S
    // opening the calculator, a look-up list on F1, …).
    std::function<bool(int key, Reader& reader)> on_key;
    // Which keys end the read (besides Esc and leaving the last field); empty: the usual ones.
    std::function<bool(int key)> is_exit_key;
  };

  Reader(Ui& ui, std::vector<Field>& fields, Options options);
  Reader(Ui& ui, std::vector<Field>& fields) : Reader(ui, fields, Options{}) {}

  // Reads the fields; the key that ended the read.
  int run();
  int current() const { return current_; }  // the field where the read ended or now is
  bool updated() const { return updated_; } // a value changed

  // For `on_key` hooks: the field being edited, with what is typed so far committed when
  // it can be; after changing its value call reload() to show it.
  Field& field();
  void reload();
  // The calculator over the current field: a number field receives the result, a text
  // field gets it appended after a blank.
  void calculator_into_field();

  static bool usual_exit_key(int key);

 private:
  void begin_field();
  void show(size_t index, bool active);
  void show_current();
  bool commit();          // buffer → value; false when the buffer is no valid value (a bad date)
  bool leave_current();   // commit + valid
  int next_index(int from, int step) const;
  void type_char(unsigned char c);
  void type_text(std::string_view cp850);
  bool edit_key(int key);  // true when the key was an editing key
  int first_pos() const;
  int next_pos(int pos, int step) const;
  bool is_editable(int pos) const;
  std::string number_text() const;
  void number_from_value();
  base::Decimal number_value() const;

  Ui& ui_;
  std::vector<Field>& fields_;
  Options options_;
  int current_ = 0;
  bool updated_ = false;
  unsigned char normal_colour_ = 7, active_colour_ = 7;

  // The edit of the current field.
  Field before_;          // the value when the field was entered
  std::string buffer_;    // text, date, logical
  int pos_ = 0;
  int offset_ = 0;        // first buffer position shown under S<n>
  bool insert_ = false;
  bool first_key_ = true;
  bool filled_ = false;   // the last key filled the field's last position
  std::string int_digits_, frac_digits_;  // number
  bool point_ = false, negative_ = false;
  int max_int_ = 0, max_frac_ = 0;
};

}  // namespace kardo::ui
