// The xBase text functions that index keys, reports and screens are written in.
// Text is code page 850 bytes; widths count bytes.
#pragma once

#include <string>
#include <string_view>

#include "base/decimal.h"

namespace kardo::base {

// The number with `decimals` decimals (rounded half away from zero), right-aligned in
// `width`; `width` asterisks when it does not fit.
std::string STR(Decimal value, int width = 10, int decimals = 0);
// As STR, with leading zeros instead of blanks ("-" before the zeros for negatives).
std::string STRZERO(Decimal value, int width, int decimals = 0);

std::string PADR(std::string_view s, size_t width, char fill = ' ');  // cut or pad on the right
std::string PADL(std::string_view s, size_t width, char fill = ' ');  // keep the right end
std::string PADC(std::string_view s, size_t width, char fill = ' ');
std::string_view RTRIM(std::string_view s);  // also TRIM
std::string_view LTRIM(std::string_view s);
std::string_view ALLTRIM(std::string_view s);
// 1-based start as in xBase; a start past the end gives "", a start of 0 counts as 1.
std::string SUBSTR(std::string_view s, size_t start, size_t count = std::string_view::npos);
std::string UPPER(std::string_view s);  // code page 850 letters with accents included
std::string LOWER(std::string_view s);
std::string REPLICATE(std::string_view s, size_t times);
inline std::string SPACE(size_t n) { return std::string(n, ' '); }
// Leading number of a text, 0 when there is none ("12abc" → 12, "  -3.5" → -3.5).
Decimal VAL(std::string_view s);
bool is_blank(std::string_view s);
bool all_digits(std::string_view s);  // non-empty and only 0-9

}  // namespace kardo::base
