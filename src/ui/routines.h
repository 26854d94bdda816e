// Small text and time routines used across the system.
#pragma once

#include <istream>
#include <string>
#include <string_view>

#include "base/date.h"

namespace kardo::ui {

// Month name of month 1 … 12, padded to 9 characters ("Marco    "); blanks otherwise.
std::string TRAZ_MES(int month);
// "Domingo", "Segunda feira", … "Sabado"; "" for an empty date.
std::string DIA_SEMANA(base::Date date);
// Seconds of a "hh:mm:ss" time: hh × 3600 + mm × 60 + ss.
long HORA_SEG(std::string_view time);
// "hh:mm:ss", hours taken modulo 24.
std::string SEG_HORA(long seconds);
// Days modulo 99 (2 digits) + "D" + hours modulo 24 (2 digits) + "h" + minutes (2) + "m".
std::string SEG_HOR_2(long seconds);
// Seconds from start to end ("hh:mm:ss" times). An end earlier than the start is on the next
// day: a span across midnight counts 86 400 seconds more instead of going negative.
long TEMPO_PAS(std::string_view start, std::string_view end);
// The same span as "hh:mm:ss" (form 1).
std::string TEMPO_PAS_HORA(std::string_view start, std::string_view end);
// The next line of a file: up to and including the line feed, or up to a zero byte (taken
// from the file, not returned) or the end of the file.
std::string LELINHA(std::istream& file);

}  // namespace kardo::ui
