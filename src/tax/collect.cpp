// The collectors: working totals and summary lines rebuilt from the item rows.
#include <array>

#include "tax/calc.h"
#include "tax/internal.h"

namespace kardo::tax {

using base::Decimal;
using detail::flag;
using detail::positive;
using decl::Vars;
using Income = store::imp02::Record;

namespace {

struct Column {
  Decimal Income::*line;
  Decimal Vars::*total;
};

// Exempt columns of the income grid (kinds "J" and "D") and the exempt line each feeds. The
// serious-illness pension I1_18 is not here: it goes to line 07 together with its 13th salary.
constexpr Column kExempt[] = {
    {&Income::I1_29, &Vars::I3_01}, {&Income::I1_30, &Vars::I3_03}, {&Income::I1_15, &Vars::I3_05},
    {&Income::I1_17, &Vars::I3_06}, {&Income::I1_37, &Vars::I3_08}, {&Income::I1_16, &Vars::I3_09},
    {&Income::I1_23, &Vars::I3_10}, {&Income::I1_31, &Vars::I3_12}, {&Income::I1_13, &Vars::I3_13},
    {&Income::I1_14, &Vars::I3_14}, {&Income::I1_24, &Vars::I3_15}, {&Income::I1_25, &Vars::I3_16},
    {&Income::I1_26, &Vars::I3_17}, {&Income::I1_27, &Vars::I3_18}, {&Income::I1_28, &Vars::I3_19},
    {&Income::I1_9, &Vars::I3_24},
};

// Exclusive columns (the 13th salary I1_7 is handled apart: holder's or dependants' line).
constexpr Column kExclusive[] = {
    {&Income::I1_38, &Vars::I4_04}, {&Income::I1_32, &Vars::I4_08},
    {&Income::I1_33, &Vars::I4_09}, {&Income::I1_34, &Vars::I4_10},
};

constexpr Decimal Vars::*kExemptLines[] = {
    &Vars::I3_01, &Vars::I3_02, &Vars::I3_03, &Vars::I3_04, &Vars::I3_05, &Vars::I3_06,
    &Vars::I3_07, &Vars::I3_08, &Vars::I3_09, &Vars::I3_10, &Vars::I3_11, &Vars::I3_12,
    &Vars::I3_13, &Vars::I3_14, &Vars::I3_15, &Vars::I3_16, &Vars::I3_17, &Vars::I3_18,
    &Vars::I3_19, &Vars::I3_20, &Vars::I3_21, &Vars::I3_22, &Vars::I3_23, &Vars::I3_24,
};

constexpr Decimal Vars::*kExclusiveLines[] = {
    &Vars::I4_01, &Vars::I4_02, &Vars::I4_03, &Vars::I4_04, &Vars::I4_05, &Vars::I4_06,
    &Vars::I4_07, &Vars::I4_08, &Vars::I4_09, &Vars::I4_10, &Vars::I4_11, &Vars::I4_12,
};

using Leao = store::imp12::Record;
// Carnê-leão paid (column 6, I2_5mm) and due (column 7, I2_6mm) of months 1 … 12.
constexpr std::array<Decimal Leao::*, 12> kPaid = {
    &Leao::I2_501, &Leao::I2_502, &Leao::I2_503, &Leao::I2_504, &Leao::I2_505, &Leao::I2_506,
    &Leao::I2_507, &Leao::I2_508, &Leao::I2_509, &Leao::I2_510, &Leao::I2_511, &Leao::I2_512};
constexpr std::array<Decimal Leao::*, 12> kDue = {
    &Leao::I2_601, &Leao::I2_602, &Leao::I2_603, &Leao::I2_604, &Leao::I2_605, &Leao::I2_606,
    &Leao::I2_607, &Leao::I2_608, &Leao::I2_609, &Leao::I2_610, &Leao::I2_611, &Leao::I2_612};

// Employer's social security of a domestic employee is 8.8 % of the wage: the yearly cost of
// the employee is estimated as the contribution times 1 / 0.088 plus the contribution.
const Decimal kWageFactor = dec(11'36363636, 8);

}  // namespace

void Calc::FI1_T() {
  Vars& v = d_.vars;
  const int mode = int(v.CAL_AUTO.whole());
  const bool carne_lines = mode == 1 || mode == 3;

  v.I13_01 = v.I13_02 = v.I13_05 = v.I13_06 = v.I13_17 = v.I13_27 = v.I13_28 = Decimal();
  t_.NPREVTIT = t_.NPREVDEP = Decimal();
  t_.I13_10A = t_.I13_10B = t_.I13_25A = t_.I13_25B = t_.I13_34A = t_.I13_34B = Decimal();
  for (const Column& c : kExempt) v.*c.total = Decimal();
  for (const Column& c : kExclusive) v.*c.total = Decimal();
  v.I3_07 = v.I4_01 = v.I4_06 = v.I4_05 = v.I4_07 = Decimal();
  v.EXGSUSP = Decimal();
  if (carne_lines) v.CARNEINSS = v.CARNEDEPEN = Decimal();
  t_.exempt_dependants = t_.exclusive_dependants = Decimal();

  const Income* main_payer = nullptr;
  for (const Income& r : d_.IMP02) {
    const char kind = flag(r.I1_1);
    if (kind == 'J' || kind == 'D') {
      const bool holder = kind == 'J';
      (holder ? v.I13_01 : v.I13_02) += r.I1_4;
      Decimal& withheld = holder ? v.I13_27 : v.I13_28;
      withheld += r.I1_5;
      (holder ? t_.NPREVTIT : t_.NPREVDEP) += r.I1_6;
      if (positive(r.I1_18)) {
        // Pension of a person with a serious illness: exempt with its 13th salary, whose tax
        // withheld then counts with the rest.
        withheld += r.I1_39;
        v.I3_07 += r.I1_18 + r.I1_7;
      } else {
        (holder ? v.I4_01 : v.I4_06) += r.I1_7;
      }
      for (const Column& c : kExempt) v.*c.total += r.*c.line;
      for (const Column& c : kExclusive) v.*c.total += r.*c.line;
      if (!holder) {
        for (const Column& c : kExempt) t_.exempt_dependants += r.*c.line;
        t_.exempt_dependants += r.I1_18;
        for (const Column& c : kExclusive) t_.exclusive_dependants += r.*c.line;
      }
      v.EXGSUSP += r.I1_19 - r.I1_20;
      if (holder && positive(r.I1_4) && (!main_payer || r.I1_4 > main_payer->I1_4)) main_payer = &r;
    } else if (kind == 'P') {
      if (carne_lines) (flag(r.I1_11) != 'N' ? v.CARNEINSS : v.CARNEDEPEN) += r.I1_4;
    } else if (kind == 'A') {
      const bool holder = flag(r.I1_11) != 'N';
      if (flag(r.TIPOCR) == 'N') {
        // Taxed exclusively: the net amount is exclusive income; its tax is line 25.
        const Decimal net = r.I1_4 - r.I1_5 - r.I1_6 - r.I1_12;
        if (holder) v.I4_05 = base::max(v.I4_05 + net, Decimal());
        else v.I4_07 += net;
        (holder ? t_.I13_25A : t_.I13_25B) += r.I1_20;
        (holder ? t_.I13_34A : t_.I13_34B) += r.I1_5;
      } else {
        (holder ? v.I13_05 : v.I13_06) += r.I1_4;
        (holder ? v.I13_27 : v.I13_28) += r.I1_5;
        (holder ? t_.I13_10A : t_.I13_10B) += r.I1_6;
        v.I13_17 += r.I1_12;
      }
    }
  }
  if (main_payer) v.CGCPAGADOR = main_payer->I1_3;
  t_.exclusive_dependants += v.I4_06 + v.I4_07;

  line09();
  v.I13_10 = t_.I13_10A + t_.I13_10B;
  v.I13_25 = t_.I13_25A + t_.I13_25B;
  v.I13_34 = t_.I13_34A + t_.I13_34B;
  SOMA_TRIBENAO();
}

void Calc::line09() {
  Vars& v = d_.vars;
  v.I13_09 = v.CARNEINSS + v.CARNEDEPEN + t_.NPREVTIT + t_.NPREVDEP + t_.NFUNPRESP;
}

void Calc::SOMA_TRIBENAO() {
  Vars& v = d_.vars;
  v.I13_44 = v.I13_45 = Decimal();
  for (auto m : kExemptLines) v.I13_44 += v.*m;
  for (auto m : kExclusiveLines) v.I13_45 += v.*m;
}

void Calc::FDE_TUDO(int show) {
  Vars& v = d_.vars;
  const Decimal old15 = v.I13_15;
  t_.I13_13T = t_.I13_14D = t_.I13_11T = t_.NFUNPRESP = Decimal();
  t_.I13_22C = t_.I13_22T = t_.I13_22P = t_.I13_24T = t_.DESPSIMP = Decimal();
  v.I13_14 = v.I13_15 = v.I13_16 = v.DESPDECLA = Decimal();
  v.DESPINST = " ";

  for (const store::imp06::Record& r : d_.IMP06) {
    const long long code = r.I6_3.whole();
    const Decimal amount = r.I6_4;
    if (code == 1 || code == 2) {
      t_.I13_13T += amount;
      v.DESPINST = positive(amount) ? "X" : " ";
    } else if (code >= 8 && code <= 26) {
      v.I13_14 += amount - r.I6_5;
      if (positive(amount)) t_.I13_14D += r.I6_5;
    } else if (code == 30 || code == 31) {
      v.I13_15 += amount;
    } else if (code == 33 || code == 34) {
      v.I13_16 += amount;
    } else if (code == 36 || code == 38) {
      t_.I13_11T += amount;
    } else if (code == 37) {
      t_.NFUNPRESP += amount;
    } else if (code == 39) {
      t_.I13_22C += amount;
    } else if (code >= 40 && code <= 44) {
      t_.I13_22T += amount;
    } else if (code == 45 || code == 46) {
      t_.I13_22P += amount;
    } else if (code == 50) {
      // Only the part within the deduction limit (the rest is kept in I6_5 by the entry
      // limit of departure and final declarations) counts for line 24.
      t_.I13_24T += base::max(amount - r.I6_5, Decimal());
      const Decimal contribution = positive(amount) ? amount : r.I6_5;
      v.DESPDECLA += contribution * kWageFactor + contribution;
    } else if ((code >= 51 && code <= 71) || code == 76 || code == 80 || code == 81 || code == 90 ||
               code == 98 || code == 99) {
      t_.DESPSIMP += amount;
    } else if (code == 72) {
      // Brokerage already counted in the capital gains.
      t_.DESPSIMP -= amount;
      v.DESPDECLA -= amount;
    }
    if (code != 50 && code != 72 && !(code >= 91 && code <= 97)) v.DESPDECLA += amount;
  }
  v.DESPDECLA = base::DESPREZA(v.DESPDECLA, 14);
  t_.JA_CALC = true;
  // The holder's monthly carnê-leão deductions include the alimony paid.
  if (v.I13_15 != old15 && v.CAL_AUTO.whole() == 1 && show != 2) {
    t_.LEAO_CAL = false;
    if (s_.carne_leao) s_.carne_leao(1);
  }
}

void Calc::CALC_LEAOTOTAL() {
  Vars& v = d_.vars;
  const bool paid_only = v.SO_REC || v.CAL_AUTO.whole() == 4;
  v.I13_29 = v.I13_30 = Decimal();
  for (const Leao& r : d_.IMP12) {
    Decimal year;
    for (int m = 0; m < 12; ++m) {
      const Decimal paid = r.*kPaid[m];
      year += paid_only ? paid : base::max(paid, r.*kDue[m]);
    }
    (flag(r.CPFdepen) == ' ' ? v.I13_29 : v.I13_30) += year;
  }
  t_.LEAO_CAL = true;
}

int Calc::NRODP() {
  t_.N_DEPEN = t_.alimony = 0;
  for (const store::imp03::Record& r : d_.IMP03) {
    const long long code = r.CODIDEPEN.whole();
    if (code < 98) ++t_.N_DEPEN;
    else if (code < 100) ++t_.alimony;
  }
  return t_.N_DEPEN;
}

void Calc::FI7_T() {
  Vars& v = d_.vars;
  v.I13_39 = v.I13_40 = Decimal();
  for (const store::imp04::Record& r : d_.IMP04) {
    v.I13_39 += r.I7_3;
    v.I13_40 += r.I7_4;
  }
}

void Calc::FI8_T() {
  Vars& v = d_.vars;
  v.I13_41 = v.I13_42 = v.I13_51 = Decimal();
  for (const store::imp05::Record& r : d_.IMP05) {
    v.I13_41 += r.I8_3;
    v.I13_42 += r.I8_4;
    v.I13_51 += r.I8_7;
  }
}

void Calc::FI10_1() {
  Vars& v = d_.vars;
  const Decimal zero;
  t_.VARPATR = (v.I13_40 + v.I13_41) - (v.I13_39 + v.I13_42);
  t_.I10_1 = base::max(t_.VARPATR, zero);
  t_.VARBEN = v.I13_40 - v.I13_39;
  t_.VARDIV = v.I13_42 - v.I13_41;
  const Decimal ben = t_.VARBEN, div = t_.VARDIV;
  if (ben >= zero && div >= zero) {
    v.EMPREST = base::max(div - ben, zero);
    t_.I10_2 = zero;
  } else if (ben < zero && div >= zero) {
    v.EMPREST = div;
    t_.I10_2 = -ben;
  } else if (ben < zero && div <= zero) {
    v.EMPREST = zero;
    t_.I10_2 = base::max(div - ben, zero);
  } else {
    v.EMPREST = zero;
    t_.I10_2 = zero;
  }
}

}  // namespace kardo::tax
