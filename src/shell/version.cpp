#include "shell/version.h"

namespace kardo::shell {
std::string_view version_text() { return "Kardo IRPF 2019 (ano-base 2018) 0.1.0"; }
}  // namespace kardo::shell
