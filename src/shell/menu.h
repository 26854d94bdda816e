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
// 54: the lines per sheet asked for, 60 when outside 50 … 66.
int lines_per_sheet(int asked);

}  // namespace kardo::shell
