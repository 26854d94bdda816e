// Installing a data folder: the reference tables from the text files shipped with the program,
// and every table the system opens, so a new folder is ready to use.
//
// The shipped form (data/ in the source tree) is `tables.tsv`, one row per field of every
// reference table in field order (TABLE, FIELD, TYPE, WIDTH, DEC, KEY, CHECK), and one
// `TABLE.tsv` per table: UTF-8, a header row naming the fields, tab-separated, no quoting, one
// row per record. Text becomes code page 850 and must fit its field; numbers are plain decimal
// text ("01" in an N 3 field is stored "  1"); an empty value is a blank field; M fields go to
// the memo file. A table is written whole under a temporary name and appears complete or not
// at all; one that exists in the data folder is left as it is.
#pragma once

#include <string>
#include <vector>

#include "base/status.h"
#include "store/session.h"

namespace kardo::store {

struct InstallReport {
  std::vector<std::string> installed;   // tables written now ("CODBENS")
  std::vector<base::Status> failures;   // one per table or step that failed, with its cause
  bool ok() const { return failures.empty(); }
};

// Writes every reference table of the catalogue that the data folder (ARQDEF) lacks from the
// text files in `source`. A table without a source file, or whose text does not fit its layout
// or lacks a field the system reads, is a failure naming the table and the cause; the others are
// still installed.
InstallReport install_reference_tables(Session& s, const std::string& source);

// Makes the session's data folder ready to use: the reference tables, the settings tables with
// the terminal's records and the one DEFINE record, every other table of ARQDEF and the twenty
// declaration tables of LOCARQ, each with its index files. Nothing that exists is changed
// (missing index files are built, as opening builds them). Leaves only the terminal's mark open.
InstallReport prepare_data_folder(Session& s, const std::string& source);

}  // namespace kardo::store
