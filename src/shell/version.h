#pragma once
#include <string_view>

namespace kardo::shell {
// Program name and version as `kardo --version` prints them.
std::string_view version_text();
}  // namespace kardo::shell
