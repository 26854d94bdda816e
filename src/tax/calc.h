// The annual computation of one open declaration: the collectors that rebuild the working
// totals from the item rows, the summary lines I13_01 … I13_51, the balance and its quotas,
// the comparison of the complete and the simplified model, the cash-flow check, the
// simulators of the computation screen and the entry limits the payment and income grids
// apply while the operator types.
//
// A Calc works on a decl::Declaration it does not own and writes its results into the
// declaration's variables (the summary lines, IMPPGRE, QTD_QUOTA, DEBITAUT, DESPADRAO, the
// cash-flow fields) and into the non-deductible part I6_5 of the payment rows. The working
// totals that are not stored (private pension paid, education paid, donations, …) live in the
// Calc and are rebuilt by the collectors; keep one Calc per open declaration. Notices and
// questions go through the Operator; the computation screen paints the figures itself.
//
// Inputs that other computations produce (the carnê-leão lines 03, 04, 18, 49 and 50, the
// rural result line 07, the variable-income and capital-gain figures) are read from the
// declaration's stored fields.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/decimal.h"
#include "base/operator.h"
#include "decl/declaration.h"
#include "tax/table.h"

namespace kardo::tax {

struct Settings {
  Constants year = kYear;
  base::Date today;  // empty: the operator's clock
  // The quota count the operator typed on the computation screen, taken by the next quota
  // split and then cleared; empty when the operator typed nothing.
  std::optional<int> chosen_quotas;
  // Recomputes the carnê-leão matrices of the holder (screen 1) or of the dependants
  // (screen 2) and their summary lines; unset, the stored figures are used as they are.
  std::function<void(int screen)> carne_leao;
};

// Working totals of the open declaration, rebuilt by the collectors (not stored).
struct Totals {
  base::Decimal I13_11T;    // private pension paid (codes 36, 38)
  base::Decimal I13_13T;    // education paid (codes 01, 02)
  base::Decimal I13_14D;    // medical amounts reimbursed or not deductible
  base::Decimal I13_22T;    // incentive donations (codes 40 … 44)
  base::Decimal I13_22C;    // donations to the children's and adolescents' funds (code 39)
  base::Decimal I13_22P;    // codes 45 and 46
  base::Decimal I13_24T;    // domestic-employee social security, net of its non-deductible part
  base::Decimal NFUNPRESP;  // Funpresp contributions (code 37)
  base::Decimal NPREVTIT, NPREVDEP;  // official social security withheld, holder / dependants
  base::Decimal I13_10A, I13_10B, I13_25A, I13_25B, I13_34A, I13_34B;  // holder / dependants
  base::Decimal DESPSIMP;   // expenses of a simplified declaration (cash-flow check)
  base::Decimal exempt_dependants;     // dependants' exempt income (form 1 totals)
  base::Decimal exclusive_dependants;  // dependants' exclusive income (form 1 totals)
  base::Decimal I3_04D, I3_04C;        // typed and carried parts of exempt line 04
  base::Decimal I10_1, I10_2;          // increase and decrease of net wealth
  base::Decimal VARPATR, VARBEN, VARDIV;
  int N_DEPEN = 0;          // dependants (codes below 98)
  int alimony = 0;          // alimony recipients (codes 98, 99)
  bool JA_CALC = false;     // payment totals current; clear on every edit of the payments grid
  bool LEAO_CAL = false;    // carnê-leão totals current
  bool LTROCOU = false;     // the model was just switched: CALC returns at once
};

// What the comparison of the models found on the last summary run.
struct Comparison {
  base::Decimal NCOMPL;   // tax of the complete model
  base::Decimal NSIMPL;   // tax of the simplified model
  base::Decimal DESCON;   // discount subtracted from line 08 for line 20
  // "S" when the simplified model pays less, "N" when the complete one does, otherwise the
  // model in use ("N" for a blank model).
  char better = 'N';
  // The advice to show: the other model pays less (never for final or departure declarations).
  bool advise_simplified = false;
  bool advise_complete = false;
};

struct CashFlow {
  base::Decimal RECEITA, DESPESA, SALDO, INDGAS;
  bool alert = false;  // "PROBLEMA NO CAIXA!"
};

// The effective rate line of the computation screen.
struct EffectiveRate {
  std::string label;                 // "     Imposto a PAGAR", " Imposto a Restituir", "Sem saldo de Imposto"
  std::optional<base::Decimal> rate;  // percent, 2 decimals; empty shows "Zero"
};

// A fund that receives a direct donation (the dialog picks it from the fund table).
struct EcaFund {
  enum Kind { NACIONAL, ESTADUAL, MUNICIPAL } kind = NACIONAL;
  std::string UF;      // state code (state and municipal funds)
  std::string CIDADE;  // city (municipal funds)
  std::string CNPJ;    // the fund's CNPJ; the national fund's is fixed
};

class Calc {
 public:
  Calc(decl::Declaration& d, base::Operator& op, Settings settings = {});

