#include "xbase/cdx.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>

#include "xbase/fault_env.h"
#include "xbase/xbase_test_util.h"

namespace kardo::xbase {
namespace {

using base::Code;
using base::Date;
using base::Decimal;

std::string fixture(const std::string& name) { return xbase::testing::fixtures() + "/" + name; }

using xbase::testing::slurp;
using xbase::testing::spit;


// Just enough of a DBF reader to get the key of each record of a fixture.
struct Dbf {
  std::vector<FieldInfo> fields;
  std::vector<std::string> records;  // 0-based: record r is records[r - 1]

  explicit Dbf(const std::string& path) {
    std::string b = slurp(path);
    auto u16 = [&](size_t o) { return size_t(uint8_t(b[o])) | size_t(uint8_t(b[o + 1])) << 8; };
    size_t count = u16(4) | u16(6) << 16, header = u16(8), length = u16(10);
    std::vector<FieldDef> defs;
    for (size_t o = 32; o < header && b[o] != '\x0D'; o += 32) {
      FieldDef d;
      d.name = std::string(b.data() + o, strnlen(b.data() + o, 11));
      d.type = b[o + 11];
      d.width = uint8_t(b[o + 16]) | (d.type == 'C' ? uint8_t(b[o + 17]) << 8 : 0);
      d.decimals = d.type == 'C' ? 0 : uint8_t(b[o + 17]);
      defs.push_back(d);
    }
    layout_fields(defs, fields);
    for (size_t r = 0; r < count; ++r) records.push_back(b.substr(header + r * length, length));
  }
};

std::vector<uint32_t> order_manifest(const std::string& name, std::string* expression) {
  std::ifstream in(fixture(name));
  std::string line;
  std::getline(in, line);
  *expression = line.substr(std::string("# key: ").size());
  std::vector<uint32_t> out;
  while (std::getline(in, line))
    if (!line.empty()) out.push_back(uint32_t(std::stoul(line)));
  return out;
}

using Entries = std::vector<IndexEntry>;

// Every entry first to last, then checks that last to first gives the same backwards.
Entries walk(CdxIndex& idx) {
  Entries out;
  auto e = idx.first();
  EXPECT_TRUE(e) << e.status().message();
  while (e && e->has_value()) {
    out.push_back(**e);
    e = idx.next(**e);
    EXPECT_TRUE(e) << e.status().message();
  }
  Entries back;
  e = idx.last();
  while (e && e->has_value()) {
    back.push_back(**e);
    e = idx.prev(**e);
    EXPECT_TRUE(e) << e.status().message();
  }
  std::reverse(back.begin(), back.end());
  EXPECT_EQ(back, out);
  return out;
}

// The entry a seek must find in the sorted entries: the first whose key, cut to the
// prefix's length, is not below the prefix.
std::optional<IndexEntry> expected_seek(const Entries& sorted, const std::string& prefix) {
  auto it = std::partition_point(sorted.begin(), sorted.end(),
                                 [&](const IndexEntry& e) { return e.key.compare(0, prefix.size(), prefix) < 0; });
  if (it == sorted.end()) return std::nullopt;
  return *it;
}

void check_seeks(CdxIndex& idx, const Entries& sorted, size_t step) {
  for (size_t i = 0; i < sorted.size(); i += step) {
    const std::string& k = sorted[i].key;
    std::string soft = k;
    soft.back() = char(uint8_t(soft.back()) + 1);  // just past every entry with this key
    for (const std::string& p : {k, k.substr(0, (k.size() + 1) / 2), soft, std::string()}) {
      auto got = idx.seek(p);
      ASSERT_TRUE(got) << got.status().message();
      ASSERT_EQ(*got, expected_seek(sorted, p)) << "seek of entry " << i;
    }
  }
  auto past = idx.seek(std::string(size_t(idx.key_length()), '\xFF'));
  ASSERT_TRUE(past);
  EXPECT_EQ(*past, expected_seek(sorted, std::string(size_t(idx.key_length()), '\xFF')));
}

struct FixtureCase {
  const char* table;
  const char* cdx;
  const char* tag;
  char type;
};

TEST(CdxFixtures, ReadsWhatAnotherEngineWrote) {
  const FixtureCase cases[] = {
      {"PESSOAS", "PESSOAS", "PESSOAS", 'C'},   {"PESSOAS", "PESSOASB", "PESSOASB", 'C'},
      {"PESSOAS", "PESSOASC", "PESSOASC", 'N'}, {"VALORES", "VALORES", "VALORES", 'N'},
      {"VALORES", "VALORESB", "VALORESB", 'C'}, {"VALORES", "VALORESC", "VALORESC", 'C'},
      {"GRANDE", "GRANDE", "GRANDE", 'C'},      {"NOTAS", "NOTAS", "NOTAS", 'C'},
  };
  for (const FixtureCase& c : cases) {
    SCOPED_TRACE(c.cdx);
    Dbf dbf(fixture(std::string(c.table) + ".dbf"));
    std::string expression;
    std::vector<uint32_t> order = order_manifest(std::string(c.table) + "." + c.tag + ".order", &expression);
    ASSERT_EQ(order.size(), dbf.records.size());
    auto idx = CdxIndex::open(Env::posix(), fixture(std::string(c.cdx) + ".cdx"), true, dbf.fields);
    ASSERT_TRUE(idx) << idx.status().message();
    CdxIndex& x = **idx;
    EXPECT_EQ(x.tag(), c.tag);
    EXPECT_EQ(x.expression(), expression);
    EXPECT_EQ(x.key_type(), c.type);
    Result<KeyExpr> expr = KeyExpr::compile(x.expression(), dbf.fields);
    ASSERT_TRUE(expr);
    EXPECT_EQ(x.key_length(), expr->length());

    // The order of the manifest, and each key exactly as our expression computes it.
    Entries entries = walk(x);
    ASSERT_EQ(entries.size(), order.size());
    for (size_t i = 0; i < entries.size(); ++i) {
      ASSERT_EQ(entries[i].recno, order[i]) << "position " << i;
      ASSERT_EQ(entries[i].key, expr->key(dbf.records[order[i] - 1].data())) << "record " << order[i];
    }
    check_seeks(x, entries, 7);

    // The short open form guesses the same kind of key for these files.
    auto plain = CdxIndex::open(Env::posix(), fixture(std::string(c.cdx) + ".cdx"), true);
    ASSERT_TRUE(plain);
    EXPECT_EQ((*plain)->key_type() == 'C', c.type == 'C');
  }
}

// Building the fixtures' indexes again gives the same order and keys; and it gives the
// same pages as the other engine where it fills them as it does.
TEST(CdxFixtures, RebuiltIndexReadsTheSame) {
  xbase::testing::ScratchDir dir;
  for (const char* table : {"PESSOAS", "VALORES", "GRANDE"}) {
    SCOPED_TRACE(table);
    Dbf dbf(fixture(std::string(table) + ".dbf"));
    auto theirs = CdxIndex::open(Env::posix(), fixture(std::string(table) + ".cdx"), true, dbf.fields);
    ASSERT_TRUE(theirs);
    Result<KeyExpr> expr = KeyExpr::compile((*theirs)->expression(), dbf.fields);
    ASSERT_TRUE(expr);
    Entries entries;
    for (size_t r = dbf.records.size(); r > 0; --r) entries.push_back({expr->key(dbf.records[r - 1].data()), uint32_t(r)});
    std::string path = dir / (std::string(table) + ".cdx");
    auto ours = CdxIndex::create(Env::posix(), path, table, *expr, entries);
    ASSERT_TRUE(ours) << ours.status().message();
    EXPECT_EQ(walk(**ours), walk(**theirs));
    auto again = CdxIndex::open(Env::posix(), path, true, dbf.fields);
    ASSERT_TRUE(again) << again.status().message();
    EXPECT_EQ((*again)->tag(), table);
    EXPECT_EQ((*again)->expression(), (*theirs)->expression());
    // Headers: same fields as theirs (root and counters aside).
    std::string a = slurp(path), b = slurp(fixture(std::string(table) + ".cdx"));
    EXPECT_EQ(a.substr(12, 8), b.substr(12, 8));
    EXPECT_EQ(a.substr(1536 + 12, 8), b.substr(1536 + 12, 8));
    EXPECT_EQ(a.substr(1536 + 502, 1024 - 502), b.substr(1536 + 502, 1024 - 502));
    EXPECT_EQ(a.substr(1024, 512), b.substr(1024, 512)) << "tag directory";
    EXPECT_EQ(a.substr(2560, 512), b.substr(2560, 512)) << "first leaf";
  }
}

// A table of one C field, to make key expressions of any length for the tests.
struct Table1 {
  std::vector<FieldInfo> fields;
  explicit Table1(std::vector<FieldDef> defs) { layout_fields(defs, fields); }
  KeyExpr expr(const char* e) const { return *KeyExpr::compile(e, fields); }
};

using Model = std::set<std::pair<std::string, uint32_t>>;

void check_against(CdxIndex& idx, const Model& model, std::mt19937& rng) {
  Entries sorted;
  for (auto& [k, r] : model) sorted.push_back({k, r});
  ASSERT_EQ(walk(idx), sorted);
  check_seeks(idx, sorted, std::max<size_t>(1, sorted.size() / 40));
  // next/prev from entries that are not in the index land where they would be.
  for (int i = 0; i < 20 && !sorted.empty(); ++i) {
    IndexEntry probe = sorted[rng() % sorted.size()];
    probe.recno += 1u << 30;
    auto n = idx.next(probe);
    ASSERT_TRUE(n);
    auto after = model.upper_bound({probe.key, probe.recno});
    ASSERT_EQ(n->has_value(), after != model.end());
    if (after != model.end()) {
      EXPECT_EQ(**n, (IndexEntry{after->first, after->second}));
    }
    auto p = idx.prev(probe);
    ASSERT_TRUE(p);
    auto before = model.lower_bound({probe.key, probe.recno});
    ASSERT_EQ(p->has_value(), before != model.begin());
    if (before != model.begin()) {
      EXPECT_EQ(**p, (IndexEntry{std::prev(before)->first, std::prev(before)->second}));
    }
  }
}

// Random inserts and removes against a model, for short keys (wide pages, many duplicates)
// and long ones (deep trees whose root splits and collapses often). Some record numbers are
// large, so that pages change the widths of their entries; one batch adds a long run of one
// key in record order, as the items of one taxpayer arrive.
TEST(CdxWrite, FollowsAModelThroughInsertsAndRemoves) {
  for (int kl : {6, 100, 240}) {
    SCOPED_TRACE(kl);
    xbase::testing::ScratchDir dir;
    std::mt19937 rng{uint32_t(kl)};
    Table1 t({{"K", 'C', kl, 0}});
    KeyExpr expr = t.expr("K");
    // Few distinct keys, so that duplicates abound; blanks at the end to exercise the trailing count.
    auto random_key = [&] {
      std::string k(size_t(kl), ' ');
      size_t used = 1 + rng() % std::min(kl, 4);
      for (size_t i = 0; i < used; ++i) k[i] = char('A' + rng() % 4);
      if (rng() % 3 == 0) k[size_t(kl) - 1] = 'z';
      return k;
    };
    Model model;
    uint32_t next_rec = 1;
    auto new_rec = [&] { return next_rec++ | (rng() % 4 ? 0 : 1u << 25); };
    Entries initial;
    for (int i = 0; i < 1500; ++i) {
      initial.push_back({random_key(), new_rec()});
      model.insert({initial.back().key, initial.back().recno});
    }
    std::string path = dir / "T.cdx";
    auto made = CdxIndex::create(Env::posix(), path, "T", expr, initial);
    ASSERT_TRUE(made) << made.status().message();
    std::unique_ptr<CdxIndex> idx = std::move(*made);
    check_against(*idx, model, rng);

    // Batches that grow, shrink to nothing and grow again.
    for (int batch = 0; batch < 14; ++batch) {
      int insert_pct = batch < 4 ? 70 : batch < 9 ? 0 : 60;
      for (int op = 0; op < 400; ++op) {
        if (int(rng() % 100) < insert_pct || model.empty()) {
          IndexEntry e{random_key(), new_rec()};
          Status st = idx->insert(e);
          ASSERT_TRUE(st) << batch << st.message();
          model.insert({e.key, e.recno});
        } else {
          auto it = model.begin();
          std::advance(it, long(rng() % model.size()));
          ASSERT_TRUE(idx->remove({it->first, it->second})) << batch;
          model.erase(it);
        }
      }
      if (batch == 10) {
        std::string same = random_key();
        for (int i = 0; i < 300; ++i) {
          IndexEntry e{same, (1u << 26) + next_rec++};
          ASSERT_TRUE(idx->insert(e)) << i;
          model.insert({e.key, e.recno});
        }
      }
      EXPECT_EQ(idx->remove({random_key(), 1u << 31}).code(), Code::NOT_FOUND);
      ASSERT_TRUE(idx->flush());
      check_against(*idx, model, rng);
      if (batch % 3 == 2) {  // what is on disk says the same
        auto again = CdxIndex::open(Env::posix(), path, false, t.fields);
        ASSERT_TRUE(again) << again.status().message();
        idx = std::move(*again);
        check_against(*idx, model, rng);
      }
    }
    EXPECT_EQ(idx->insert({model.begin()->first, model.begin()->second}).code(), Code::INVALID);
  }
}

TEST(CdxWrite, NumericAndDateKeys) {
  xbase::testing::ScratchDir dir;
  Table1 t({{"VALOR", 'N', 12, 2}, {"DATA", 'D', 8, 0}});
  std::vector<Decimal> values;
  for (int i = -60; i <= 60; ++i) values.push_back(Decimal::of(i * i * i * 37 % 100003, 2));
  for (Decimal d : {Decimal(), Decimal(1), Decimal(-1), Decimal::of(5, 1), Decimal::of(-99999999999, 2)})
    values.push_back(d);
  std::vector<Date> dates = {Date(), Date(1900, 1, 1), Date(1999, 12, 31), Date(2000, 2, 29), Date(2018, 1, 1),
                             Date(2019, 4, 30)};
  struct Kind {
    const char* expression;
    char type;
  };
  for (Kind kind : {Kind{"VALOR", 'N'}, Kind{"DATA", 'D'}}) {
    SCOPED_TRACE(kind.expression);
    KeyExpr expr = t.expr(kind.expression);
    ASSERT_EQ(expr.type(), kind.type);
    Entries entries;
    std::vector<std::pair<double, uint32_t>> expected;  // by value, then record
    uint32_t rec = 1;
    for (int round = 0; round < 3; ++round) {
      if (kind.type == 'N') {
        for (Decimal v : values) {
          entries.push_back({number_key(v), rec});
          expected.push_back({double(v.to_long_double()), rec++});
        }
      } else {
        for (Date d : dates) {
          entries.push_back({date_key(d), rec});
          expected.push_back({d.empty() ? 0.0 : 2440588.0 + double(days_between(Date(1970, 1, 1), d)), rec++});
        }
      }
    }
    std::shuffle(entries.begin(), entries.end(), std::mt19937(7));
    std::string path = dir / "N.cdx";
    // Half built at once, half inserted one by one.
    Entries later(entries.begin() + long(entries.size() / 2), entries.end());
    entries.resize(entries.size() / 2);
    auto idx = CdxIndex::create(Env::posix(), path, "N", expr, entries);
    ASSERT_TRUE(idx) << idx.status().message();
    for (const IndexEntry& e : later) ASSERT_TRUE((*idx)->insert(e));
    ASSERT_TRUE((*idx)->flush());
    auto again = CdxIndex::open(Env::posix(), path, true, t.fields);
    ASSERT_TRUE(again);
    EXPECT_EQ((*again)->key_type(), kind.type);
    std::sort(expected.begin(), expected.end());
    Entries got = walk(**again);
    ASSERT_EQ(got.size(), expected.size());
    for (size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i].recno, expected[i].second) << i;
    if (kind.type == 'N') {
      auto hit = (*again)->seek(number_key(Decimal::of(-1, 0)));
      ASSERT_TRUE(hit && hit->has_value());
      EXPECT_EQ(key_double((*hit)->key), -1.0);
    }
  }
}

TEST(CdxWrite, FreedPagesAreReused) {
  xbase::testing::ScratchDir dir;
  Table1 t({{"K", 'C', 20, 0}});
  Entries entries;
  for (uint32_t r = 1; r <= 3000; ++r) entries.push_back({std::to_string(r * 7919 % 100000) + std::string(20, 'x'), r});
  for (IndexEntry& e : entries) e.key.resize(20);
  std::string path = dir / "F.cdx";
  auto idx = CdxIndex::create(Env::posix(), path, "F", t.expr("K"), entries);
  ASSERT_TRUE(idx);
  // Without reuse, the second round of removes and inserts would need as many new pages again.
  std::vector<uintmax_t> sizes;
  for (int round = 0; round < 2; ++round) {
    for (size_t i = 0; i < entries.size(); ++i)
      if (i % 50) {
        ASSERT_TRUE((*idx)->remove(entries[i]));
      }
    ASSERT_TRUE((*idx)->flush());
    for (size_t i = 0; i < entries.size(); ++i)
      if (i % 50) {
        ASSERT_TRUE((*idx)->insert(entries[i]));
      }
    ASSERT_TRUE((*idx)->flush());
    sizes.push_back(std::filesystem::file_size(path));
  }
  EXPECT_LE(sizes[1], sizes[0] + sizes[0] / 10);
  auto again = CdxIndex::open(Env::posix(), path, true, t.fields);
  ASSERT_TRUE(again);
  std::sort(entries.begin(), entries.end(), [](auto& a, auto& b) { return a.key < b.key || (a.key == b.key && a.recno < b.recno); });
  EXPECT_EQ(walk(**again), entries);
}

// Two opens of one file, as two terminals: a change reaches the other after its refresh.
TEST(CdxShare, RefreshSeesTheOtherWritersChanges) {
  xbase::testing::ScratchDir dir;
  Table1 t({{"K", 'C', 4, 0}});
  std::string path = dir / "S.cdx";
  Entries entries;
  for (uint32_t r = 1; r <= 400; ++r) entries.push_back({std::to_string(1000 + r), r});
  ASSERT_TRUE(CdxIndex::create(Env::posix(), path, "S", t.expr("K"), entries));
  auto a = CdxIndex::open(Env::posix(), path, false, t.fields);
  auto b = CdxIndex::open(Env::posix(), path, true, t.fields);
  ASSERT_TRUE(a && b);
  EXPECT_EQ(walk(**b).size(), 400u);
  std::string before = slurp(path);
  ASSERT_TRUE((*a)->flush());
  EXPECT_EQ(slurp(path), before) << "a flush without changes writes nothing";
  ASSERT_TRUE((*a)->remove(entries[0]));
  ASSERT_TRUE((*a)->insert({"0000", 999}));
  ASSERT_TRUE((*a)->flush());
  std::string after = slurp(path);
  EXPECT_NE(after.substr(8, 4), before.substr(8, 4)) << "change counter";
  EXPECT_NE(after.substr(1536 + 8, 4), before.substr(1536 + 8, 4)) << "tag change counter";
  ASSERT_TRUE((*b)->refresh());
  auto first = (*b)->first();
  ASSERT_TRUE(first && first->has_value());
  EXPECT_EQ(**first, (IndexEntry{"0000", 999}));
  EXPECT_EQ(walk(**b).size(), 400u);
  EXPECT_EQ((*b)->insert({"1234", 5}).code(), Code::INVALID) << "read only";
}

// A write that fails leaves the old file in place (create) or says so (flush).
TEST(CdxWrite, FailedWritesAreReported) {
  xbase::testing::ScratchDir dir;
  Table1 t({{"K", 'C', 8, 0}});
  std::string path = dir / "W.cdx";
  Entries entries;
  for (uint32_t r = 1; r <= 2000; ++r) entries.push_back({std::to_string(10000000 + r * 37 % 2000), r});
  ASSERT_TRUE(CdxIndex::create(Env::posix(), path, "W", t.expr("K"), entries));
  std::string good = slurp(path);
  FaultEnv env(Env::posix());
  env.reset_steps();
  ASSERT_TRUE(CdxIndex::create(env, dir / "probe.cdx", "W", t.expr("K"), entries));
  long steps = env.steps();
  for (long step = 1; step <= steps; ++step) {
    SCOPED_TRACE(step);
    env.reset_steps();
    env.fail_at(step);
    Entries other(entries.begin(), entries.begin() + 10);
    auto r = CdxIndex::create(env, path, "W", t.expr("K"), other);
    env.fail_at(0);
    if (!r) {
      EXPECT_EQ(r.status().code(), Code::IO);
      auto old = CdxIndex::open(Env::posix(), path, true, t.fields);
      ASSERT_TRUE(old);
      EXPECT_EQ(walk(**old).size(), slurp(path) == good ? 2000u : 10u);
    }
  }
  auto idx = CdxIndex::open(env, path, false, t.fields);
  ASSERT_TRUE(idx);
  ASSERT_TRUE((*idx)->insert({"00000000", 4000}));
  env.reset_steps();
  env.fail_at(1);
  EXPECT_EQ((*idx)->flush().code(), Code::IO);
}

// ---- damaged files -----------------------------------------------------------------------

void put_u32(std::string& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + size_t(i)] = char(v >> (8 * i));
}
uint32_t get_u32(const std::string& b, size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | uint8_t(b[at + size_t(i)]);
  return v;
}

