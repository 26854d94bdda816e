// Display masks of screens and reports, and CAR_TO_VAL.
//
// A mask is an optional function part, '@' and flag letters, then a blank and a picture:
// "@Ez 999,999,999.99", "@R 999.999.999-99", "@D", "@!", "@S30", "999". Flags (either case):
//   E     numbers: decimal comma and dots between thousands (the picture's '.' and ',' swap)
//   Z     blank when the value is zero (numbers, at the decimals shown) or empty (dates)
//   R     text: the picture's literal characters are inserted for display and not stored
//   !     letters in upper case (code page 850 accented letters too)
//   D     a date, dd/mm/yyyy (every date is shown so, with or without the flag)
//   K     the editor clears the field when the first key typed is not a movement key
//   S<n>  edit in a window of n columns that scrolls (no effect on the text itself)
// The function part ends at the first blank, or at the first character that is no flag, so
// "@Z99" is the flag Z with the picture "99". The other xBase flags (A, B, C, X, '(', ')')
// are read and have no effect; any other character ends the function part likewise.
//
// Picture characters: 9 a digit (numbers: also a sign), # a digit, blank or sign, X any
// character, ! any character in upper case, A a letter, N a letter or digit, L a logical
// (T/F), Y a logical (S/N). In a numeric picture the first '.' is the decimal point and ','
// separates thousands (shown only between digits). Every other character is a literal.
//
// Numbers are rounded half away from zero to the picture's decimals, right-aligned, the '-'
// just before the first digit; a number too large for its picture shows '*' in every digit
// and separator position (the decimal point stays). A text picture without R lays the
// picture's literals over the text at their positions (and stores them); with R they are
// inserted between the text's characters. All text is code page 850.
//
// Edit buffers: the field editor edits the text `format` gives, position by position.
// `editable` and `accept` say which positions take keys and what a key becomes there;
// `unformat_*` turns the edited buffer back into the stored value.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "base/date.h"
#include "base/decimal.h"

namespace kardo::base {

// The number written in a display text: 0 when blank; otherwise every '.' (thousands
// separator) is removed, the first ',' becomes the decimal point and the text is read as
// VAL reads it ("1.234,56" → 1234.56, "12,5 kg" → 12.5, "abc" → 0).
Decimal CAR_TO_VAL(std::string_view text);
inline Decimal CAR_TO_VAL(Decimal value) { return value; }  // a number is taken unchanged

class Mask {
 public:
  enum class Kind { TEXT, NUMBER, DATE, LOGICAL };

  Mask() = default;  // no flags, no picture
  static Mask parse(std::string_view mask);

  bool comma_decimal() const { return e_; }      // E
  bool blank_zero() const { return z_; }         // Z
  bool insert_literals() const { return r_; }    // R
  bool upper() const { return upper_; }          // !
  bool date() const { return d_; }               // D
  bool clear_on_first_key() const { return k_; } // K
  int scroll_width() const { return s_; }        // S<n>; 0 when absent
  const std::string& picture() const { return picture_; }

  // A number through the mask. Without a picture it is STR(value, width, decimals) (width 0:
  // no padding), with the E and Z flags applied: pass the field's width and decimals.
  std::string format(Decimal value, int width = 0, int decimals = 0) const;
  // A text through the mask; without a picture the text itself (upper-cased for '!').
  std::string format(std::string_view text) const;
  // "dd/mm/yyyy"; an empty date is "  /  /    " (blanks under Z).
  std::string format(Date date) const;
  // "T"/"F", or "S"/"N" for a picture beginning with Y.
  std::string format_logical(bool value) const;

  // Whether the editor may type at `pos` of a buffer of a value of `kind`. Without a
  // picture every position of a text or number buffer is editable; dates edit as
  // "99/99/9999" and logicals in their one position.
  bool editable(Kind kind, size_t pos) const;
  // What the key `typed` becomes at `pos` (upper case where the picture or the ! flag asks),
  // or nullopt when that position refuses it.
  std::optional<char> accept(Kind kind, size_t pos, char typed) const;
  // Position of the decimal point in a numeric picture's buffer; npos when there is none.
  size_t decimal_point() const;

  // The stored text of a buffer: with R the literal positions are dropped, otherwise the
  // buffer is kept as it is. The caller pads or cuts it to the field's width.
  std::string unformat_text(std::string_view buffer) const;
  // The number in a buffer: digits and a '-' in the digit positions, the decimal point at
  // its position (or '.', ',' under E, when there is no picture). Blank is 0; anything else
  // that is no number (the '*' of an overflow, letters) is nullopt.
  std::optional<Decimal> unformat_number(std::string_view buffer) const;
  // The date in a "dd/mm/yyyy" buffer (two-digit years in 1900 … 1999); blank is the empty
  // date; an impossible day is nullopt.
  std::optional<Date> unformat_date(std::string_view buffer) const;
  bool unformat_logical(std::string_view buffer) const;  // T, Y or S is true

 private:
  char picture_at(Kind kind, size_t pos) const;  // the template character at pos, 0 when none

  bool e_ = false, z_ = false, r_ = false, upper_ = false, d_ = false, k_ = false;
  int s_ = 0;
  std::string picture_;
};

}  // namespace kardo::base
