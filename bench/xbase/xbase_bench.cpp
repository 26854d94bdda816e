// The table engine's workloads, each run whole once per iteration on a 4-field row (CPF C 11,
// NOME C 40, VALOR N 12.2, DATA D 8) with an index on CPF, the keys 11-digit strings in
// scrambled order. Setup (building the tables a workload starts from) is outside the timed
// part: every benchmark times itself and reports that time.
//
//   build-dir/bench/xbase_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "base/xtext.h"
#include "xbase/table.h"

namespace kardo::xbase {
namespace {

namespace fs = std::filesystem;
constexpr uint32_t kRows = 100000;

std::string cpf(uint32_t i) {  // distinct for i < 99999999977 (a prime): multiplication mod p is one to one
  unsigned long long v = (static_cast<unsigned long long>(i) * 2654435761ull + 12345) % 99999999977ull;
  char b[12];
  std::snprintf(b, sizeof b, "%011llu", v);
  return b;
}

void check(const Status& s, const char* what) {
  if (!s) {
    std::fprintf(stderr, "%s: %s\n", what, s.message().c_str());
    std::abort();
  }
}

template <class T>
T check(Result<T> r, const char* what) {
  check(r.status(), what);
  return std::move(*r);
}

const std::string& folder() {
  static std::string dir = [] {
    std::string t = (fs::temp_directory_path() / "kardo-xbase-bench-XXXXXX").string();
    if (!::mkdtemp(t.data())) std::abort();
    std::atexit([] { fs::remove_all(folder()); });
    return t;
  }();
  return dir;
}

std::string at(const std::string& name) { return folder() + "/" + name; }

const std::vector<FieldDef> kFields = {{"CPF", 'C', 11}, {"NOME", 'C', 40}, {"VALOR", 'N', 12, 2}, {"DATA", 'D', 8}};

// One appended row: prepared (begin_append) or as a blank record first (append_blank, which
// in a shared open also locks it, as the store's ADD_REC does).
Status fill(Table& t, uint32_t i, bool blank_first = false) {
  if (Status s = blank_first ? t.append_blank() : t.begin_append(); !s) return s;
  t.set_text(0, cpf(i));
  t.set_text(1, "CONTRIBUINTE " + std::to_string(i));
  if (Status s = t.set_number(2, base::Decimal::of(i * 123ll, 2)); !s) return s;
  t.set_date(3, base::Date(2018, 1 + i % 12, 1 + i % 28));
  return t.commit();
}

// MASTER.DBF with kRows rows and MASTER.CDX on CPF, made once; workloads start from copies.
void master() {
  static bool made = [] {
    auto t = check(Table::create(Env::posix(), at("MASTER.DBF"), kFields, Share::EXCLUSIVE, true), "create");
    for (uint32_t i = 0; i < kRows; ++i) check(fill(*t, i), "fill");
    check(t->create_index(at("MASTER.CDX"), "CPF"), "index");
    check(t->close(), "close");
    return true;
  }();
  (void)made;
}

// A copy of the master under `name` (NAME.DBF, NAME.CDX).
std::string copy_master(const std::string& name) {
  master();
  fs::copy_file(at("MASTER.DBF"), at(name + ".DBF"), fs::copy_options::overwrite_existing);
  fs::copy_file(at("MASTER.CDX"), at(name + ".CDX"), fs::copy_options::overwrite_existing);
  return at(name + ".DBF");
}

// The timed part's wall time is the benchmark's time; its processor time (this process's,
// user and system) is reported beside it as cpu_ms, which a busy machine does not inflate.
double cpu_seconds() {
  timespec ts;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

struct Start {
  std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
  double cpu = cpu_seconds();
};

void report(benchmark::State& state, const Start& start) {
  state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start.wall).count());
  state.counters["cpu_ms"] = (cpu_seconds() - start.cpu) * 1e3;
}

void Append100k(benchmark::State& state) {
  for (auto _ : state) {
    auto t = check(Table::create(Env::posix(), at("APP.DBF"), kFields, Share::EXCLUSIVE, true), "create");
    Start start;
    for (uint32_t i = 0; i < kRows; ++i) check(fill(*t, i), "append");
    check(t->close(), "close");
    report(state, start);
  }
}

void BuildIndex100k(benchmark::State& state) {
  for (auto _ : state) {
    std::string p = copy_master("BLD");
    auto t = check(Table::open(Env::posix(), p, Share::EXCLUSIVE), "open");
    Start start;
    check(t->create_index(at("BLD.CDX"), "CPF"), "build");
    check(t->close(), "close");
    report(state, start);
  }
}

void Seek100k(benchmark::State& state) {
  master();
  auto t = check(Table::open(Env::posix(), at("MASTER.DBF"), Share::EXCLUSIVE, true), "open");
  check(t->attach_index(at("MASTER.CDX")), "attach");
  std::vector<std::string> keys;
  for (uint32_t i = 0; i < kRows; ++i) keys.push_back(cpf((i * 7919u) % kRows));  // another scrambled order
  for (auto _ : state) {
    Start start;
    for (const std::string& k : keys) {
      check(t->seek(k), "seek");
      if (!t->found()) std::abort();
    }
    report(state, start);
  }
}

void AppendIndexed100k(benchmark::State& state) {
  for (auto _ : state) {
    auto t = check(Table::create(Env::posix(), at("API.DBF"), kFields, Share::EXCLUSIVE, true), "create");
    check(t->create_index(at("API.CDX"), "CPF"), "index");
    Start start;
    for (uint32_t i = 0; i < kRows; ++i) check(fill(*t, i), "append");
    check(t->close(), "close");
    report(state, start);
  }
}

void SharedSeekLockReplace10k(benchmark::State& state) {
  for (auto _ : state) {
    std::string p = copy_master("SSL");
    auto t = check(Table::open(Env::posix(), p, Share::SHARED), "open");
    check(t->attach_index(at("SSL.CDX")), "attach");
    Start start;
    for (uint32_t i = 0; i < 10000; ++i) {
      check(t->seek(cpf((i * 7919u) % kRows)), "seek");
      if (!t->found()) std::abort();
      check(t->lock_record(), "lock");
      check(t->set_number(2, base::Decimal::of(i, 2)), "replace");
      check(t->unlock(), "unlock");
    }
    check(t->close(), "close");
    report(state, start);
  }
}

void shared_append(benchmark::State& state, bool blank_first) {
  for (auto _ : state) {
    std::string p = copy_master("SAP");
    auto t = check(Table::open(Env::posix(), p, Share::SHARED), "open");
    check(t->attach_index(at("SAP.CDX")), "attach");
    Start start;
    for (uint32_t i = kRows; i < kRows + 10000; ++i) {
      check(fill(*t, i, blank_first), "append");
      check(t->unlock(), "unlock");
    }
    check(t->close(), "close");
    report(state, start);
  }
}

void SharedAppend10k(benchmark::State& state) { shared_append(state, false); }
void SharedAppendBlank10k(benchmark::State& state) { shared_append(state, true); }

// MASTER110: the master with 10,000 more rows, made once.
std::string master110() {
  static std::string p = [] {
    std::string q = copy_master("M110");
    auto t = check(Table::open(Env::posix(), q, Share::EXCLUSIVE), "open");
    check(t->attach_index(at("M110.CDX")), "attach");
    for (uint32_t i = kRows; i < kRows + 10000; ++i) check(fill(*t, i), "append");
    check(t->close(), "close");
    return q;
  }();
  return p;
}

void SharedWalk110k(benchmark::State& state) {
  std::string p = master110();
  auto t = check(Table::open(Env::posix(), p, Share::SHARED, true), "open");
  check(t->attach_index(at("M110.CDX")), "attach");
  for (auto _ : state) {
    Start start;
    uint32_t n = 0;
    for (check(t->go_top(), "top"); !t->eof(); check(t->skip(1), "skip")) ++n;
    report(state, start);
    if (n != kRows + 10000) std::abort();
  }
}

void Pack110k(benchmark::State& state) {
  std::string src = master110();
  for (auto _ : state) {
    fs::copy_file(src, at("PK.DBF"), fs::copy_options::overwrite_existing);
    fs::copy_file(at("M110.CDX"), at("PK.CDX"), fs::copy_options::overwrite_existing);
    auto t = check(Table::open(Env::posix(), at("PK.DBF"), Share::EXCLUSIVE), "open");
    check(t->attach_index(at("PK.CDX")), "attach");
    for (uint32_t r = 1; r <= 100000; r += 2) {  // 50,000 deleted, spread through the table
      check(t->go_to(r), "goto");
      check(t->delete_record(), "delete");
    }
    check(t->flush(), "flush");
    Start start;
    check(t->pack(), "pack");
    report(state, start);
    if (t->record_count() != 60000) std::abort();
  }
}

#define KARDO_BENCH(fn) BENCHMARK(fn)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond)
KARDO_BENCH(Append100k);
KARDO_BENCH(BuildIndex100k);
KARDO_BENCH(Seek100k);
KARDO_BENCH(AppendIndexed100k);
KARDO_BENCH(SharedSeekLockReplace10k);
KARDO_BENCH(SharedAppend10k);
KARDO_BENCH(SharedAppendBlank10k);
KARDO_BENCH(SharedWalk110k);
KARDO_BENCH(Pack110k);

}  // namespace
}  // namespace kardo::xbase

BENCHMARK_MAIN();
