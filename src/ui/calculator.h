// The pop-up calculator's arithmetic, apart from its window.
//
// Keys: digits build the entry (at most 10 whole digits and 4 decimals); "." or "," starts
// the decimals; "I" changes the entry's sign; Backspace clears the entry to 0; "C" clears the
// entry and the pending operation; "+", "-", "*", "/" take the entry as the first operand or
// apply the pending operation to the running result; "=" or Enter completes it; "M" followed
// by "+", "-", "R" or "C" adds the shown value to the memory, subtracts it, recalls the
// memory into the entry or clears it. Division by zero, and a result too large for the
// display, give an error result, which stays until an operator or "=" takes a newly typed
// number and is never handed over.
//
// Ctrl+Enter hands over the last completed result, or the number typed when no operation
// has been completed since the calculator opened or since the last "C". With an operation
// pending and its second operand typed, the operation is completed first.
// Results are kept to 4 decimals, as the display shows them.
#pragma once

#include <string>

#include "base/decimal.h"

namespace kardo::ui {

class Calculator {
 public:
  enum class Outcome { OK, REFUSED, LEAVE, HAND_OVER, MOVE_UP, MOVE_DOWN, MOVE_LEFT, MOVE_RIGHT };

  Outcome press(int key);

  // The display: the number (the mask's text, or asterisks for an error), the pending
  // operator ("÷" for division) and whether the memory holds a value.
  std::string display_number() const;
  char pending_operator() const;  // code page 850; ' ' when none
  bool memory_set() const { return !memory_.is_zero(); }
  std::string mask() const;       // PIC_USU
  base::Decimal result() const { return handed_; }
  bool error() const { return error_; }

 private:
  base::Decimal entry() const;
  base::Decimal shown() const;
  bool apply(base::Decimal a, char op, base::Decimal b, base::Decimal& out);
  bool apply_pending();
  void clear_entry();
  Outcome operate(char op);
  Outcome equals();

  std::string int_digits_, frac_digits_;
  bool point_ = false, negative_ = false;
  bool typed_ = false;         // a number was typed since the last operator or "="
  bool showing_result_ = false;
  base::Decimal acc_;          // the running result
  char pending_ = 0;           // '+', '-', '*', '/'
  bool error_ = false;
  bool completed_ = false;     // an operation was completed since opening or "C"
  base::Decimal last_completed_;
  base::Decimal typed_value_;  // the last number typed, once an operator or "=" took it
  base::Decimal memory_;
  bool memory_prefix_ = false;
  bool decimals_ = false;      // a point typed or a division made: the display shows 4 decimals
  base::Decimal handed_;
};

}  // namespace kardo::ui
