// Opening tables, index files and the locks taken before every write.
//
// Every table is opened through these routines: by table number (ABERTURA), which knows the
// table's file, slot, keys and sharing from the catalogue, on top of ABREARQ, which creates a
// missing table from the slot's layout, rebuilds missing index files and attaches the indexes.
// The lock routines work on the current table (Session::current) and wait the system's way:
// a refused lock is retried every half second, with a message, until it comes, the time runs
// out or the operator presses Esc; giving up shows the error box. A batch run ends every wait
// after Session::wait_limit.
//
// Results: a Status, OK for the system's "true". A failure carries its cause (LOCKED: another
// terminal holds the table or the lock; NOT_FOUND: a file is missing and cannot be created;
// CANCELLED: the operator gave up waiting); the operator has already been shown the system's
// message where the system shows one.
//
// Writing convention on shared tables: position, REC_LOCK (or ADD_REC / PREP_REG), assign the
// fields, unlock. Changes to many records of one table take FIL_LOCK(0) first.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "store/session.h"

namespace kardo::store {

// An index key of ABREARQ and the file it lives in (path without extension; empty for the
// default: the table's own name for the first key, that name + "B" / + "C" for the others).
struct IndexKey {
  std::string key;
  std::string file;
};

// Creates the missing table `file` (path without extension, or with ".DBF") with the layout of
// `slot` (21 ... 40: the layout of slot − 20). Two terminals creating the same table at once
// never both succeed: the name is claimed with an exclusive create, the table is written under
// a temporary name carrying the terminal number and renamed over the claim, so no one opens
// half a table and no finished table is replaced. EXISTS when another terminal created it
// first, LOCKED while another terminal is creating it, NOT_FOUND ("Arquivo ... não foi
// criado! Reveja a instalação!") when the slot has no layout (a reference table).
base::Status create_table(Session& s, int slot, const std::string& file);

// Opens `file` (".DBF" added when it has no extension) in the current slot under the alias
// APELIDO, or its base name; APELIDO is cleared. When the slot already holds that file under
// that alias in the mode asked for, nothing is reopened. A missing file shows "Arquivo " +
// file + " não existe!" (NOT_FOUND); a table held by another terminal is LOCKED, without a
// message and without retrying.
base::Status NETUSE(Session& s, const std::string& file, bool exclusive);

// Opens `file` in `slot` and makes it current: creates it when missing, opens it (NETUSE),
// builds missing index files (REFAZ_IND: all of them; a missing first index packs the table
// first) under an exclusive open, attaches the indexes in order and makes the first the active
// order. When the slot holds that file already in the mode asked for it stays open (so the
// terminal's exclusive mark is never let go in between).
base::Status ABREARQ(Session& s, int slot, bool exclusive, const std::string& file,
                     const std::vector<IndexKey>& keys = {});

// Opens table number n in its slot with its keys and sharing: 1 ... 20 the declaration tables
// of LOCARQ (shared, or exclusive when asked), 21 ... 40 the terminal's work copies in LOCTRAB,
// the others the tables of ARQDEF (exclusive honoured only for the tables opened as the caller
// asks). DIRET<tt> (50) gets its first row when empty. n = 0 is the global bundle.
base::Status ABERTURA(Session& s, int n, bool exclusive = false);

// Makes the on-demand index of table n (the municipality lists' UPPER(NOMEMUNI+UNIFED)) the
// active order, opening the table when it is not open and building the index file under the
// table's file lock when it is missing or unsound. INVALID for a table without one.
base::Status use_on_demand_index(Session& s, int n);

// The path without extension of table n in this session (IMP0919 in LOCARQ, DIRET07 in
// ARQDEF, TMP_0907 in LOCTRAB); empty for a number without a table.
std::string table_file(const Session& s, int n);

// The global bundle (ABERTURA(0)), at start-up and before backups: takes the terminal's mark
// (DIRET<tt> exclusively; LOCKED when another copy runs on this terminal number), deletes the
// listed folders that no longer exist, opens (creating what is missing) the help, code and
// library tables, and leaves only DIRET<tt> open. A missing CODBENS, CODEPEN, CODDIVI, DESPESA
// or OCUPACAO fails the bundle; the other tables' failures are shown and the bundle goes on.
base::Status global_bundle(Session& s);

// The terminal's mark alone: DIRET<tt> opened exclusively in slot 50 (created when missing,
// with its first row) and left open. LOCKED when another process holds it: the caller shows
// "O programa Kardo19 no terminal NN está em uso".
base::Status take_terminal_mark(Session& s);
// Whether slot 50 holds this terminal's DIRET<tt> exclusively.
bool holds_terminal_mark(Session& s);
// Closes every slot except the terminal's mark.
void close_all_but_mark(Session& s);

// --- locks on the current table ---

// Locks the current record; retries for `seconds` (0: shows the message and the error box at
// once). Message line "Aguardando registro ficar disponivel no arquivo " + alias.
base::Status REC_LOCK(Session& s, int seconds = 2);
// Locks the current table; 0 waits until it comes (Esc not consulted); without an argument a
// single attempt.
base::Status FIL_LOCK(Session& s, std::optional<int> seconds = std::nullopt);
// Appends a blank record to the current table, which is then locked; 0 retries until it works.
base::Status ADD_REC(Session& s, int seconds);
// Positions on the record with this key in the active order and locks it (REC_LOCK(5)), or
// appends one (ADD_REC(5)) when there is none; `found` tells which.
base::Status PREP_REG(Session& s, std::string_view key, bool* found = nullptr);

// --- closing ---

void close_work_copies(Session& s);         // slots 21 ... 40
void close_declaration_tables(Session& s);  // slots 1 ... 20 except the register (9), and 21 ... 40

// --- the layout version ---

// Whether declaration table n of `folder` has an older layout: IMP01 without Meeiro, IMP07
// without a numeric MOV_ACAO. A missing table is current (it is created with the layout).
base::Result<bool> layout_outdated(Session& s, const std::string& folder, int n);
// Start-up's check of tables 1 ... 20 of LOCARQ: shows the warning "ATUALIZAÇÃO NECESSÁRIA"
// once, at the first outdated table; true when it was shown.
bool check_layouts(Session& s);
// Converts declaration table n of `folder` to the current layout: opened exclusively, its rows
// appended by name into ACERTO<tt>.DBF beside it, which is renamed over it; its index files go
// (they describe the old file; the next open rebuilds them). Reports file name + " Atualizado".
// False when it was current; LOCKED ("Não foi possível atualizar " + file name) when another
// terminal has it open.
base::Result<bool> convert_layout(Session& s, const std::string& folder, int n);
// The menu's database update: every folder of the terminal's list (a vanished one loses its
// row), IMP01 and IMP07 converted; "Todos Arquivos já estão atualizados" when none needed it.
// The number of tables converted.
base::Result<int> update_database(Session& s);

}  // namespace kardo::store
