// The checks attached to identifier fields. Each takes the text the operator typed (bare
// digits, punctuated, incomplete, padded with blanks), shows the system's error box (mode 8,
// caption "ERRO") through the Operator when the value is wrong, and reports whether the
// field may be left. The screen keeps the cursor in the field while a check reports false.
// Silent refusals: a required value left empty, mode 2 of the CPF check, and an incomplete
// CPF outside mode 0.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "base/operator.h"

namespace kardo::ids {

// The outcome of a check that also gives the value to store back into the field.
struct Stored {
  bool ok = false;
  std::string value;
  explicit operator bool() const { return ok; }
};

struct CpfCheck {
  bool ok = false;
  // Mode 1 (the taxpayer register): the CPF was left empty, so the taxpayer's name on the
  // screen (NOMECONTR) is to be blanked. The check then reports true.
  bool blank_name = false;
  explicit operator bool() const { return ok; }
};

// CPF check. Mode 0: every fault is told; mode 1: as 0, but an incomplete CPF is refused
// silently and an empty required one blanks the name and passes; mode 2: silent.
CpfCheck VAL_CPF(base::Operator& op, std::string_view cpf, bool required, int mode = 0);
bool VAL_CGC(base::Operator& op, std::string_view cnpj, bool required);

// A field that may hold a CPF, a CNPJ or a NIT: punctuated by CONTAPONTO, then a NIT form
// (a '.' in position 10) passes unchecked, a '.' or blank in position 4 is checked as a CPF,
// a '.' in position 3 as a CNPJ, anything else is refused with the instructions.
bool CPFCGC(base::Operator& op, std::string_view value, bool required);
// CPFCGC for a table field: `value` is the punctuated form to store back, whatever the check says.
Stored CPFCGC1(base::Operator& op, std::string_view value, bool required);

// NIT/PIS check; mode 1 is the employee's NIT (other messages). Empty passes. Only the
// punctuation '.', '-', '/' and blanks are dropped: a letter makes the NIT wrong.
bool VAL_NIT(base::Operator& op, std::string_view nit, int mode = 0);

// Rural property number (NIRF): 8 characters, the 8th the MODULO_11 of the first seven.
bool VENIRF(base::Operator& op, std::string_view nirf);

// RENAVAM: `value` is 11 digits zero-padded on the left to store (also when the check digit
// is wrong). A value with anything but digits and blanks around them, or longer than 11
// digits, is refused and given back unchanged.
Stored VERENAVAM(base::Operator& op, std::string_view renavam);

// Filing receipt number: 10 digits and 2 check digits (typed with or without the '-').
// With the check digits left blank they are filled in; `value` is the 12 digits to store.
Stored VENROREC(base::Operator& op, std::string_view receipt);

// The family list of a declaration as the CPF look-ups need it: each row's CPFDEPEN and
// CODIDEPEN. List 1 (dependants) is the rows with a code below 98, list 2 (alimony
// beneficiaries) the rows with code 98 or 99.
struct FamilyRow {
  std::string cpf;  // CPFDEPEN
  int code = 0;     // CODIDEPEN
};
enum class FamilyList { DEPENDANTS = 1, ALIMONY = 2 };

struct FamilyLookup {
  enum Outcome {
    FOUND,      // `row` is the row of the CPF; the caller takes the CPF for its field
    NOT_FOUND,  // the operator was told; the caller opens the pick list of the list
    EMPTY,      // no CPF typed: the caller opens the pick list at once
  };
  Outcome outcome = EMPTY;
  size_t row = 0;
  bool open_pick_list() const { return outcome != FOUND; }
};

// VE_RELDEP: looks the CPF up among the rows of the chosen list (CPFs compared by their
// digits). Not found: "CPF digitado não consta na relação dos dependentes" (or
// "alimentandos"). The caller restricts its work copy to the list, opens the pick list
// when asked and reselects its own table; the routine itself always lets the field go.
FamilyLookup VE_RELDEP(base::Operator& op, std::string_view cpf, std::span<const FamilyRow> rows,
                       FamilyList list);

struct FamilyCheck {
  bool ok = false;        // false: a wrong CPF, told by VAL_CPF; the cursor stays
  FamilyLookup lookup;    // when ok: what VE_RELDEP decided over the dependants
  explicit operator bool() const { return ok; }
};

// VERCPFDEPE: a field that must name a dependant of the declaration. A wrong CPF is
// refused; a right or empty one goes on to VE_RELDEP over list 1.
FamilyCheck VERCPFDEPE(base::Operator& op, std::string_view cpf, std::span<const FamilyRow> rows);

}  // namespace kardo::ids
