// Moving through the current order of a table the way the browse screens do.
#pragma once

#include "base/status.h"
#include "xbase/table.h"

namespace kardo::store {

// Moves up to n visible rows forward (n > 0) or back (n < 0) in the table's active order and
// gives how many were moved (negative going back). A forward move stops on the last row
// unless `may_end`, when it may land on the end position and counts that step; a backward
// move stops on the first row; 0 rereads the current row.
base::Result<long> SKIPPED(xbase::Table& t, long n, bool may_end = false);

}  // namespace kardo::store
