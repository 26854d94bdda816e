// Batch commands over a folder's declarations: `demo` (fills the folder with made-up
// taxpayers), `recalc` (loads, recomputes and saves every declaration or one) and `summary`
// (the stored summary lines of one declaration, its model and the better model).
#pragma once

#include <vector>

#include "shell/batch.h"

namespace kardo::shell {

std::vector<BatchCommand> declaration_commands();

// Completes a save of this terminal that a crash interrupted, before any command runs.
int recover_before_batch(BatchContext& c);

}  // namespace kardo::shell
