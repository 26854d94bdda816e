// File names and the creation of new table files, shared by the opening routines and the
// installation of a data folder.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "xbase/field.h"
#include "xbase/file.h"
#include "xbase/table.h"

namespace kardo::store {

// "…/IMP0919" → "…/IMP0919.DBF"; a name with an extension is kept.
std::string with_dbf(const std::string& file);
// The last component without its extension: "/d/IMP0919.DBF" → "IMP0919".
std::string base_of(std::string_view path);
// The folder part with its final '/': "/d/IMP0919" → "/d/"; "" for a bare name.
std::string folder_of(std::string_view path);
// `path` with its extension replaced ("X.DBF", "CDX" → "X.CDX"), or added.
std::string with_extension(const std::string& path, std::string_view ext);

// The name of a work file that must not collide with another terminal's in a shared folder:
// the fixed name followed by the terminal number ("ACERTO" → "ACERTO07").
std::string temp_name(std::string_view stem, std::string_view terminal);

// Creates the table file `path` (with extension) with these fields. `fill`, when given, writes
// the table's first rows before anyone can see it. The name is claimed with an exclusive create
// (an empty file, locked while its creator works); the table is written under a temporary name
// with the terminal number and renamed over the claim. An empty file left by a creator that
// died is taken over. OK: created here; EXISTS: a table is there (made by someone else);
// LOCKED: another terminal is creating it right now.
base::Status create_new_table(xbase::Env& env, const std::string& path, const std::vector<xbase::FieldDef>& fields,
                              std::string_view terminal,
                              const std::function<base::Status(xbase::Table&)>& fill = {});

// Whether `path` is an empty file: a claim of a table being created (or abandoned).
bool is_claim(xbase::Env& env, const std::string& path);

}  // namespace kardo::store
