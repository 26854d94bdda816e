// Plausible made-up declarations, for trying the program and for benchmarks: valid CPFs and
// CNPJs, income from employers and from individuals, dependants, payments of several codes,
// assets and debts, and both models. The same seed and index always give the same taxpayer.
#pragma once

#include <cstdint>

#include "base/status.h"
#include "decl/declaration.h"
#include "decl/workset.h"

namespace kardo::decl {

// Taxpayer number `index` (0, 1, 2 …) of the demo folder made with `seed`. Distinct indexes
// give distinct CPFs.
Declaration make_demo_declaration(uint64_t seed, uint32_t index);

// Adds `count` demo declarations to the current declaration folder, computed by `engines` as a
// save computes them, in bulk: each table opened once, its indexes built once at the end.
// Taxpayers already in the register are left as they are (the next indexes are used).
base::Status write_demo_declarations(store::Session& s, uint64_t seed, long count, const Engines& engines,
                                     long* added);

}  // namespace kardo::decl
