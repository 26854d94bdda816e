// Recomputing one typical declaration as opening and saving do (BALANCO, then the whole
// summary): a holder with two employers, income from abroad, a dependant and an alimony
// recipient, a dozen payments (education, medical, pension, donations, a domestic employee),
// twenty assets, three debts and two carnê-leão grids. The target is well under 1 ms.
//
//   build-dir/bench/tax_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include "base/clock.h"
#include "base/operator.h"
#include "decl/declaration.h"
#include "tax/calc.h"

namespace kardo::tax {
namespace {

using base::Decimal;

Decimal D(const char* s) { return Decimal::parse(s).value(); }

decl::Declaration typical() {
  decl::Declaration d;
  decl::LIMPVAR(d.vars);
  d.vars.CPF = "12345678909";
  d.vars.USAPADRAO = "N";
  d.vars.INDALERTA = 10;
  d.vars.I13_49 = D("12000");
  d.vars.IR_EXTER = D("900");
  d.vars.OUTRDES = D("30000");
  auto income = [&](const char* kind, const char* amount, const char* withheld, const char* social) {
    store::imp02::Record r;
    r.CPF = d.vars.CPF;
    r.I1_1 = kind;
    r.I1_11 = kind[0] == 'D' ? "N" : "S";
    r.I1_3 = "11.222.333/0001-81";
    r.I1_4 = D(amount);
    r.I1_5 = D(withheld);
    r.I1_6 = D(social);
    r.I1_7 = D("5000");
    r.I1_15 = D("2000");
    r.I1_38 = D("800");
    d.IMP02.push_back(r);
  };
  income("J", "96000", "14000", "7000");
  income("J", "24000", "1500", "2600");
  income("D", "18000", "0", "1900");
  for (int code : {98}) {
    store::imp03::Record f;
    f.CODIDEPEN = code;
    d.IMP03.push_back(f);
  }
  store::imp03::Record child;
  child.CODIDEPEN = 3;
  child.NRODEPEN = 1;
  d.IMP03.insert(d.IMP03.begin(), child);
  struct P { int code; const char* amount; int person; } pays[] = {
      {1, "4200", 1}, {1, "1800", 0}, {10, "3500", 0}, {10, "1200", 1}, {13, "800", 0}, {26, "2900", 1},
      {30, "6000", 2}, {36, "9000", 0}, {40, "300", 0}, {39, "200", 0}, {50, "1100", 0}, {61, "700", 0},
  };
  for (const P& p : pays) {
    store::imp06::Record r;
    r.I6_3 = p.code;
    r.I6_4 = D(p.amount);
    r.I6_6 = p.person;
    d.IMP06.push_back(r);
  }
  for (int i = 0; i < 20; ++i) {
    store::imp04::Record a;
    a.I7_3 = Decimal(10000 + 100 * i);
    a.I7_4 = Decimal(10500 + 100 * i);
    d.IMP04.push_back(a);
  }
  for (int i = 0; i < 3; ++i) {
    store::imp05::Record b;
    b.I8_3 = Decimal(20000);
    b.I8_4 = Decimal(15000);
    b.I8_7 = Decimal(6000);
    d.IMP05.push_back(b);
  }
  store::imp12::Record holder, dependant;
  holder.I2_501 = D("120");
  holder.I2_601 = D("135.20");
  dependant.CPFdepen = "11111111111";
  d.IMP12 = {holder, dependant};
  return d;
}

void BM_RecomputeDeclaration(benchmark::State& state) {
  base::FixedClock clock(base::Date(2019, 3, 20));
  base::ScriptedOperator op(clock);
  decl::Declaration d = typical();
  Calc calc(d, op);
  for (auto _ : state) {
    calc.BALANCO();
    calc.CALC(7, 0);
    benchmark::DoNotOptimize(d.vars.IMPPGRE);
  }
  state.counters["IMPPGRE"] = double(d.vars.IMPPGRE.whole());
}
BENCHMARK(BM_RecomputeDeclaration)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kardo::tax

BENCHMARK_MAIN();
