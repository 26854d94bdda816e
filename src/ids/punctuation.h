// Private helpers shared by the punctuation routines and the checks.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kardo::ids::detail {

enum class IdKind { CPF, CNPJ, NIT };

// `text` through the display picture of its kind; CPF and NIT forms get 4 blanks after
// them, so that all three fill an 18-character CPF/CNPJ field.
std::string punctuate(std::string_view text, IdKind kind);
size_t id_digits(IdKind kind);  // digits the picture has places for

// 1-based character of a text, blank past its end (a field's value is padded with blanks).
inline char at(std::string_view s, size_t pos) { return pos >= 1 && pos <= s.size() ? s[pos - 1] : ' '; }

// An identifier without its display punctuation ('.', '-', '/'); blanks and anything else stay.
std::string strip_display(std::string_view s);

}  // namespace kardo::ids::detail
