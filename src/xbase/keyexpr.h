// Index key expressions: what a CDX key is made of, compiled once and evaluated per record.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/date.h"
#include "base/decimal.h"
#include "base/status.h"
#include "xbase/field.h"

namespace kardo::xbase {

using base::Result;
using base::Status;

// A compiled index key expression: field names joined by '+', with STR, STRZERO, DTOS, DTOC,
// UPPER, SUBSTR, LEFT, RIGHT, YEAR, MONTH, DAY (names are case-insensitive). UPPER in keys
// changes only ASCII a-z (as other xBase engines' files do, so their indexes stay valid for us).
// An expression that is a single numeric (or date) value gives a numeric (date) key of 8 bytes;
// a character key longer than 240 bytes, the most a CDX key holds, is cut to its first 240.
class KeyExpr {
 public:
  // INVALID with a clear message naming the unknown function or field.
  static Result<KeyExpr> compile(std::string_view expression, const std::vector<FieldInfo>& fields);
  const std::string& expression() const;
  char type() const;    // 'C' (character key), 'N' (numeric) or 'D' (date)
  int length() const;   // length in bytes of every key (C: the expression's width, at most 240; N, D: 8)
  // The key bytes of one record buffer, exactly as the CDX file stores them.
  std::string key(const char* record) const;

  struct Node;  // the compiled tree (keyexpr.cpp)

 private:
  std::string expression_;
  char type_ = 'C';
  int length_ = 0;
  std::shared_ptr<const Node> root_;
};

// Key bytes for seeking: numbers and dates encoded as the CDX stores them (8 bytes that sort as
// the values do); character keys are their raw bytes (a shorter text is a partial key).
std::string number_key(base::Decimal value);
std::string date_key(base::Date value);
// The same encoding from a double (what the 8 bytes hold) and back.
std::string double_key(double value);
double key_double(std::string_view key8);

}  // namespace kardo::xbase
