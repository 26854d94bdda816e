#include "ui/routines.h"

#include <cstdio>

#include "base/xtext.h"

namespace kardo::ui {

std::string TRAZ_MES(int month) {
  static const char* const kNames[12] = {"Janeiro", "Fevereiro", "Marco", "Abril", "Maio", "Junho",
                                         "Julho", "Agosto", "Setembro", "Outubro", "Novembro", "Dezembro"};
  if (month < 1 || month > 12) return std::string(9, ' ');
  return base::PADR(kNames[month - 1], 9);
}

std::string DIA_SEMANA(base::Date date) {
  static const char* const kDays[7] = {"Domingo", "Segunda feira", "Terca feira", "Quarta feira",
                                       "Quinta feira", "Sexta feira", "Sabado"};
  if (date.empty()) return "";
  return kDays[date.DOW() - 1];
}

long HORA_SEG(std::string_view time) {
  auto part = [&](size_t at) { return base::VAL(base::SUBSTR(time, at, 2)).whole(); };
  return part(1) * 3600 + part(4) * 60 + part(7);
}

std::string SEG_HORA(long seconds) {
  if (seconds < 0) seconds = 0;
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02ld:%02ld:%02ld", (seconds / 3600) % 24, (seconds / 60) % 60, seconds % 60);
  return buf;
}

std::string SEG_HOR_2(long seconds) {
  if (seconds < 0) seconds = 0;
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02ldD%02ldh%02ldm", (seconds / 86400) % 99, (seconds / 3600) % 24, (seconds / 60) % 60);
  return buf;
}

long TEMPO_PAS(std::string_view start, std::string_view end) {
  long span = HORA_SEG(end) - HORA_SEG(start);
  if (span < 0) span += 86400;
  return span;
}

std::string TEMPO_PAS_HORA(std::string_view start, std::string_view end) { return SEG_HORA(TEMPO_PAS(start, end)); }

std::string LELINHA(std::istream& file) {
  std::string line;
  for (int c; (c = file.get()) != std::char_traits<char>::eof();) {
    if (c == 0) break;
    line += static_cast<char>(c);
    if (c == '\n') break;
  }
  return line;
}

}  // namespace kardo::ui