// Opens and uses a (maybe broken) index as far as it goes; the worst outcome is the code seen.
Code exercise(const std::string& path, const std::vector<FieldInfo>& fields, bool write) {
  auto idx = CdxIndex::open(Env::posix(), path, !write, fields);
  if (!idx) return idx.status().code();
  CdxIndex& x = **idx;
  Code worst = Code::OK;
  auto note = [&](const Status& s) {
    if (!s.is_ok() && worst == Code::OK) worst = s.code();
  };
  Entries seen;
  auto e = x.first();
  for (int n = 0; e && e->has_value() && n < 40000; ++n) {
    if (n % 3 == 0 && seen.size() < 300) seen.push_back(**e);
    e = x.next(**e);
  }
  note(e.status());
  e = x.last();
  for (int n = 0; e && e->has_value() && n < 40000; ++n) e = x.prev(**e);
  note(e.status());
  for (const char* k : {"5", "00039655864", "99999999999", ""}) note(x.seek(k).status());
  if (write) {
    for (uint32_t r = 1; r < 200; ++r) {
      std::string key = std::to_string(50000000000ull + r * 7919);
      key.resize(size_t(x.key_length()), ' ');
      Status s = x.insert({key, 5000 + r});
      note(s);
      if (!s) break;
    }
    for (const IndexEntry& gone : seen) {
      Status s = x.remove(gone);
      if (s.code() != Code::NOT_FOUND) note(s);
      if (!s) break;
    }
    note(x.flush());
  }
  return worst;
}

