// Helpers shared by the tax sources; not part of the folder's interface.
#pragma once

#include <string>
#include <utility>
#include <vector>
#include <string_view>

#include "base/decimal.h"
#include "tax/calc.h"
#include "tax/table.h"

namespace kardo::tax::detail {

// The one letter of a flag field ("S", "N", blank); ' ' for blank or empty.
inline char flag(const std::string& s) {
  for (char c : s)
    if (c != ' ') return c;
  return ' ';
}

// A percentage of an amount, truncated to cents as every limit of the computation is.
inline base::Decimal pct(base::Decimal amount, long long percent) {
  return base::DESPREZA(amount * dec(percent, 2), 14);
}

// Message texts are code page 850 views (the _cp literal); boxes take strings.
inline std::string str(std::string_view s) { return std::string(s); }

inline bool positive(base::Decimal v) { return v > base::Decimal(); }

}  // namespace kardo::tax::detail

namespace kardo::tax {

// Non-deductible parts of the donation rows for a given tax by the table. The rooms are
// 6 % of the tax for codes 40 … 44, what is left of it (at most 3 % of the tax) for code 39,
// and 1 % each for codes 45 and 46. Rows are served in table order: a donation that fits
// reduces the room, the first that does not fit takes the rest of it.
struct Calc::Allocation {
  std::vector<std::pair<size_t, base::Decimal>> I6_5;  // row of IMP06, its non-deductible part
  base::Decimal net40_44, net39, net45_46;              // deductible parts
  base::Decimal line22;
};

// The complete model's figures for one taxable income.
struct Calc::Complete {
  base::Decimal l11, l19, l20, l21, l22, l23, l24;
  Allocation donations;
  base::Decimal due() const { return base::max(l23 - l24, base::Decimal()); }  // line 26 less line 25
};

}  // namespace kardo::tax
