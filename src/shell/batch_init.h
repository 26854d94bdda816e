// `kardo --batch init`: makes a data folder ready to use.
#pragma once

#include "shell/batch.h"

namespace kardo::shell {

// Installs the reference tables (from --tables DIR, default the data/ folder the program was
// built with), creates the settings tables with the terminal's records and the DEFINE record,
// every other table of the data folder and the twenty declaration tables of the declaration
// folder (--folder, default the data folder), each with its index files. Prints one line per
// file it created ("created IMP0919.DBF"); a second run creates nothing and prints nothing.
// Exit 0 when everything is there, 1 when some table failed (each failure on standard error).
int run_init(BatchContext& ctx);

}  // namespace kardo::shell
