// The interactive program: start-up from the program's arguments and environment to the main
// menu, the main loop, the agenda reminders and leaving (ROTSAIDA). Everything runs over a
// ui::Ui and a store::Session, so the whole start-up runs headless in tests.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "shell/batch.h"
#include "store/session.h"
#include "ui/ui.h"

namespace kardo::shell {

// What start-up reads from outside the program.
struct StartArgs {
  std::vector<std::string> args;  // the arguments after the program name
  Getenv env;
  std::string current_folder;
  // Whether a folder lies on a network drive; empty: the mount type of the folder (statfs).
  std::function<bool(const std::string&)> is_network_folder;
};

// The terminal number from the argument and the TERMINAL variable, which replaces the argument
// when it is one or two digits; any other TERMINAL value (desktop terminals set it to a
// program name) is ignored and `note` says so. nullopt when the argument is not one or two
// digits. `asked` tells the caller to ask the number (no argument, no usable TERMINAL).
struct TerminalChoice {
  std::optional<std::string> number;  // two digits
  bool ask = false;
  std::string note;
};
TerminalChoice choose_terminal(const std::optional<std::string>& argument, const std::optional<std::string>& terminal_var);

// Whether the folder is on a network file system (NFS, SMB/CIFS, FUSE mounts).
bool on_network_drive(const std::string& folder);

// The backup reminder: whether to ask, given today and the last backup date.
bool backup_due(const base::Date& today, const base::Date& last_backup, int* days = nullptr);

// One of today's agenda reminders of the operator.
struct Reminder {
  int hhmm = 0;  // time as a number: 1430
  std::string note;
};
// Today's entries of `operator_name` marked to remind whose time is later than now.
std::vector<Reminder> collect_reminders(store::Session& s, const std::string& operator_name);
// Shows every reminder whose minute has come (a minute late included: the list is looked at
// after each key and on the timer tick) and removes it from the list.
void fire_reminders(ui::Ui& ui, std::vector<Reminder>& list);

// The running program's state besides the session.
struct App {
  ui::Ui& ui;
  store::Session& s;
  bool LESTOUNADECL = false;
  int OPCAO_1 = 0;
  int NPOSMENU = 1;
  bool LBUSCACEP = true;
  int NRO_VIAS = 1;
  bool leaving = false;
  std::vector<Reminder> reminders;
  // Opening a declaration (command 11 and Alt I); replaced by the declaration screens.
  std::function<void(App&)> open_declaration;
};

// Draws the main background screen and the menu bar.
void draw_main_screen(App& app);

// The default opener of command 11 while the declaration screens are not built.
void open_declaration(App& app);

// ROTSAIDA: option 91 asks "Confirma saída do programa?"; false when the operator said No.
// Stores the terminal's CONFIG fields and closes every table.
bool ROTSAIDA(App& app, int option);
// Writes the terminal's CONFIG record from the session (the fields ROTSAIDA stores).
base::Status store_config(store::Session& s);
// Writes the DEFINE record from the session.
base::Status store_define(store::Session& s);

// Runs start-up and the main loop until the program ends; the exit status (0, or 1 when
// start-up ended the program).
int run_program(ui::Ui& ui, store::Session& s, const StartArgs& args);

}  // namespace kardo::shell
