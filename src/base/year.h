// Constants of the filing year: IRPF 2019, base year 2018.
#pragma once

#include <string_view>

#include "base/date.h"

namespace kardo::base {

inline constexpr std::string_view CANOATUAL = "19";  // filing year, two digits: IMPnn19
inline constexpr std::string_view CANOANTER = "18";  // base year
inline constexpr std::string_view CANOANTES = "17";  // year before the base year
inline constexpr int NANOATUAL = 2019;
inline constexpr int NANOANTER = 2018;
inline constexpr int NANOANTES = 2017;
inline constexpr Date DDIAENTRA{2019, 4, 30};          // filing deadline, single-quota due date
inline constexpr std::string_view CULTIMAVER = "17/07/19";  // build date the version check compares
inline constexpr std::string_view VERSAO = "Lib  ";         // version text of the version check
inline constexpr std::string_view CNOMPROG = "7z";          // archiver used by backups

// The data-folder environment variable: "DIR" + "20" + CANOATUAL.
inline constexpr std::string_view DATA_FOLDER_VARIABLE = "DIR2019";

}  // namespace kardo::base
