// Loading and saving one declaration in demo folders of 1,000 and 10,000 taxpayers: the cost
// must follow the taxpayer's rows, not the folder's.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <map>
#include <memory>

#include "decl/demo.h"
#include "decl/workset.h"
#include "store/abertura.h"
#include "tax/calc.h"

using namespace kardo;

namespace {

struct Bench {
  base::SystemClock clock;
  base::ScriptedOperator op{clock};
  store::Session s{op, xbase::Env::posix()};
  std::string dir;
  std::unique_ptr<tax::Calc> calc;
  decl::Engines engines;

  explicit Bench(long taxpayers) {
    std::string t = (std::filesystem::temp_directory_path() / "kardo-bench-XXXXXX").string();
    if (!::mkdtemp(t.data())) std::abort();
    dir = t;
    s.NUSU = "01";
    s.folders.ARQDEF = s.folders.LOCARQ = s.folders.LOCTRAB = dir + "/";
    engines.recompute = [this](store::Session& ss, decl::Declaration& d) {
      calc = std::make_unique<tax::Calc>(d, ss.op, tax::Settings{});
      calc->BALANCO();
    };
    engines.final_step = [this](store::Session&, decl::Declaration&) { calc->CALC(7); };
    long added = 0;
    if (!decl::write_demo_declarations(s, 5, taxpayers, engines, &added)) std::abort();
    s.close_all();
  }
  ~Bench() {
    s.close_all();
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
};

Bench& folder(long taxpayers) {
  static std::map<long, std::unique_ptr<Bench>> folders;
  auto& b = folders[taxpayers];
  if (!b) b = std::make_unique<Bench>(taxpayers);
  return *b;
}

void LoadDeclaration(benchmark::State& state) {
  Bench& b = folder(state.range(0));
  uint32_t i = 0;
  for (auto _ : state) {
    decl::Declaration d;
    std::string cpf = decl::make_demo_declaration(5, (i++ * 37) % uint32_t(state.range(0))).vars.CPF;
    if (!decl::INIC_VAR(b.s, d, cpf, {.mark_open = false}, b.engines)) state.SkipWithError("load failed");
    b.s.close_all();
  }
}

void SaveDeclaration(benchmark::State& state) {
  Bench& b = folder(state.range(0));
  uint32_t i = 0;
  for (auto _ : state) {
    state.PauseTiming();
    decl::Declaration d;
    std::string cpf = decl::make_demo_declaration(5, (i++ * 37) % uint32_t(state.range(0))).vars.CPF;
    if (!decl::INIC_VAR(b.s, d, cpf, {.mark_open = false}, b.engines)) state.SkipWithError("load failed");
    b.s.close_all();
    state.ResumeTiming();
    if (!decl::SALVATUDO(b.s, d, {.final = true, .batch = true}, b.engines)) state.SkipWithError("save failed");
    b.s.close_all();
  }
}

}  // namespace

BENCHMARK(LoadDeclaration)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SaveDeclaration)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
