// What the system treats as globals, in one object passed explicitly: the terminal, the
// folders, the settings loaded from the settings tables, the switches of the opening
// routines and the 99 table slots. There is no mutable singleton, so a test can run two
// terminals in one process, each with its own Session.
#pragma once

#include <array>
#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "base/operator.h"
#include "store/catalog_records.h"
#include "xbase/file.h"
#include "xbase/table.h"

namespace kardo::store {

// Folders end with '/' (the system's folders end with their separator).
struct Folders {
  std::string ARQDEF;   // data folder: settings, lists and reference tables
  std::string LOCARQ;   // current declaration folder: IMP01<yy> ... IMP20<yy>
  std::string LOCTRAB;  // work folder of the terminal: work copies, print files, temporaries
  std::string DIRORIG;  // the declaration folder at start-up
  std::string LOCIRPF;  // the official program's folder (ROTAJAVA), empty when not set
};

class Session {
 public:
  static constexpr int kSlots = 100;  // slots 1 ... 99; 0 unused

  Session(base::Operator& op, xbase::Env& env) : op(op), env(env) {}
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  base::Operator& op;
  xbase::Env& env;
  base::Clock& clock() { return op.clock(); }

  std::string NUSU = "00";  // terminal number, two digits
  Folders folders;

  // What the defaults of a new terminal's settings records depend on besides the folders.
  std::string home;             // the operator's home folder
  std::string startup_folder;   // the value of the data-folder environment setting (DIRPROV)
  std::string default_printer;  // the system's default printer (IPADRAO)

  // The terminal's and the office's settings as loaded at start-up; the globals of the
  // system are their fields (config.ROTADOANO, define.TEMP_SAL, cores.COR_TEL1 …).
  config::Record config;
  define::Record define;
  cores::Record cores;
  listaimp::Record listaimp;

  // Switches of the opening routines.
  bool MOS_MENS = false;   // show progress and creation messages while opening
  bool REFAZ_IND = false;  // rebuild every index while opening
  std::string APELIDO;     // when set, the alias of the next table opened

  // A batch run ends every lock wait after this long, even the ones an operator waits
  // on until the lock comes.
  std::optional<std::chrono::seconds> wait_limit;

  // The open tables, by slot, and the current one (SELECT).
  std::array<std::unique_ptr<xbase::Table>, kSlots> slots;
  std::array<std::string, kSlots> aliases;
  int current = 0;

  xbase::Table* table(int slot) { return slot > 0 && slot < kSlots ? slots[size_t(slot)].get() : nullptr; }
  xbase::Table* current_table() { return table(current); }
  void close_slot(int slot) {
    if (slot > 0 && slot < kSlots) {
      slots[size_t(slot)].reset();
      aliases[size_t(slot)].clear();
    }
  }
  void close_all() {
    for (int s = 1; s < kSlots; ++s) close_slot(s);
  }
  ~Session() { close_all(); }
};

}  // namespace kardo::store
