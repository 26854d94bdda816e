// Field values in a record buffer, as the system's types. A record buffer is the record's
// bytes exactly as the DBF holds them (byte 0 the deletion flag, then the fields in order);
// these functions read and write one field of it and touch nothing else.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/date.h"
#include "base/decimal.h"
#include "base/status.h"
#include "xbase/field.h"

namespace kardo::xbase {

using base::Status;

// The field's bytes as stored (C: blank-padded to the width).
inline std::string_view field_bytes(const char* record, const FieldInfo& f) {
  return {record + f.offset, size_t(f.width)};
}

// C (and any other type): the text cut or blank-padded to the width, as xBase assigns text.
void write_text(char* record, const FieldInfo& f, std::string_view text);

// N: blank is 0; text that is not a number reads as its leading number (as VAL does).
base::Decimal read_number(const char* record, const FieldInfo& f);
// N: rounded half away from zero to the field's decimals and right-aligned. DOES_NOT_FIT
// (field untouched) when the digits, sign and point need more than the width.
Status write_number(char* record, const FieldInfo& f, base::Decimal value);

// D: "yyyymmdd"; blanks (or anything that is no date) read as the empty date.
base::Date read_date(const char* record, const FieldInfo& f);
void write_date(char* record, const FieldInfo& f, base::Date value);

// L: T, t, Y and y are true; anything else (F, blank, '?') is false.
bool read_logical(const char* record, const FieldInfo& f);
void write_logical(char* record, const FieldInfo& f, bool value);

// M: the memo's first block in the DBT, right-aligned digits; 0 when blank (no memo).
uint32_t read_memo_block(const char* record, const FieldInfo& f);
void write_memo_block(char* record, const FieldInfo& f, uint32_t block);

}  // namespace kardo::xbase
