#include "tax/table.h"

#include <algorithm>

namespace kardo::tax {

using base::Decimal;
using base::DESPREZA;

Table Table::annual(const Constants& k) {
  return Table{{k.NBASEAN1, k.NBASEAN2, k.NBASEAN3, k.NBASEAN4},
               {k.NDEDUAN1, k.NDEDUAN2, k.NDEDUAN3, k.NDEDUAN4}, false};
}

Table Table::monthly(const Constants& k) {
  return Table{{k.NBASEME1, k.NBASEME2, k.NBASEME3, k.NBASEME4},
               {k.NDEDUME1, k.NDEDUME2, k.NDEDUME3, k.NDEDUME4}, false};
}

Table Table::part_year(int months, const Constants& k) {
  Decimal m = std::clamp(months, 1, 12);
  Table t = monthly(k);
  for (int i = 0; i < 4; ++i) {
    t.bound[i] = t.bound[i] * m;
    t.deduction[i] = t.deduction[i] * m;
  }
  t.truncate_product = true;
  return t;
}

Decimal Table::tax(Decimal base) const {
  if (base <= bound[0]) return Decimal();
  int b = 3;
  for (int i = 1; i < 4; ++i)
    if (base <= bound[i]) { b = i - 1; break; }
  Decimal product = base * kRates[b];
  Decimal t = truncate_product ? DESPREZA(product, 14) - deduction[b]
                               : DESPREZA(product - deduction[b], 14);
  // Just above a bound the truncated product can fall a cent under the deduction.
  return base::max(t, Decimal());
}

Decimal CALC_IMPOS(int kind, Decimal base, const Constants& k) {
  return (kind == MONTHLY ? Table::monthly(k) : Table::annual(k)).tax(base);
}

Decimal CALC_PARCIAL(Decimal base, int months, const Constants& k) {
  return Table::part_year(months, k).tax(base);
}

Decimal DESPADRAO(Decimal taxable_income, const Constants& k) {
  Decimal d = DESPREZA(taxable_income * dec(20, 2), 14);
  return base::max(base::min(d, k.NDESCPRAD), Decimal());
}

}  // namespace kardo::tax
