// The progressive tables of the filing year and the constants the computation uses.
//
// One table shape serves three uses: the annual table (line 21 of the summary), the monthly
// table (carnê-leão) and the part-year table of a final or departure declaration, whose
// bounds and deductions are the monthly ones summed over the months the declaration covers.
// No table ever gives a negative tax: where the rounding of a rate times a bracket's lower
// bound falls a cent under the bracket's deduction, the tax is 0.
#pragma once

#include "base/date.h"
#include "base/decimal.h"

namespace kardo::tax {

// Exact decimal constant: dec(2284776, 2) is 22847.76.
constexpr base::Decimal dec(long long units, int places) {
  base::Decimal::Raw r = units;
  for (int i = places; i < base::Decimal::kPlaces; ++i) r *= 10;
  return base::Decimal::from_raw(r);
}

// Constants of the year, under the system's names (IRPF 2019, base year 2018).
struct Constants {
  base::Decimal NBASEAN1 = dec(22847'76, 2);  // upper bounds of the annual brackets
  base::Decimal NBASEAN2 = dec(33919'80, 2);
  base::Decimal NBASEAN3 = dec(45012'60, 2);
  base::Decimal NBASEAN4 = dec(55976'16, 2);
  base::Decimal NDEDUAN1 = dec(1713'58, 2);   // amounts deducted in the 7.5 … 27.5 % brackets
  base::Decimal NDEDUAN2 = dec(4257'57, 2);
  base::Decimal NDEDUAN3 = dec(7633'51, 2);
  base::Decimal NDEDUAN4 = dec(10432'32, 2);
  base::Decimal NBASEME1 = dec(1903'99, 2);   // monthly bracket bounds
  base::Decimal NBASEME2 = dec(2826'66, 2);
  base::Decimal NBASEME3 = dec(3751'06, 2);
  base::Decimal NBASEME4 = dec(4664'68, 2);
  base::Decimal NDEDUME1 = dec(142'80, 2);    // monthly deductions
  base::Decimal NDEDUME2 = dec(354'80, 2);
  base::Decimal NDEDUME3 = dec(636'13, 2);
  base::Decimal NDEDUME4 = dec(869'36, 2);
  base::Decimal NVALDEPANO = dec(2275'08, 2);  // annual deduction per dependant
  base::Decimal NVALDEPEN = dec(189'59, 2);    // monthly deduction per dependant
  base::Decimal NVALESCOL = dec(3561'50, 2);   // annual education limit per person
  base::Decimal NVALAPOSA = dec(24751'74, 2);  // annual exempt retirement portion from 65
  base::Decimal NVALAPOSE = dec(1903'98, 2);   // monthly exempt retirement portion from 65
  base::Decimal NDESCPRAD = dec(16754'34, 2);  // cap of the simplified discount
  base::Decimal NMAXINSS = dec(1200'32, 2);    // cap of the domestic-employee deduction
  base::Date DENTREGA{2019, 4, 30};            // due date of the declaration
  int NANOBASE = 2018;                         // base year
};

inline constexpr Constants kYear{};

// The rates of the progressive table, lowest first.
inline constexpr base::Decimal kRates[4] = {dec(75, 3), dec(150, 3), dec(225, 3), dec(275, 3)};

enum TableKind : int { ANNUAL = 1, MONTHLY = 12 };

// Tax by the progressive table of `kind` (ANNUAL or MONTHLY) for a whole period: base × rate
// − deduction of the bracket, truncated to 2 decimals (DESPREZA, width 14). A base exactly on
// a bound belongs to the lower bracket.
base::Decimal CALC_IMPOS(int kind, base::Decimal base, const Constants& k = kYear);

// Annual tax of a declaration covering `months` (1 … 12; other values are brought into that
// range) of the year: the monthly bounds and deductions summed over the months; the product
// base × rate is truncated before the summed deduction is subtracted.
base::Decimal CALC_PARCIAL(base::Decimal base, int months, const Constants& k = kYear);

// The simplified discount: 20 % of the taxable income truncated to 2 decimals, at most
// NDESCPRAD, never below 0.
base::Decimal DESPADRAO(base::Decimal taxable_income, const Constants& k = kYear);

// One table as bounds and deductions, for the searches of the simulators.
struct Table {
  base::Decimal bound[4];
  base::Decimal deduction[4];
  bool truncate_product = false;  // the part-year table truncates base × rate first

  base::Decimal tax(base::Decimal base) const;
  static Table annual(const Constants& k = kYear);
  static Table monthly(const Constants& k = kYear);
  static Table part_year(int months, const Constants& k = kYear);
};

}  // namespace kardo::tax
