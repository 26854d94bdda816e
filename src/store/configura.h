// The settings tables at start-up: the terminal's CONFIG, CORES and ListaIMP records (one per
// terminal number, key NRO_TERM) and the office's one DEFINE record, each created with the
// defaults of store/catalog_defaults.h when missing and loaded into the session.
//
// A terminal's record is appended under the table's file lock and looked for again once the
// lock is held, so two starts of one terminal number never add two records; DEFINE is created
// with its record already in it.
#pragma once

#include <optional>

#include "base/status.h"
#include "store/catalog_defaults.h"
#include "store/session.h"

namespace kardo::store {

// What the defaults of a new record depend on, from the session (the strings stay the
// session's: the context lives no longer than it).
SettingsContext settings_context(Session& s);

// Opens CONFIG (slot 42) shared and loads the terminal's record into s.config, appending it
// with the defaults when missing. When CONFIG cannot be opened: "Arquivo de configuração
// sendo usado no momento", and the failure (start-up ends).
base::Status CONFIGURA(Session& s);
// Opens DEFINE (slot 43) and loads its record into s.define (created with the defaults when
// the table or its record is missing). BOL_BANCO is 341 whatever the table holds.
base::Status load_define(Session& s);
// The terminal's colours (CORES, slot 56) and printer (ListaIMP, slot 57) into the session.
base::Status load_cores(Session& s);
base::Status load_listaimp(Session& s);

// The terminal's CONFIG record as it stands, without creating or locking anything: nullopt
// when CONFIG or the record is not there (a new terminal).
std::optional<config::Record> find_config(Session& s);

// Whether a declaration of status `estatus` is protected against changes by STATRAVA. Zero is
// "no protected status": a fresh DEFINE holds 0, and a new declaration's status is 0, so
// reading 0 as a status would forbid saving anything on a new installation.
bool protected_status(const define::Record& d, const base::Decimal& estatus);

}  // namespace kardo::store