TEST(CdxDamage, BrokenFilesAreDamagedNotACrash) {
  xbase::testing::ScratchDir dir;
  Dbf dbf(fixture("PESSOAS.dbf"));
  const std::string good = slurp(fixture("PESSOAS.cdx"));
  const uint32_t root = get_u32(good, 1536);
  struct Case {
    const char* what;
    std::function<void(std::string&)> spoil;
  } cases[] = {
      {"signature", [](std::string& b) { b[15] = 0; }},
      {"tag signature", [](std::string& b) { b[1536 + 15] = 7; }},
      {"not compact", [](std::string& b) { b[1536 + 14] = 0x40; }},
      {"root past the end", [](std::string& b) { put_u32(b, 1536, uint32_t(b.size() + 512)); }},
      {"root inside a page", [=](std::string& b) { put_u32(b, 1536, root + 3); }},
      {"root on the header", [](std::string& b) { put_u32(b, 1536, 1536); }},
      {"directory past the end", [](std::string& b) { put_u32(b, 0, 0x7FFFFE00); }},
      {"tag header past the end", [](std::string& b) { b[1024 + 25] = char(0x7F); }},
      {"key length 0", [](std::string& b) { b[1536 + 12] = 0, b[1536 + 13] = 0; }},
      {"key length 241", [](std::string& b) { b[1536 + 12] = char(241), b[1536 + 13] = 0; }},
      {"key length of another key", [](std::string& b) { b[1536 + 12] = 12; }},
      {"expression pool", [](std::string& b) { b[1536 + 510] = char(0xFF), b[1536 + 511] = char(0xFF); }},
      {"truncated to a header", [](std::string& b) { b.resize(1000); }},
      {"truncated in the middle", [](std::string& b) { b.resize(b.size() / 2 + 100); }},
      {"leaf loops to itself", [](std::string& b) { put_u32(b, 2560 + 8, 2560); }},
      {"leaf loops back", [](std::string& b) { put_u32(b, 3072 + 8, 2560); }},
      {"leaf count", [](std::string& b) { b[2560 + 2] = char(0xFF), b[2560 + 3] = char(0xFF); }},
      {"leaf widths", [](std::string& b) { b[2560 + 23] = 9; }},
      {"child is the root", [=](std::string& b) { put_u32(b, root + 12 + 11 + 4, __builtin_bswap32(root)); }},
      {"child past the end", [=](std::string& b) { put_u32(b, root + 12 + 11 + 4, 0xFFFFFF7F); }},
      {"unknown attributes", [=](std::string& b) { b[root] = 9; }},
      {"root not marked", [=](std::string& b) { b[root] = 0; }},
      {"keys out of order", [](std::string& b) { b[2560 + 501 + 3] = '9'; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string bytes = good;
    c.spoil(bytes);
    std::string path = dir / "PESSOAS.cdx";
    for (bool write : {false, true}) {
      spit(path, bytes);
      EXPECT_EQ(exercise(path, dbf.fields, write), Code::DAMAGED);
    }
  }
}

// Bytes flipped at random anywhere in copies of fixtures: errors or a walk, never a crash.
TEST(CdxDamage, RandomlySpoiledFilesNeverCrash) {
  xbase::testing::ScratchDir dir;
  std::mt19937 rng(2019);
  for (const char* name : {"PESSOAS", "VALORESB"}) {
    Dbf dbf(fixture(std::string(name).substr(0, 7) + ".dbf"));
    const std::string good = slurp(fixture(std::string(name) + ".cdx"));
    int damaged = 0;
    for (int round = 0; round < 150; ++round) {
      std::string bytes = good;
      int flips = 1 + int(rng() % 30);
      for (int i = 0; i < flips; ++i) {
        // Mostly the headers and the first pages, where a flip matters most.
        size_t at = rng() % 2 ? rng() % 4096 : rng() % bytes.size();
        bytes[at] = char(rng());
      }
      std::string path = dir / (std::string(name) + ".cdx");
      spit(path, bytes);
      Code c = exercise(path, dbf.fields, round % 2 == 1);
      EXPECT_TRUE(c == Code::OK || c == Code::DAMAGED || c == Code::INVALID || c == Code::NOT_FOUND)
          << int(c) << " in round " << round;
      damaged += c == Code::DAMAGED;
    }
    EXPECT_GT(damaged, 10);
  }
}

}  // namespace
}  // namespace kardo::xbase
