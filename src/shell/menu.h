// The main menu bar, its items and the dispatcher MENUSELECT with the commands it carries
// out itself.
#pragma once

#include <string>
#include <vector>

#include "shell/app.h"

namespace kardo::shell {

struct MenuItem {
  std::string text;  // code page 850; "&" before the accelerator letter
  int command = 0;   // 0 with `items`: a sub-menu; 0 without: a heading
  int a = 0, b = 0;
  std::vector<MenuItem> items;
  std::string hint;
};

// The main menu bar: one item per menu, in order (the last, "&Fim", is command 91 itself).
std::vector<MenuItem> main_menu(const App& app);

// The accelerator letter of a menu text (upper case), 0 when none; and the text without "&".
char accelerator(const std::string& text);
std::string shown_text(const std::string& text);

struct Command {
  int command = 0, a = 0, b = 0;
};

// Shows the menu bar on row 0 and lets the operator choose: the menu `first` open (1-based;
// 0: only the bar, waiting for Alt+letter, F10 or a click). `first_event_key` feeds a key
// already read. A chosen command, or command 0 when the menu was left.
Command choose_from_menu(App& app, int first);

// MENUSELECT: runs a main-menu command; ignored while a declaration is open.
void MENUSELECT(App& app, int command, int a = 0, int b = 0);

// The commands carried out by the dispatcher, apart from their questions, for tests and the
// batch: each returns the count the closing message shows.
base::Result<int> remove_one_cent_amounts(store::Session& s);                 // 37
base::Result<int> mark_phone_sending(store::Session& s, bool send);           // 38
base::Result<int> remove_repeated_cnpjs(store::Session& s);                   // 39, 2
// 39, 3: AUXFON's 14-digit CNPJs missing from the bank list added to it; 39, 4: the bank
// list's CNPJs (punctuated) missing from AUXFON added there. The count added.
base::Result<int> banks_from_auxfon(store::Session& s);
base::Result<int> banks_to_auxfon(store::Session& s);
// 40, 2: the municipality code of every asset row with a municipality and a state, from
// TABMUNI and then TAB_MUNI; the rows filled and the taxpayers they belong to.
struct CityFill {
  int items = 0, taxpayers = 0;
};
base::Result<CityFill> fill_city_codes(store::Session& s);
// 54: the lines per sheet asked for, 60 when outside 50 … 66.
int lines_per_sheet(int asked);

}  // namespace kardo::shell
