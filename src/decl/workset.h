// Loading a declaration into the terminal's work set and saving it back, safe against a crash.
//
// The work set is the terminal's work copies TMP_nn<tt> (one DBF with its index per
// declaration table, in the work folder) and a small state file saying whose declaration
// they hold, from which folder, and whether they are complete. Loading copies the taxpayer's
// live rows out of every declaration table (one table held exclusively at a time) into the
// Declaration and writes the work set from it.
//
// Saving replaces the taxpayer's rows in place, so its cost follows the taxpayer's rows and
// not the table's: the taxpayer's own records are overwritten, extra rows appended, surplus
// ones cleared of their CPF and marked deleted (so a recovery of deleted declarations never
// brings an old version back). A save first writes the work set and a marker "saving CPF X
// into folder F"; the work set is then the redo log: a save interrupted by a crash is
// completed, from the work set, by the next start of that terminal (recover_interrupted_save)
// before anything else. A save that cannot get its tables writes nothing.
#pragma once

#include <functional>
#include <string>

#include "base/status.h"
#include "decl/declaration.h"
#include "store/session.h"

namespace kardo::decl {

// The computations a load and a save run (the tax engines plug in here; absent ones leave the
// stored totals as they are).
struct Engines {
  std::function<void(store::Session&, Declaration&)> recompute;   // the full recomputation
  std::function<void(store::Session&, Declaration&)> final_step;  // before the register is written
};

enum class LoadKind {
  NEW_TAXPAYER,  // kind 0: a taxpayer registered now (cleared variables)
  EXISTING,      // kind 1
};

struct LoadOptions {
  LoadKind kind = LoadKind::EXISTING;
  bool recovering = false;  // the work set as last worked, not the tables as last saved
  bool mark_open = true;    // write this terminal into NUSUAT of the register
};

// INIC_VAR: loads the declaration of `cpf` from the current declaration folder into `d` and
// the work set. Fails (nothing marked) when the operator gives up waiting for a table, when a
// table cannot be read, or, recovering, when the work set is not this taxpayer's complete set.
base::Status INIC_VAR(store::Session& s, Declaration& d, const std::string& cpf, const LoadOptions& options,
                      const Engines& engines = {});

struct SaveOptions {
  bool final = true;        // closing save: NUSUAT cleared; otherwise it keeps this terminal
  bool batch = false;       // no usage log, no work time added
};

// SALVATUDO: recomputes and writes the declaration into the declaration tables. A protected
// status (STATRAVA other than 0) refuses the save and writes nothing.
base::Status SALVATUDO(store::Session& s, Declaration& d, const SaveOptions& options, const Engines& engines = {});

// What a save does to the declaration before writing it: the items ordered and renumbered,
// every row given the taxpayer's CPF, the holder's carnê-leão row following the variables, the
// register's DARF counts, size and limits.
void prepare_for_saving(Declaration& d);
// The register record as a save writes it: the variables, I13_27 stored as I13_27 + I13_28,
// I13_35 as I13_35 − I13_34, and `nusuat` (blank when closed).
store::imp09::Record saved_register_record(const Vars& v, const std::string& nusuat);

// Completes a save that a crash interrupted on this terminal, from the work set; OK when there
// was none. Run at start-up and before every batch, before anything else.
base::Status recover_interrupted_save(store::Session& s);

// What the work set of this terminal holds, from its state file.
struct WorkSetState {
  std::string cpf;
  std::string folder;  // the declaration folder it was loaded from
  bool complete = false;
};
base::Result<WorkSetState> work_set_state(store::Session& s);

// The work set when it holds work that was not saved: its declaration is still marked open on
// this terminal (the opening ended abnormally). Empty CPF otherwise.
base::Result<WorkSetState> unsaved_work_set(store::Session& s);

// The work set's rows read back (recovery): the variables from the register, return and
// carnê-leão copies and the rows of every copy.
base::Status read_work_set(store::Session& s, Declaration& d);

// Clears NUSUAT of the taxpayer's register record (leaving without saving).
base::Status clear_open_mark(store::Session& s, const std::string& cpf);

}  // namespace kardo::decl