  // The driver. screen 1, 2: carnê-leão totals; 3: exempt and exclusive totals; 4: payment
  // totals; 5: the parts of exempt line 04; 6: line 09 only; 7: the whole summary. show 1
  // lets the computation show its notices (the screen paints after the call), 0 computes
  // silently, 2 keeps the payment totals from asking for a carnê-leão recomputation.
  // Returns true.
  bool CALC(int screen, int show = 0);
  // Full silent recomputation when a declaration is opened or before it is saved (saving
  // then runs CALC(7)).
  void BALANCO();

  // Collectors.
  void FI1_T();                 // income lines
  void FDE_TUDO(int show = 0);  // payments
  void SOMA_TRIBENAO();         // lines 44 and 45
  void FI7_T();                 // asset totals, lines 39 and 40
  void FI8_T();                 // debt totals, lines 41, 42 and 51
  void FI10_1();                // wealth variation and new borrowing
  void CALC_LEAOTOTAL();        // carnê-leão paid, lines 29 and 30
  int NRODP();                  // dependants count

  // Tax by the annual table, replaced by the part-year table in a final or departure
  // declaration.
  base::Decimal tax(base::Decimal base);
  // Months a final or departure declaration covers (12 for a whole-year declaration);
  // `warn` shows the notice when the date it depends on is missing.
  int months(bool warn = false);
  // The most that may be deducted for a domestic employee: NMAXINSS, or its share for the
  // months of a departure or final declaration.
  base::Decimal domestic_limit();

  base::Decimal NCOMPL() const { return cmp_.NCOMPL; }
  base::Decimal NSIMPL() const { return cmp_.NSIMPL; }
  const Comparison& comparison() const { return cmp_; }
  const CashFlow& cash_flow() const { return cash_; }
  EffectiveRate ALIQUOTA() const;
  bool simplified() const;  // the model in use is the simplified one

  // Model switch from the computation screen; refused (with the system's message) for final
  // and departure declarations. Returns whether the model changed.
  bool MUDA();
  // On entering the computation screen: final and departure declarations become complete and
  // the simulator starts from zero.
  void ENTRA_TELA7();

  // Simulators. mode 1: tax balance with the extra deduction `value` (complete model);
  // mode 2: income for the balance `value` in the simplified model; mode 3: the same in the
  // complete model. Empty when the value is refused (a refund above the tax paid).
  std::optional<base::Decimal> SIMUL(int mode, base::Decimal value);

  // Entry checks of the payments grid on row `row` of IMP06: the amount was left (FDOAPAG)
  // or the non-deductible column was typed (FCONFNDEDU returns the value kept).
  void FDOAPAG(size_t row, int show = 1);
  base::Decimal FCONFNDEDU(size_t row, base::Decimal value);
  // The exempt retirement portion from age 65 typed on income row `row` of IMP02 (the holder's
  // line, or a dependant's line with I1_8); returns the value kept.
  base::Decimal LIMIT3(size_t row, base::Decimal value, bool dependant);

  // Direct donation to the children's and adolescents' funds: the amount still deductible
  // (LIMDOA); whether the dialog may open (ECA_ALLOWED shows the refusal; `from_menu` picks
  // the wording for a blank model); the check of the value typed (VELIMD); and the donation
  // itself, a code-39 payment (DOACAO_ECA, false when the value is refused).
  base::Decimal LIMDOA();
  bool ECA_ALLOWED(bool from_menu);
  bool VELIMD(base::Decimal value);
  bool DOACAO_ECA(const EcaFund& fund, base::Decimal value);

  const Totals& totals() const { return t_; }
  Totals& totals() { return t_; }
  Settings& settings() { return s_; }

 private:
  struct Allocation;  // the incentive donations' non-deductible parts for one tax
  struct Complete;    // the complete model's figures for one taxable income

  base::Date today();
  bool final_decl() const;
  bool departure() const;
  bool partition_dated() const;
  int month_in_year(base::Date date) const;
  Table table();
  void line08();
  void line09();
  base::Decimal education() const;
  base::Decimal domestic(base::Decimal tax23);
  Allocation allocate(base::Decimal tax21) const;
  Complete complete(base::Decimal income, base::Decimal deductions_but_11);
  base::Decimal other_deductions() const;
  void summary(bool full);
  void compare(const Complete& c);
  void foreign_limit();
  void balance();
  void quotas();
  void automatic_debit();
  void spouse();
  void CASH_FLOW();
  bool refund_refused(base::Decimal wanted, std::string_view text);
  base::Decimal search(const Table& t, base::Decimal target, base::Decimal deductions, base::Decimal factor);

  decl::Declaration& d_;
  base::Operator& op_;
  Settings s_;
  Totals t_;
  Comparison cmp_;
  CashFlow cash_;
  int show_ = 0;  // show argument of the run in progress
  bool warned_months_ = false;
};

}  // namespace kardo::tax
