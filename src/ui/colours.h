// The terminal's colour settings, as numbers (16 × background + foreground) and as pairs
// ("GR+/B"). Defaults are those used before the terminal's own colours are loaded; the colour
// editor changes the members and the settings table stores them.
//
// Window writes leave the pairs alone, so a pair chosen in the colour editor lasts until the
// editor changes it again.
#pragma once

#include <string>
#include <string_view>

namespace kardo::ui {

struct Colours {
  int COR_TEL1 = 30;   // window text
  int COR_TEL2 = 31;   // window frames
  int COR_TEL3 = 63;
  int COR_MENS = 112;  // messages
  int COR_PEGA = 15;   // data entry
  int COR_HELP = 112;  // help and warnings
  int COR_FERID = 28;
  int COR_ESCOL = 79;  // the chosen item
  int COR_ENCHE = 31;  // the background of the whole screen
  std::string COR_AZUL = "B+/W";
  std::string COR_1_CLI = "GR+/B";
  std::string COR_2_CLI = "W+/B";
  std::string COR_INI = "W+/B";
  std::string COR_SAY = "N/W+";
  std::string COR_GET = "W/N";
  std::string COR_CLI_HE = "N/W";
  std::string COR_ESC_CL = "W/R+";
  std::string COR_ENCH_C = "W+/B";

  // The colour sets of the screens: standard, enhanced (the field being edited), border,
  // background, unselected (the other fields).
  std::string CORNORM() const { return COR_SAY + "," + COR_GET + ",N/N,N/N," + COR_SAY; }
  std::string CORLIMP() const { return COR_1_CLI + "," + COR_GET + ",N/N,N/N," + COR_SAY; }
  std::string CORSELE() const { return COR_CLI_HE + "," + COR_GET + ",N/N,N/N," + COR_SAY; }
  static constexpr std::string_view INVISIVEL = "W/W,W/W,N/N,N/N,W/W";
  std::string CORMENU() const {
    return COR_1_CLI + "," + COR_ESC_CL + "," + COR_ENCH_C + "," + COR_ENCH_C + "," + COR_2_CLI + "," + COR_2_CLI;
  }
  static constexpr std::string_view CORATEN = "R/W*";
};

// The colour number of pair `index` (0-based) of a colour set; 7 when absent or unreadable.
int colour_of_set(std::string_view set, int index = 0);
// ACHACOR: the pair of a colour number, and the number of a pair (7 when unreadable).
std::string ACHACOR(int number);
int ACHACOR(std::string_view pair);

}  // namespace kardo::ui
