// The simulators of the computation screen: the balance with an extra deduction, and the
// income that yields a wanted balance, in either model.
#include "base/codepage.h"
#include "base/mask.h"
#include "tax/calc.h"
#include "tax/internal.h"

namespace kardo::tax {

using base::Decimal;
using detail::pct;
using detail::str;
using detail::positive;
using base::operator""_cp;

// A refund cannot exceed the tax paid.
bool Calc::refund_refused(Decimal wanted, std::string_view text) {
  const Decimal paid = d_.vars.I13_35;
  if (!wanted.is_negative() || -wanted <= paid) return false;
  op_.AVISOSN(std::string(text) + base::Mask::parse("@Ez 99,999,999.99").format(paid));
  return true;
}

// The income whose tax by table `t` is `target`: for each bracket from the top, the taxed
// base (target + deduction) / rate, the income base / factor + deductions; the first bracket
// whose tax on that base gives back the target (to the cent) is taken, else the lowest.
Decimal Calc::search(const Table& t, Decimal target, Decimal deductions, Decimal factor) {
  Decimal income;
  for (int b = 3; b >= 0; --b) {
    const Decimal base = (target + t.deduction[b]) / kRates[b];
    income = base / factor + deductions;
    if (t.tax((income - deductions) * factor).rounded(2) == target.rounded(2)) break;
  }
  return income.rounded(2);
}

std::optional<Decimal> Calc::SIMUL(int mode, Decimal value) {
  const decl::Vars& v = d_.vars;
  const Constants& k = s_.year;
  if (mode == 1) {
    // Balance with an extra deduction `value` (NSDEDUCAO).
    const Decimal t = tax(v.I13_20 - value);
    const Decimal incentive = base::min(t_.I13_22T, pct(t, 6));
    const Decimal due = t - incentive;
    Decimal dom = base::min(t_.I13_24T, due);
    if (positive(dom)) dom = base::min(dom, domestic_limit());
    return due - dom - v.I13_35 + v.I13_25;
  }
  if (mode == 2) {
    // Simplified model: income for the balance `value` (NSIMPOSTO).
    if (refund_refused(value, "O valor máximo de restituição de imposto é R$"_cp)) return std::nullopt;
    const Decimal wanted = value + v.I13_35;
    // From the income at which 20 % reaches the cap, the discount stays at the cap.
    const Decimal at_cap = tax(k.NDESCPRAD * Decimal(4));
    if (wanted >= at_cap) return ((wanted + k.NDEDUAN4 + k.NDESCPRAD * kRates[3]) / kRates[3]).rounded(2);
    return search(table(), wanted, Decimal(), dec(80, 2));
  }
  if (mode == 3) {
    // Complete model: income for the balance `value`, with the deductions of the declaration;
    // the private pension is deductible up to 12 % of that income, so it is sought until the
    // pension allowed and the income agree.
    if (refund_refused(value, "O valor máximo da restituição de imposto é R$"_cp)) return std::nullopt;
    const Decimal wanted = value + v.I13_22 + v.I13_24 - v.I13_25 + v.I13_35;
    const Table t = table();
    Decimal pension = v.I13_11, income;
    for (int i = 0; i < 32; ++i) {
      income = search(t, wanted, v.I13_19 - v.I13_11 + pension, Decimal(1));
      const Decimal allowed = base::max(base::min(t_.I13_11T, pct(income, 12)), Decimal());
      if (allowed == pension) break;
      pension = allowed;
    }
    return income;
  }
  return std::nullopt;
}

}  // namespace kardo::tax
