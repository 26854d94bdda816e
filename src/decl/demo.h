// Plausible made-up declarations, for trying the program and for benchmarks: valid CPFs and
// CNPJs, income from employers and from individuals, dependants, payments of several codes,
// assets and debts, and both models. The same seed and index always give the same taxpayer.
#pragma once

#include <cstdint>

#include "decl/declaration.h"

namespace kardo::decl {

// Taxpayer number `index` (0, 1, 2 …) of the demo folder made with `seed`. Distinct indexes
// give distinct CPFs.
Declaration make_demo_declaration(uint64_t seed, uint32_t index);

}  // namespace kardo::decl
