// Brazilian identifiers as values: CPF and CNPJ with their check digits, the punctuation
// routines that move identifiers between their stored digit form and their display form,
// and the modulus-11 digit the receipt and fund references use. Nothing here talks to the
// operator; the checks that report to the operator are in ids/checks.h.
//
// Display forms (positions are 1-based, as the routines below count them):
//   CPF   "999.999.999-99"      11 digits; in 18-character CPF/CNPJ fields followed by 4 blanks
//   CNPJ  "99.999.999/9999-99"  14 digits
//   NIT   "999.99999.99-9"      11 digits; followed by 4 blanks like the CPF
// All text is code page 850.
#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace kardo::ids {

// The digits of `text` in order, everything else dropped ("" when there are none).
std::string TIRA_PONTO(std::string_view text);

// Display form by length. A text already punctuated (a '.' in position 3 or 4, or a blank in
// position 4, which a short value padded to its field has) is returned unchanged; a trimmed
// length of 14 gets the CNPJ punctuation, 11 the CPF punctuation and 4 blanks; any other
// text is returned unchanged.
std::string CONTAPONTO(std::string_view text);

// Display form for the payments grid. Mode 1 punctuates by the payment code of the row:
// codes 1, 21, 26, 36, 37, 38, 40, 41, 42, 43, 98 as a CNPJ; 9 … 15, 30, 31, 33, 34, 66, 76,
// 80, 81, 94 as a CPF; 50 as a NIT (CPF and NIT followed by 4 blanks). An already punctuated
// text, another code, a text with more characters than the punctuation has places for, and
// mode 0 all go to CONTAPONTO.
std::string POEPONTO(std::string_view text, int mode = 0, int payment_code = 0);

// The modulus-11 check digit of `digits` (blanks around them ignored): weights 2, 3, 4, …
// from the last digit back; 11 − (sum mod 11), with `substitute` when that is above 9.
// "" when there are no digits, or when anything but digits is there.
std::string MODULO_11(std::string_view digits, int substitute);

// A CPF: eleven digits whose last two are the right check digits.
class Cpf {
 public:
  // The CPF written in `text`, bare ("11144477735") or punctuated ("111.444.777-35"),
  // blanks around it allowed; nullopt when it is not eleven digits with right check digits.
  static std::optional<Cpf> parse(std::string_view text);
  // The CPF of nine base digits, its check digits computed; nullopt unless nine digits.
  static std::optional<Cpf> from_base(std::string_view nine_digits);
  // The two check digits of nine digits ("35" for 111444777); "" unless nine digits.
  static std::string check_digits(std::string_view nine_digits);

  const std::string& digits() const { return digits_; }  // the stored key form
  std::string display() const;                           // "111.444.777-35"

  friend bool operator==(const Cpf&, const Cpf&) = default;
  friend auto operator<=>(const Cpf&, const Cpf&) = default;

 private:
  explicit Cpf(std::string digits) : digits_(std::move(digits)) {}
  std::string digits_;
};

// A CNPJ: fourteen digits whose last two are the right check digits.
class Cnpj {
 public:
  static std::optional<Cnpj> parse(std::string_view text);  // bare or "99.999.999/9999-99"
  static std::optional<Cnpj> from_base(std::string_view twelve_digits);
  static std::string check_digits(std::string_view twelve_digits);  // "" unless twelve digits

  const std::string& digits() const { return digits_; }
  std::string display() const;  // "11.222.333/0001-81"

  friend bool operator==(const Cnpj&, const Cnpj&) = default;
  friend auto operator<=>(const Cnpj&, const Cnpj&) = default;

 private:
  explicit Cnpj(std::string digits) : digits_(std::move(digits)) {}
  std::string digits_;
};

// The two digits appended to a fund's CNPJ digits to form the reference number of a
// donation to that fund: MODULO_11 with substitute 1, twice.
std::string DVFUNDO(const Cnpj& fund);

}  // namespace kardo::ids
