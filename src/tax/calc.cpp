// The summary of the declaration: the driver CALC, the complete and simplified models, the
// incentive donations, the foreign-tax limit, the balance and its quotas, the cash-flow check.
#include "tax/calc.h"

#include <algorithm>

#include "base/codepage.h"
#include "base/mask.h"
#include "base/xtext.h"
#include "tax/internal.h"

namespace kardo::tax {

using base::Decimal;
using base::DESPREZA;
using detail::flag;
using detail::pct;
using detail::str;
using detail::positive;
using base::operator""_cp;

namespace {
std::string money(Decimal v, const char* mask = "@Ez 999,999,999.99") {
  return base::Mask::parse(mask).format(v);
}
}  // namespace

Calc::Calc(decl::Declaration& d, base::Operator& op, Settings settings)
    : d_(d), op_(op), s_(std::move(settings)) {}

base::Date Calc::today() { return s_.today.empty() ? op_.clock().today() : s_.today; }

bool Calc::final_decl() const { return flag(d_.vars.DecFinal) == 'S'; }
bool Calc::departure() const { return !final_decl() && flag(d_.vars.DecSaida) == 'S'; }
bool Calc::simplified() const { return flag(d_.vars.USAPADRAO) == 'S' && !final_decl() && !departure(); }

bool Calc::partition_dated() const {
  const decl::Vars& v = d_.vars;
  const char judicial = flag(v.DecJudi);
  return (!v.DataParti.empty() && judicial == 'S') || (!v.DataLavra.empty() && judicial == 'N');
}

// A date's month counted within the base year: a date before it counts as January, a date
// after it as December, so a wrong year never leaves a declaration with no months at all.
int Calc::month_in_year(base::Date date) const {
  if (date.year() < s_.year.NANOBASE) return 1;
  if (date.year() > s_.year.NANOBASE) return 12;
  return int(date.month());
}

int Calc::months(bool warn) {
  const decl::Vars& v = d_.vars;
  auto missing = [&](std::vector<std::string> lines) {
    if (warn && !warned_months_) op_.AVISOSN(std::move(lines));
    warned_months_ = true;
    return 12;
  };
  if (final_decl()) {
    const base::Date date = !v.DataParti.empty() ? v.DataParti : v.DataLavra;
    if (date.empty())
      return missing({str("Na declaração final o cálculo do Imposto"_cp), str("depende da data Partilha ou Lavratura"_cp),
                      str("O cálculo apresentado corresponde ao mês 12"_cp)});
    return month_in_year(date);
  }
  if (departure()) {
    if (v.DataSaida.empty())
      return missing({str("Na declaração de saída o cálculo do Imposto"_cp), str("depende da data da saída. Informe-a"_cp),
                      str("O cálculo apresentado corresponde ao mês 12"_cp)});
    const int last = month_in_year(v.DataSaida);
    // Resident from the decision date: only a date of the base year up to the departure
    // shortens the start; any other counts from January.
    int first = 1;
    if (!v.Datadecis.empty() && v.Datadecis.year() == s_.year.NANOBASE && int(v.Datadecis.month()) <= last)
      first = int(v.Datadecis.month());
    return last - first + 1;
  }
  return 12;
}

// Final and departure declarations are taxed by the part-year table, even for 12 months.
Table Calc::table() {
  if (!final_decl() && !departure()) return Table::annual(s_.year);
  return Table::part_year(months(show_ == 1), s_.year);
}

Decimal Calc::tax(Decimal base) { return table().tax(base); }

Decimal Calc::domestic_limit() {
  const decl::Vars& v = d_.vars;
  int m = 12;
  if (departure()) m = v.DataSaida.empty() ? 12 : month_in_year(v.DataSaida);
  else if (final_decl()) m = months(false);
  if (m >= 12) return s_.year.NMAXINSS;
  return DESPREZA(s_.year.NMAXINSS / Decimal(12) * Decimal(m), 14);
}

// Line 24: the domestic employee's social security, within the tax and the limit.
Decimal Calc::domestic(Decimal tax23) {
  return base::max(base::min(base::min(t_.I13_24T, tax23), domestic_limit()), Decimal());
}

void Calc::line08() {
  decl::Vars& v = d_.vars;
  v.I13_08 = v.I13_01 + v.I13_02 + v.I13_03 + v.I13_04 + v.I13_05 + v.I13_06 + v.I13_07 + v.I13_49 + v.I13_50;
}

// Line 13: one accumulator per person (the holder is 0, every dependant and alimony
// recipient its number, or its position when it has none), each capped as it grows.
Decimal Calc::education() const {
  std::vector<std::pair<long long, Decimal>> person{{0, Decimal()}};
  for (size_t i = 0; i < d_.IMP03.size(); ++i) {
    const auto& r = d_.IMP03[i];
    if (r.CODIDEPEN.whole() >= 100) continue;  // heirs
    const long long n = r.NRODEPEN.whole();
    person.push_back({n != 0 ? n : (long long)(i + 1), Decimal()});
  }
  for (const auto& p : d_.IMP06) {
    const long long code = p.I6_3.whole();
    if (code != 1 && code != 2) continue;
    for (auto& [number, acc] : person)
      if (number == p.I6_6.whole()) {
        acc = base::min(acc + p.I6_4, s_.year.NVALESCOL);
        break;
      }
  }
  Decimal total;
  for (const auto& pa : person) total += pa.second;
  return total;
}

Calc::Allocation Calc::allocate(Decimal tax21) const {
  Allocation a;
  auto walk = [&](long long from, long long to, Decimal room, Decimal& net) {
    for (size_t i = 0; i < d_.IMP06.size(); ++i) {
      const auto& r = d_.IMP06[i];
      const long long code = r.I6_3.whole();
      if (code < from || code > to) continue;
      const Decimal amount = base::max(r.I6_4, Decimal());
      Decimal nd;
      if (room > amount) {
        room -= amount;
      } else {
        nd = amount - room;
        room = Decimal();
      }
      a.I6_5.push_back({i, nd});
      net += amount - nd;
    }
    return room;
  };
  Decimal room = walk(40, 44, pct(tax21, 6), a.net40_44);
  walk(39, 39, base::min(room, pct(tax21, 3)), a.net39);
  walk(45, 45, pct(tax21, 1), a.net45_46);
  walk(46, 46, pct(tax21, 1), a.net45_46);
  a.line22 = base::max(base::min(a.net40_44 + a.net39 + a.net45_46, tax21), Decimal());
  return a;
}

// Deductions other than the private pension of line 11: lines 09, 10 and 12 … 18.
Decimal Calc::other_deductions() const {
  const decl::Vars& v = d_.vars;
  return v.I13_09 + v.I13_10 + v.I13_12 + v.I13_13 + v.I13_14 + v.I13_15 + v.I13_16 + v.I13_17 + v.I13_18;
}

Calc::Complete Calc::complete(Decimal income, Decimal deductions_but_11) {
  Complete c;
  c.l11 = base::max(base::min(t_.I13_11T, pct(income, 12)), Decimal());
  c.l19 = deductions_but_11 + c.l11;
  c.l20 = base::max(income - c.l19, Decimal());
  c.l21 = tax(c.l20);
  c.donations = allocate(c.l21);
  c.l22 = c.donations.line22;
  c.l23 = c.l21 - c.l22;
  c.l24 = domestic(c.l23);
  return c;
}

// The two models' taxes and the advice. The complete model's tax uses its incentive and
// domestic-employee deductions of this same run.
void Calc::compare(const Complete& c) {
  const decl::Vars& v = d_.vars;
  cmp_.NCOMPL = c.l23 - c.l24;
  cmp_.NSIMPL = tax(v.I13_08 - v.DESPADRAO);
  const bool simple = simplified();
  if (cmp_.NSIMPL < cmp_.NCOMPL) cmp_.better = 'S';
  else if (cmp_.NSIMPL > cmp_.NCOMPL) cmp_.better = 'N';
  else cmp_.better = simple ? 'S' : 'N';
  cmp_.advise_simplified = cmp_.advise_complete = false;
  if (!simple) {
    cmp_.DESCON = v.I13_19;
    cmp_.advise_simplified = cmp_.NSIMPL < cmp_.NCOMPL && !final_decl() && !departure();
    if (cmp_.advise_simplified && show_ == 1)
      op_.message_line("ATENÇÃO! É mais vantajoso usar o formulário simples"_cp);
  } else {
    cmp_.DESCON = v.DESPADRAO;
    cmp_.advise_complete = cmp_.NSIMPL > cmp_.NCOMPL && positive(v.I13_08);
    if (cmp_.NSIMPL > cmp_.NCOMPL && !positive(v.I13_08)) cmp_.DESCON = Decimal();
  }
}

// Tax paid abroad: at most the difference between the tax due with and without the income
// from abroad, both computed by the same rule. The tax on accumulated income taxed apart
// (line 25) does not depend on the income from abroad and stays out of both.
void Calc::foreign_limit() {
  decl::Vars& v = d_.vars;
  const Decimal abroad = v.I13_49 + v.I13_50;
  if (abroad.is_zero()) {
    v.I13_32 = Decimal();
    return;
  }
  const Decimal income = v.I13_08 - abroad;
  Decimal with, without;
  if (simplified()) {
    with = tax(v.I13_08 - DESPADRAO(v.I13_08, s_.year));
    without = tax(income - DESPADRAO(income, s_.year));
  } else {
    with = base::max(v.I13_23 - v.I13_24, Decimal());
    without = complete(income, other_deductions()).due();
  }
  const Decimal limit = with - without;
  if (!positive(limit)) {
    v.I13_32 = Decimal();
    return;
  }
  if (v.IR_EXTER > limit && v.I13_32 != limit && show_ == 1)
    op_.AVISOSN(std::vector<std::string>{
        str("O imposto pago no exterior "_cp) + money(v.IR_EXTER) + str(" não pode execeder "_cp),
        str("a diferença entre o imposto devido com e sem esses rendimentos.     "_cp),
        str("Ir devido com o Rendimento Exterior:"_cp) + money(with) + "     ",
        str("Ir devido sem o Rendimento Exterior:"_cp) + money(without) + "     ",
        str("       O limite Legal assumido é de.....:"_cp) + money(limit)});
  v.I13_32 = base::min(v.IR_EXTER, limit);
}

void Calc::balance() {
  decl::Vars& v = d_.vars;
  v.IMPPGRE = v.I13_26 - v.I13_35;
  v.I13_36 = base::max(v.IMPPGRE, Decimal());
  v.I13_38 = base::max(-v.IMPPGRE, Decimal());
}

void Calc::automatic_debit() {
  decl::Vars& v = d_.vars;
  const int filing = s_.year.NANOBASE + 1;
  if (v.QTD_QUOTA.whole() != 1 || flag(v.DEBITAUT) == 'N') return;
  if (today() <= base::Date(filing, 3, 31)) return;
  if (!v.DENTREGA.empty() && v.DENTREGA < base::Date(filing, 4, 1)) return;
  v.DEBITAUT = "N";
  if (show_ == 1)
    op_.AVISOSN(str("Não é permitido débito automático com uma quota após 31/03/20"_cp) +
                std::to_string(filing % 100));
}

// Quotas of the balance to pay: each at least 50.00, eight at most. A final declaration
// with a partition date and a departure declaration pay in one quota.
void Calc::quotas() {
  decl::Vars& v = d_.vars;
  std::optional<int> typed = s_.chosen_quotas;
  s_.chosen_quotas.reset();
  if (typed) v.QTD_QUOTA = Decimal(std::clamp(*typed, 0, 9));
  if (!positive(v.I13_36)) {
    v.QTD_QUOTA = Decimal();
    v.I13_37 = Decimal();
    v.DEBITAUT = " ";
    return;
  }
  const long long n = std::clamp((v.I13_36 / Decimal(50)).whole(), 1LL, 8LL);
  long long q = v.QTD_QUOTA.whole();
  if (q <= 0 || q > n) {
    q = n;
    if (n == 1) v.DEBITAUT = " ";
  }
  if (final_decl() && partition_dated()) {
    if (typed && *typed > 1)
      op_.AVISOSN(std::vector<std::string>{str(" ATENÇÃO! Não é permitido o"_cp), str("parcelamento em declaração final"_cp)});
    q = 1;
  }
  if (departure()) q = 1;
  v.QTD_QUOTA = Decimal(q);
  v.I13_37 = DESPREZA(v.I13_36 / Decimal(q), 14);
  automatic_debit();
}

void Calc::spouse() {
  decl::Vars& v = d_.vars;
  // Figures fetched from the spouse's own declaration keep the result computed there.
  if (flag(v.I9_4) != 'S') v.I9_2 = v.I13_1C + v.I13_2C + v.I13_3C + v.I13_5C - v.I13_4C;
  v.I13_43 = v.I9_2;
  v.I9_3 = v.I9_2;
}

// Receipts against expenses of the year: a declaration whose expenses reach its receipts, or
// leave less than INDALERTA percent of them, is flagged.
void Calc::CASH_FLOW() {
  decl::Vars& v = d_.vars;
  CashFlow& c = cash_;
  c.RECEITA = v.I9_3 + t_.I10_2 + v.EMPREST + v.EMPRUR + v.OUTREC + v.ENTRADGP - v.ISENTNAO + v.EXGSUSP +
              v.I13_08 + v.I13_44 + v.I13_45 - v.I4_03 + v.LUCRRVA + v.I13_34;
  if (flag(v.SOMAG) != 'N') c.RECEITA += v.VALFUTUR;
  c.DESPESA = v.IMPOANTER + v.I13_35 + v.I13_46 + v.I13_47 + v.I13_48 + t_.I10_1 + v.AMORUR + v.PREJRVA +
              v.PREJVEN1 + v.PREJRUR + v.DESPNAO + v.OUTRDES + v.CUSTOANO + v.CUSTOANT;
  if (simplified() && flag(v.SO_SIMPLES) == 'S') c.DESPESA += v.DESPADRAO + t_.DESPSIMP;
  else if (simplified()) c.DESPESA += v.DESPDECLA + v.I13_09 + v.I13_18;
  else c.DESPESA += v.DESPDECLA + v.I13_09 + v.I13_12 + v.I13_18;
  c.SALDO = c.RECEITA - c.DESPESA;
  c.INDGAS = DESPREZA(c.SALDO / c.RECEITA * Decimal(100), 14);
  if (c.INDGAS < dec(-9999, 2)) c.INDGAS = dec(-9999, 2);
  if (c.INDGAS >= Decimal(1000)) c.INDGAS = Decimal(999);  // the field holds up to 999.99
  c.SALDO = base::max(c.SALDO, dec(-99999999'99, 2));
  c.alert = !positive(c.SALDO) || c.INDGAS < v.INDALERTA;
  v.SALDO = c.SALDO;
  v.INDGAS = c.INDGAS;
}

// Lines 08 … 38 in the order of the rules. `full` adds the foreign-tax limit, the quotas and
// the exempt and exclusive totals (the whole summary of CALC); BALANCO leaves them out.
void Calc::summary(bool full) {
  decl::Vars& v = d_.vars;
  line08();
  // The complete model's deductions are kept current in both models: they are what the
  // comparison and a switch of model work from.
  v.I13_12 = Decimal(t_.N_DEPEN) * s_.year.NVALDEPANO;
  v.I13_13 = education();
  const Complete c = complete(v.I13_08, other_deductions());
  v.I13_11 = c.l11;
  v.I13_19 = c.l19;
  v.DESPADRAO = DESPADRAO(v.I13_08, s_.year);
  compare(c);
  if (simplified()) {
    v.I13_20 = base::max(v.I13_08 - cmp_.DESCON, Decimal());
    v.I13_21 = tax(v.I13_20);
    v.I13_22 = Decimal();
    v.I13_23 = v.I13_21;
    v.I13_24 = domestic(v.I13_23);
    v.I13_26 = v.I13_23 + v.I13_25;
  } else {
    v.I13_20 = c.l20;
    v.I13_21 = c.l21;
    for (const auto& [row, nd] : c.donations.I6_5) d_.IMP06[row].I6_5 = nd;
    v.I13_22 = c.l22;
    v.I13_23 = c.l23;
    v.I13_24 = c.l24;
    v.I13_26 = base::max(v.I13_23 + v.I13_25 - v.I13_24, Decimal());
  }
  if (full) foreign_limit();
  v.I13_35 = v.I13_27 + v.I13_28 + v.I13_29 + v.I13_30 + v.I13_31 + v.I13_32 + v.I13_33 + v.I13_34;
  balance();
  if (full) {
    quotas();
    SOMA_TRIBENAO();
  }
}

bool Calc::CALC(int screen, int show) {
  if (t_.LTROCOU) return true;
  show_ = show;
  warned_months_ = false;
  decl::Vars& v = d_.vars;
  switch (screen) {
    case 1:
    case 2:
      if (s_.carne_leao) s_.carne_leao(screen);
      CALC_LEAOTOTAL();
      break;
    case 3:
      SOMA_TRIBENAO();
      break;
    case 4:
      if (!t_.JA_CALC) FDE_TUDO(show);
      break;
    case 5:
      t_.I3_04D = v.I3_04GCPV + v.I3_04UNIC + v.I3_04REDU + v.I3_04EXTR;
      t_.I3_04C = v.I3_04GCPVC + v.I3_04UNICC + v.I3_04REDUC;
      v.I3_04 = t_.I3_04D + t_.I3_04C;
      SOMA_TRIBENAO();
      break;
    case 6:
      line09();
      break;
    case 7:
      // Final and departure declarations can only be complete.
      if (final_decl() || departure()) v.USAPADRAO = "N";
      if (!t_.JA_CALC) FDE_TUDO(show);
      CALC_LEAOTOTAL();
      line09();
      automatic_debit();
      summary(true);
      CASH_FLOW();
      break;
    default:
      break;
  }
  show_ = 0;
  return true;
}

void Calc::BALANCO() {
  if (final_decl() || departure()) d_.vars.USAPADRAO = "N";
  NRODP();
  t_.JA_CALC = t_.LEAO_CAL = false;
  CALC(1, 2);
  CALC(3, 0);
  CALC(4, 2);
  FI1_T();
  FI7_T();
  FI8_T();
  FI10_1();
  show_ = 0;
  warned_months_ = false;
  summary(false);
  spouse();
  CASH_FLOW();
  t_.JA_CALC = true;
}

EffectiveRate Calc::ALIQUOTA() const {
  const decl::Vars& v = d_.vars;
  auto rate = [&](Decimal tax) { return DESPREZA(tax / v.I13_08 * Decimal(100), 14); };
  EffectiveRate e;
  if (positive(v.I13_36)) {
    e.label = "     Imposto a PAGAR";
    e.rate = rate(v.I13_36 + v.I13_35);
  } else if (positive(v.I13_38)) {
    e.label = " Imposto a Restituir";
    e.rate = rate(v.I13_35 - v.I13_38);  // all of it refunded: no tax, rate 0
  } else {
    e.label = "Sem saldo de Imposto";
    if (positive(v.I13_35)) e.rate = rate(v.I13_35);
  }
  return e;
}

bool Calc::MUDA() {
  if (final_decl()) {
    op_.AVISOSN(str("A declaração final de espólio só pode ser uma completa"_cp));
    return false;
  }
  if (departure()) {
    op_.AVISOSN(str("A declaração de saída definitiva só pode ser uma completa"_cp));
    return false;
  }
  d_.vars.USAPADRAO = simplified() ? "N" : "S";  // a blank model is the complete one
  t_.LTROCOU = true;
  return true;
}

void Calc::ENTRA_TELA7() {
  if (final_decl() || departure()) d_.vars.USAPADRAO = "N";
}

}  // namespace kardo::tax
