// Literals of the shell's own messages: UTF-8 in the source, code page 850 std::string in
// the program, so they join with other strings directly.
#pragma once

#include <string>

#include "base/codepage.h"

namespace kardo::shell::text {

template <base::cp_detail::Utf8Literal S>
std::string operator""_cps() {
  return std::string(std::string_view(base::cp_detail::converted<S>));
}

}  // namespace kardo::shell::text
