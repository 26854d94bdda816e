// Tables Kardo writes itself: every field type and width, positioning, deleted rows and
// filters, damaged files, whole-table copies, and a reader that is not ours.
#include <gtest/gtest.h>

#include <cstdio>

#include "base/xtext.h"
#include "xbase/cdx.h"
#include "xbase/table.h"
#include "xbase_test_util.h"

namespace kardo::xbase {
namespace {

using namespace testing;
using base::Date;
using base::Decimal;

Decimal dec(const char* s) { return *Decimal::parse(s); }

std::unique_ptr<Table> make(const std::string& path, const std::vector<FieldDef>& defs, Share share = Share::EXCLUSIVE) {
  return must(Table::create(Env::posix(), path, defs, share, true));
}

// Every type and width, more than 128 fields and a repeated name, written and read back.
TEST(Table, EveryTypeAndWidthRoundTrips) {
  ScratchDir dir;
  std::vector<FieldDef> defs = {{"C1", 'C', 1},     {"C255", 'C', 255}, {"C256", 'C', 256}, {"C512", 'C', 512},
                                {"N1", 'N', 1},     {"N52", 'N', 5, 2}, {"N188", 'N', 18, 8}, {"N18", 'N', 18},
                                {"D", 'D', 8},      {"L", 'L', 1},      {"M", 'M', 10},       {"C1", 'C', 3}};
  for (int i = 0; i < 140; ++i) defs.push_back({"F" + std::to_string(i), 'C', 2});
  std::string text512;
  for (int i = 0; i < 512; ++i) text512.push_back(char(i % 2 ? 0x80 + i % 100 : 'A' + i % 26));  // code page 850 bytes too
  std::string memo = "Linha 1\r\nLinha 2 \x87\x80\r\n";
  struct Row {
    std::string c512;
    Decimal n1, n52, n188, n18;
    Date d;
    bool l;
    std::string memo;
  };
  std::vector<Row> rows = {
      {text512, 9, dec("-9.99"), dec("123456789.12345678"), dec("999999999999999999"), Date(2018, 12, 31), true, memo},
      {"x", 0, dec("99.99"), dec("-12345678.12345678"), dec("-99999999999999999"), Date(), false, ""},
      {"", 5, dec("0.01"), dec("0.00000001"), 0, Date(1900, 1, 1), true, std::string(510, 'z')},
      {"y", 1, 0, 0, 1, Date(2019, 2, 28), false, std::string(1000, 'w')},
  };
  {
    auto t = make(dir / "TIPOS.DBF", defs);
    for (const Row& r : rows) {
      ASSERT_OK(t->append_blank());
      ASSERT_OK(t->set_text(0, "Q"));
      ASSERT_OK(t->set_text(3, r.c512));
      ASSERT_OK(t->set_text(2, std::string(300, 'k')));  // cut to 256
      ASSERT_OK(t->set_number(4, r.n1));
      ASSERT_OK(t->set_number(5, r.n52));
      ASSERT_OK(t->set_number(6, r.n188));
      ASSERT_OK(t->set_number(7, r.n18));
      ASSERT_OK(t->set_date(8, r.d));
      ASSERT_OK(t->set_logical(9, r.l));
      ASSERT_OK(t->set_memo(10, r.memo));
      ASSERT_OK(t->set_text(11, "dup"));
      ASSERT_OK(t->set_text(12 + 139, "zz"));
      ASSERT_OK(t->commit());
    }
    ASSERT_OK(t->close());
  }
  auto t = must(Table::open(Env::posix(), dir / "tipos.dbf", Share::SHARED));
  EXPECT_EQ(t->version(), 0x83);
  EXPECT_EQ(t->code_page(), 0x02);
  ASSERT_EQ(t->fields().size(), defs.size());
  EXPECT_EQ(t->fields()[3].width, 512);
  EXPECT_EQ(t->field_index("c1"), 0);  // the first of the repeated name
  ASSERT_EQ(t->record_count(), rows.size());
  for (const Row& r : rows) {
    ASSERT_FALSE(t->eof());
    EXPECT_EQ(t->text(0), "Q");
    EXPECT_EQ(std::string(base::RTRIM(t->raw(3))), std::string(base::RTRIM(r.c512)));
    EXPECT_EQ(t->text(2), std::string(256, 'k'));
    EXPECT_EQ(t->number(4), r.n1);
    EXPECT_EQ(t->number(5), r.n52);
    EXPECT_EQ(t->number(6), r.n188);
    EXPECT_EQ(t->number(7), r.n18);
    EXPECT_EQ(t->date(8), r.d);
    EXPECT_EQ(t->logical(9), r.l);
    EXPECT_EQ(must(t->memo(10)), r.memo);
    EXPECT_EQ(t->text(11), "dup");
    EXPECT_EQ(t->text(151), "zz");
    ASSERT_OK(t->skip(1));
  }
  EXPECT_TRUE(t->eof());
  // The file as bytes: header length, record length, the end mark, the memo file's blocks.
  std::string bytes = slurp(dir / "TIPOS.DBF");
  size_t hl = uint8_t(bytes[8]) | uint8_t(bytes[9]) << 8, rl = uint8_t(bytes[10]) | uint8_t(bytes[11]) << 8;
  EXPECT_EQ(hl, 32 * (defs.size() + 1) + 2);
  EXPECT_EQ(rl, t->record_length());
  EXPECT_EQ(uint8_t(bytes[hl - 2]), 0x0D);
  EXPECT_EQ(bytes.size(), hl + rows.size() * rl + 1);
  EXPECT_EQ(bytes.back(), '\x1A');
  EXPECT_EQ(slurp(dir / "TIPOS.DBT").size() % 512, 0u);
}

struct NumberCase {
  int width, decimals;
  const char* value;
  const char* stored;  // nullptr: DOES_NOT_FIT
};

TEST(Table, NumbersFitTheirFieldOrAreRefused) {
  const NumberCase cases[] = {
      {5, 2, "12.34", "12.34"},   {5, 2, "123.45", nullptr},     {7, 2, "-123.45", "-123.45"},
      {6, 2, "-123.45", nullptr}, {3, 0, "999", "999"},          {3, 0, "1000", nullptr},
      {2, 0, "-1", "-1"},         {1, 0, "-1", nullptr},         {5, 2, "1.005", " 1.01"},
      {5, 2, "-1.005", "-1.01"},  {4, 0, "2.5", "   3"},         {12, 2, "0", "        0.00"},
      {18, 8, "123456789.12345678", "123456789.12345678"},      {18, 8, "1234567890", nullptr},
      {18, 0, "999999999999999999", "999999999999999999"},      {18, 0, "-99999999999999999", "-99999999999999999"},
      {18, 0, "-999999999999999999", nullptr},
  };
  ScratchDir dir;
  for (const NumberCase& c : cases) {
    SCOPED_TRACE(std::string("N ") + std::to_string(c.width) + "." + std::to_string(c.decimals) + " " + c.value);
    auto t = make(dir / "N.DBF", {{"N", 'N', c.width, c.decimals}});
    ASSERT_OK(t->append_blank());
    ASSERT_OK(t->set_number(0, 7));
    Status s = t->set_number(0, dec(c.value));
    if (!c.stored) {
      EXPECT_EQ(s.code(), Code::DOES_NOT_FIT);
      EXPECT_EQ(t->number(0), 7);  // untouched
    } else {
      ASSERT_OK(s);
      EXPECT_EQ(t->text(0), base::PADL(c.stored, size_t(c.width)));
      EXPECT_EQ(t->number(0), *Decimal::parse(c.stored));
    }
  }
}

TEST(Table, BadFieldListsAreRefused) {
  ScratchDir dir;
  const std::vector<std::vector<FieldDef>> bad = {
      {},
      {{"", 'C', 1}},
      {{"ELEVENCHARS", 'C', 1}},
      {{"1A", 'C', 1}},
      {{"A-B", 'C', 1}},
      {{"C", 'C', 0}},
      {{"N", 'N', 21}},
      {{"N", 'N', 5, 4}},
      {{"D", 'D', 6}},
      {{"X", 'X', 4}},
      {{"A", 'C', 65535}, {"B", 'C', 10}},
  };
  for (const auto& defs : bad)
    EXPECT_EQ(Table::create(Env::posix(), dir / "BAD.DBF", defs).status().code(), Code::INVALID);
  EXPECT_FALSE(Env::posix().exists(dir / "BAD.DBF"));
  auto t = make(dir / "OK.DBF", {{"a", 'C', 1}});
  EXPECT_EQ(Table::create(Env::posix(), dir / "OK.DBF", {{"A", 'C', 1}}).status().code(), Code::EXISTS);
}

// A table of n records: K C 3 = "001", "002", ...; every record r with r % 3 == 0 deleted.
std::unique_ptr<Table> numbered(const ScratchDir& dir, int n, Share share = Share::EXCLUSIVE) {
  auto t = make(dir / "NUM.DBF", {{"K", 'C', 3}, {"V", 'N', 6}}, share);
  for (int i = 1; i <= n; ++i) {
    EXPECT_OK(t->append_blank());
    EXPECT_OK(t->set_text(0, base::STRZERO(i, 3)));
    EXPECT_OK(t->set_number(1, i));
    EXPECT_OK(t->commit());
    if (i % 3 == 0) EXPECT_OK(t->delete_record());
    EXPECT_OK(t->unlock());
  }
  return t;
}

TEST(Table, RecordOrderHidesDeletedAndFilteredRows) {
  ScratchDir dir;
  auto t = numbered(dir, 10);
  EXPECT_EQ(walk(*t), (std::vector<uint32_t>{1, 2, 4, 5, 7, 8, 10}));
  EXPECT_EQ(walk_back(*t), (std::vector<uint32_t>{1, 2, 4, 5, 7, 8, 10}));
  t->set_show_deleted(true);
  EXPECT_EQ(walk(*t).size(), 10u);
  t->set_filter([](const Table& x) { return x.number(1) > 4; });
  EXPECT_EQ(walk(*t), (std::vector<uint32_t>{5, 6, 7, 8, 9, 10}));
  t->set_filter({});
  t->set_show_deleted(false);

  // go_to reaches deleted records; skip moves on from there; BOF and EOF.
  ASSERT_OK(t->go_to(3));
  EXPECT_TRUE(t->deleted());
  ASSERT_OK(t->skip(1));
  EXPECT_EQ(t->recno(), 4u);
  ASSERT_OK(t->skip(-3));
  EXPECT_TRUE(t->bof());
  EXPECT_EQ(t->recno(), 1u);
  ASSERT_OK(t->go_to(99));
  EXPECT_TRUE(t->eof());
  EXPECT_EQ(t->recno(), 11u);
  EXPECT_EQ(t->text(0), "   ");
  ASSERT_OK(t->skip(-1));
  EXPECT_EQ(t->recno(), 10u);
  ASSERT_OK(t->skip(2));
  EXPECT_TRUE(t->eof());
  EXPECT_EQ(t->recall().code(), Code::INVALID);  // nothing to recall or delete at EOF
  EXPECT_EQ(t->delete_record().code(), Code::INVALID);
  ASSERT_OK(t->go_to(3));
  ASSERT_OK(t->recall());
  EXPECT_EQ(walk(*t).size(), 8u);

  // Changes are committed when the table moves on.
  ASSERT_OK(t->go_to(1));
  ASSERT_OK(t->set_number(1, 100));
  ASSERT_OK(t->skip(1));
  ASSERT_OK(t->go_to(1));
  EXPECT_EQ(t->number(1), 100);

  auto empty = make(dir / "EMPTY.DBF", {{"A", 'C', 1}});
  ASSERT_OK(empty->go_top());
  EXPECT_TRUE(empty->eof() && empty->bof());
  ASSERT_OK(empty->go_bottom());
  EXPECT_TRUE(empty->eof() && empty->bof());
}

// An exclusive open keeps appended records in memory and writes them in batches: they read,
// change, index and survive a reopen like any others, across several batches.
TEST(Table, BufferedAppendsBehaveAsWritten) {
  ScratchDir dir;
  const int n = 40000;  // 40 bytes each: more than one batch
  {
    auto t = make(dir / "B.DBF", {{"K", 'C', 8}, {"V", 'N', 10}, {"PAD", 'C', 21}});
    ASSERT_OK(t->create_index(dir / "B.CDX", "K"));
    for (int i = 1; i <= n; ++i) {
      ASSERT_OK(t->begin_append());
      ASSERT_OK(t->set_text(0, base::STRZERO((i * 7919) % 100000, 8)));
      ASSERT_OK(t->set_number(1, i));
      ASSERT_OK(t->commit());
      if (i % 9000 == 0) {  // back to an earlier record, written or still buffered, and change it
        ASSERT_OK(t->go_to(uint32_t(i - 10)));
        EXPECT_EQ(t->number(1), i - 10);
        ASSERT_OK(t->set_number(1, -(i - 10)));
        ASSERT_OK(t->set_order(0));
        ASSERT_OK(t->go_to(uint32_t(i / 2)));
        EXPECT_EQ(t->number(1), i / 2);
        ASSERT_OK(t->set_order(1));
      }
    }
    ASSERT_OK(t->seek(base::STRZERO((123 * 7919) % 100000, 8)));
    EXPECT_EQ(t->recno(), 123u);
  }
  auto t = must(Table::open(Env::posix(), dir / "B.DBF", Share::SHARED));
  ASSERT_EQ(t->record_count(), uint32_t(n));
  ASSERT_OK(t->attach_index(dir / "B.CDX"));
  EXPECT_EQ(walk(*t).size(), size_t(n));
  ASSERT_OK(t->set_order(0));
  ASSERT_OK(t->go_top());
  for (int i = 1; i <= n; ++i) {
    ASSERT_EQ(t->number(1), i % 9000 == 9000 - 10 ? -i : i) << i;
    ASSERT_OK(t->skip(1));
  }
  EXPECT_EQ(slurp(dir / "B.DBF").back(), '\x1A');
}

// Seek cases on an index Kardo builds: exact, partial and soft seeks, duplicates, deleted
// rows, numeric keys with negatives, date keys.
TEST(Table, SeekCases) {
  ScratchDir dir;
  auto t = make(dir / "SK.DBF", {{"K", 'C', 6}, {"V", 'N', 8, 2}, {"D", 'D', 8}});
  struct R {
    const char* k;
    const char* v;
    Date d;
    bool del;
  };
  const R rows[] = {{"BB", "-5.50", Date(2018, 3, 1), false}, {"AA", "10", Date(2018, 1, 1), false},
                    {"BB", "-100", Date(2017, 1, 1), false},  {"CC1", "0", Date(), true},
                    {"CC2", "0.01", Date(2019, 1, 1), false}, {"BB", "3", Date(2018, 3, 1), true}};
  for (const R& r : rows) {
    ASSERT_OK(t->append_blank());
    ASSERT_OK(t->set_text(0, r.k));
    ASSERT_OK(t->set_number(1, dec(r.v)));
    ASSERT_OK(t->set_date(2, r.d));
    ASSERT_OK(t->commit());
    if (r.del) ASSERT_OK(t->delete_record());
  }
  ASSERT_OK(t->create_index(dir / "SK.CDX", "K"));
  ASSERT_OK(t->create_index(dir / "SKB.CDX", "V"));
  ASSERT_OK(t->create_index(dir / "SKC.CDX", "DTOS(D)"));
  ASSERT_OK(t->set_order(1));
  struct SeekCase {
    const char* key;
    bool soft;
    bool found;
    uint32_t recno;  // 0: EOF
  };
  const SeekCase cases[] = {
      {"BB", false, true, 1},  {"BB    ", false, true, 1}, {"B", false, true, 1},  {"AA", false, true, 2},
      {"CC", false, true, 5},  {"CC1", false, false, 0},    {"CC1", true, false, 5}, {"AB", false, false, 0},
      {"AB", true, false, 1},  {"ZZ", true, false, 0},      {"", false, true, 2},    {"BB    X", false, true, 1},
  };
  for (const SeekCase& c : cases) {
    SCOPED_TRACE(std::string("seek '") + c.key + "'" + (c.soft ? " soft" : ""));
    ASSERT_OK(t->seek(c.key, c.soft));
    EXPECT_EQ(t->found(), c.found);
    if (c.recno) {
      EXPECT_EQ(t->recno(), c.recno);
    } else {
      EXPECT_TRUE(t->eof());
    }
  }
  // Duplicates in record order; the deleted one shows on request.
  ASSERT_OK(t->seek("BB"));
  std::vector<uint32_t> bb;
  while (!t->eof() && t->text(0) == "BB    ") {
    bb.push_back(t->recno());
    ASSERT_OK(t->skip(1));
  }
  EXPECT_EQ(bb, (std::vector<uint32_t>{1, 3}));
  t->set_show_deleted(true);
  ASSERT_OK(t->seek("CC1"));
  EXPECT_TRUE(t->found());
  EXPECT_EQ(t->recno(), 4u);
  t->set_show_deleted(false);

  ASSERT_OK(t->set_order(2));
  EXPECT_EQ(walk(*t), (std::vector<uint32_t>{3, 1, 5, 2}));
  ASSERT_OK(t->seek(dec("-5.5")));
  EXPECT_TRUE(t->found());
  EXPECT_EQ(t->recno(), 1u);
  ASSERT_OK(t->seek(dec("-6"), true));
  EXPECT_FALSE(t->found());
  EXPECT_EQ(t->recno(), 1u);
  ASSERT_OK(t->set_order(3));
  EXPECT_EQ(walk(*t), (std::vector<uint32_t>{3, 2, 1, 5}));
  ASSERT_OK(t->seek("201803"));
  EXPECT_EQ(t->recno(), 1u);

  // Every change keeps every index in step.
  ASSERT_OK(t->set_order(1));
  ASSERT_OK(t->seek("AA"));
  ASSERT_OK(t->set_text(0, "ZZ"));
  ASSERT_OK(t->set_number(1, dec("-1000")));
  ASSERT_OK(t->commit());
  EXPECT_EQ(walk(*t), (std::vector<uint32_t>{1, 3, 5, 2}));
  ASSERT_OK(t->set_order(2));
  EXPECT_EQ(walk(*t), (std::vector<uint32_t>{2, 3, 1, 5}));
  ASSERT_OK(t->append_blank());
  ASSERT_OK(t->set_text(0, "A0"));
  ASSERT_OK(t->commit());
  ASSERT_OK(t->set_order(1));
  EXPECT_EQ(walk(*t), (std::vector<uint32_t>{7, 1, 3, 5, 2}));
  ASSERT_OK(t->close());

  // Reopened: the index files hold the changes, and an unknown key is refused.
  auto u = must(Table::open(Env::posix(), dir / "SK", Share::SHARED));
  ASSERT_OK(u->attach_index(dir / "SK.CDX"));
  ASSERT_OK(u->attach_index(dir / "skb.cdx"));
  EXPECT_EQ(walk(*u), (std::vector<uint32_t>{7, 1, 3, 5, 2}));
  ASSERT_OK(u->set_order(2));
  EXPECT_EQ(walk(*u), (std::vector<uint32_t>{2, 3, 1, 7, 5}));
  EXPECT_EQ(u->create_index(dir / "X.CDX", "K").code(), Code::INVALID);  // shared, no file lock
  auto v = must(Table::open(Env::posix(), dir / "SK", Share::EXCLUSIVE, true));
  EXPECT_FALSE(v->create_index(dir / "X.CDX", "NOSUCH").is_ok());
}

// Damaged files: each case spoils a sound table (or its memo or index file) and says
// what opening and reading it must give.
TEST(Table, DamagedFiles) {
  ScratchDir dir;
  std::string base = dir / "BASE.DBF";
  {
    auto t = make(base, {{"NOME", 'C', 10}, {"TEXTO", 'M', 10}});
    for (int i = 1; i <= 5; ++i) {
      ASSERT_OK(t->append_blank());
      ASSERT_OK(t->set_text(0, "R" + std::to_string(i)));
      ASSERT_OK(t->set_memo(1, "memo " + std::to_string(i)));
      ASSERT_OK(t->commit());
    }
    ASSERT_OK(t->create_index(dir / "BASE.CDX", "NOME"));
  }
  const std::string good = slurp(base), good_memo = slurp(dir / "BASE.DBT");
  const size_t hl = 32 * 3 + 2, rl = 21;
  struct Case {
    const char* name;
    std::function<void(std::string& dbf, std::string& dbt, std::string& cdx)> spoil;
    Code open;       // what opening gives
    int readable;    // records read (when it opens)
    bool sound;      // health() is OK and writes are allowed
  };
  const Case cases[] = {
      {"empty file", [](auto& d, auto&, auto&) { d.clear(); }, Code::DAMAGED, 0, false},
      {"short header", [](auto& d, auto&, auto&) { d.resize(20); }, Code::DAMAGED, 0, false},
      {"header length beyond the file", [](auto& d, auto&, auto&) { d.resize(80); }, Code::DAMAGED, 0, false},
      {"no field terminator", [&](auto& d, auto&, auto&) { d[hl - 2] = 'X'; }, Code::DAMAGED, 0, false},
      {"record length wrong", [](auto& d, auto&, auto&) { d[10] = 30; }, Code::DAMAGED, 0, false},
      {"field of no width", [](auto& d, auto&, auto&) { d[32 + 16] = 0; }, Code::DAMAGED, 0, false},
      {"count beyond the end", [&](auto& d, auto&, auto&) { d.resize(hl + 3 * rl + 7); }, Code::OK, 3, false},
      {"no end mark", [](auto& d, auto&, auto&) { d.pop_back(); }, Code::OK, 5, true},
      {"bytes after the end mark", [](auto& d, auto&, auto&) { d += "garbage"; }, Code::OK, 5, true},
      {"memo block beyond the memo file", [](auto&, auto& m, auto&) { m.resize(512 * 3); }, Code::OK, 5, true},
      {"memo file missing", [](auto&, auto& m, auto&) { m = "-"; }, Code::OK, 5, true},
      {"index file garbage", [](auto&, auto&, auto& c) { c.assign(1024, 'x'); }, Code::OK, 5, true},
      {"index file cut short", [](auto&, auto&, auto& c) { c.resize(c.size() / 2); }, Code::OK, 5, true},
  };
  const std::string good_cdx = slurp(dir / "BASE.CDX");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string d = good, m = good_memo, x = good_cdx;
    c.spoil(d, m, x);
    spit(dir / "T.DBF", d);
    std::remove((dir / "T.DBT").c_str());
    if (m != "-") spit(dir / "T.DBT", m);
    spit(dir / "T.CDX", x);
    if (c.open == Code::OK) {
      auto shared = must(Table::open(Env::posix(), dir / "T.DBF", Share::SHARED, true));
      EXPECT_EQ(walk(*shared).size(), size_t(c.readable));  // re-reading the count keeps to the file
    }
    auto t = Table::open(Env::posix(), dir / "T.DBF", Share::EXCLUSIVE);
    ASSERT_EQ(t.status().code(), c.open) << t.status().message();
    if (!t) {
      EXPECT_FALSE(t.status().message().empty());
      continue;
    }
    Table& tb = **t;
    EXPECT_EQ(tb.health().is_ok(), c.sound) << tb.health().message();
    EXPECT_EQ(walk(tb).size(), size_t(c.readable));

    ASSERT_OK(tb.go_top());
    while (!tb.eof()) {
      auto memo = tb.memo(1);
      if (m == "-") {
        EXPECT_EQ(memo.status().code(), Code::NOT_FOUND);
      } else if (tb.recno() >= 3 && m.size() == 512 * 3) {
        EXPECT_EQ(memo.status().code(), Code::DAMAGED);
      } else {
        EXPECT_EQ(must(memo), "memo " + std::to_string(tb.recno()));
      }
      ASSERT_OK(tb.skip(1));
    }
    if (x != good_cdx) {
      Status a = tb.attach_index(dir / "T.CDX");
      EXPECT_EQ(a.code(), Code::DAMAGED) << a.message();
      ASSERT_OK(tb.create_index(dir / "T.CDX", "NOME"));  // the caller's remedy
      EXPECT_EQ(walk(tb).size(), 5u);
    }
    // Appending: refused where records could not be read (nothing is written over them);
    // otherwise the table ends sound again.
    Status app = tb.append_blank();
    if (!c.sound) {
      EXPECT_EQ(app.code(), Code::DAMAGED);
      ASSERT_OK(tb.close());
      EXPECT_EQ(slurp(dir / "T.DBF"), d);
      continue;
    }
    ASSERT_OK(app);
    ASSERT_OK(tb.set_text(0, "NEW"));
    ASSERT_OK(tb.close());
    std::string after = slurp(dir / "T.DBF");
    EXPECT_EQ(after.substr(hl + 5 * rl, rl + 1), std::string(" NEW") + std::string(rl - 4, ' ') + "\x1A");
  }
}

TEST(Table, CopyToAndAppendFromConvertByName) {
  ScratchDir dir;
  auto src = make(dir / "SRC.DBF", {{"CPF", 'C', 11}, {"VALOR", 'N', 10, 2}, {"DATA", 'D', 8}, {"OK", 'L', 1},
                                    {"TEXTO", 'M', 10}, {"NUMTXT", 'C', 8}, {"DATATXT", 'C', 10}, {"SOBRA", 'C', 3}});
  struct R {
    const char* cpf;
    const char* valor;
    Date data;
    bool ok;
    const char* texto;
    const char* numtxt;
    const char* datatxt;
  };
  const R rows[] = {{"11111111111", "12.5", Date(2018, 5, 1), true, "nota um\r\n", "  42.75", "20180102"},
                    {"22222222222", "-3", Date(), false, "", "abc", "31/12/2017"},
                    {"33333333333", "7", Date(2018, 1, 1), true, "x", "1", ""}};
  for (const R& r : rows) {
    ASSERT_OK(src->append_blank());
    ASSERT_OK(src->set_text(0, r.cpf));
    ASSERT_OK(src->set_number(1, dec(r.valor)));
    ASSERT_OK(src->set_date(2, r.data));
    ASSERT_OK(src->set_logical(3, r.ok));
    ASSERT_OK(src->set_memo(4, r.texto));
    ASSERT_OK(src->set_text(5, r.numtxt));
    ASSERT_OK(src->set_text(6, r.datatxt));
    ASSERT_OK(src->commit());
  }
  ASSERT_OK(src->go_to(2));
  ASSERT_OK(src->delete_record());

  // copy_to: the visible rows that satisfy the predicate, memo text included.
  ASSERT_OK(src->copy_to(dir / "COPIA", [](const Table& t) { return t.number(1) > 0; }));
  auto copy = must(Table::open(Env::posix(), dir / "COPIA", Share::EXCLUSIVE));
  ASSERT_EQ(copy->record_count(), 2u);
  EXPECT_EQ(copy->fields().size(), src->fields().size());
  EXPECT_EQ(copy->text(0), "11111111111");
  EXPECT_EQ(must(copy->memo(4)), "nota um\r\n");
  ASSERT_OK(copy->skip(1));
  EXPECT_EQ(copy->text(0), "33333333333");
  EXPECT_EQ(src->copy_to(dir / "COPIA").code(), Code::LOCKED);  // not replaced under a user

  // append_from: by name, with conversions both ways; fields the source lacks stay blank.
  auto dst = make(dir / "DST.DBF", {{"VALOR", 'C', 12}, {"DATA", 'C', 8}, {"OK", 'C', 1}, {"TEXTO", 'C', 20},
                                    {"NUMTXT", 'N', 8, 2}, {"DATATXT", 'D', 8}, {"CPF", 'M', 10}, {"NOVO", 'N', 3}});
  src->set_show_deleted(true);
  ASSERT_OK(dst->append_from(*src));
  ASSERT_EQ(dst->record_count(), 3u);
  struct Want {
    const char *valor, *data, *ok, *texto, *numtxt;
    Date datatxt;
    const char* cpf;
    bool deleted;
  };
  const Want want[] = {{"12.50", "20180501", "T", "nota um\r\n", "42.75", Date(2018, 1, 2), "11111111111", false},
                       {"-3.00", "", "F", "", "0.00", Date(2017, 12, 31), "22222222222", true},
                       {"7.00", "20180101", "T", "x", "1.00", Date(), "33333333333", false}};
  dst->set_show_deleted(true);
  ASSERT_OK(dst->go_top());
  for (const Want& w : want) {
    EXPECT_EQ(base::RTRIM(dst->raw(0)), w.valor);
    EXPECT_EQ(base::RTRIM(dst->raw(1)), w.data);
    EXPECT_EQ(base::RTRIM(dst->raw(2)), w.ok);
    EXPECT_EQ(base::RTRIM(dst->raw(3)), w.texto);
    EXPECT_EQ(dst->number(4), dec(w.numtxt));
    EXPECT_EQ(dst->date(5), w.datatxt);
    EXPECT_EQ(must(dst->memo(6)), w.cpf);
    EXPECT_EQ(dst->text(7), "   ");
    EXPECT_EQ(dst->deleted(), w.deleted);
    ASSERT_OK(dst->skip(1));
  }
  // A number that does not fit its new field stops the append with the reason.
  auto narrow = make(dir / "NARROW.DBF", {{"VALOR", 'N', 3, 1}});
  EXPECT_EQ(narrow->append_from(*src).code(), Code::DOES_NOT_FIT);
}

// An independent reader (Debian's python3-dbf) opens what Kardo writes.
TEST(Table, AnotherReaderOpensOurFiles) {
  if (std::system("/usr/bin/python3 -c 'import dbf' 2>/dev/null") != 0) GTEST_SKIP() << "python3-dbf not installed";
  ScratchDir dir;
  {
    auto t = make(dir / "OUTRO.DBF", {{"CPF", 'C', 11}, {"NOME", 'C', 40}, {"VALOR", 'N', 12, 2}, {"NASC", 'D', 8},
                                      {"ATIVO", 'L', 1}, {"OBS", 'M', 10}});
    const char* names[] = {"JOSE", "MARIA", "ANA"};
    for (int i = 0; i < 3; ++i) {
      ASSERT_OK(t->append_blank());
      ASSERT_OK(t->set_text(0, base::STRZERO(i + 1, 11)));
      ASSERT_OK(t->set_text(1, names[i]));
      ASSERT_OK(t->set_number(2, dec("-1234.56") + i));
      ASSERT_OK(t->set_date(3, Date(2018, unsigned(i + 1), 15)));
      ASSERT_OK(t->set_logical(4, i % 2 == 0));
      ASSERT_OK(t->set_memo(5, i == 1 ? "" : "obs " + std::string(names[i])));
      ASSERT_OK(t->commit());
    }
    ASSERT_OK(t->go_to(2));
    ASSERT_OK(t->delete_record());
  }
  std::string script = dir / "read.py";
  spit(script,
       "import dbf, sys\n"
       "t = dbf.Table(sys.argv[1])\n"
       "t.open()\n"
       "for r in t:\n"
       "    print('%s|%s|%.2f|%s|%s|%s|%s' % (r.cpf, r.nome.strip(), r.valor, r.nasc.strftime('%Y%m%d'), r.ativo,"
       " r.obs.strip(), dbf.is_deleted(r)))\n");
  std::string cmd = "/usr/bin/python3 " + script + " " + dir / "OUTRO.DBF" + " 2>&1";
  FILE* p = ::popen(cmd.c_str(), "r");
  ASSERT_NE(p, nullptr);
  std::string out;
  char buf[256];
  while (size_t n = std::fread(buf, 1, sizeof buf, p)) out.append(buf, n);
  EXPECT_EQ(::pclose(p), 0) << out;
  EXPECT_EQ(out,
            "00000000001|JOSE|-1234.56|20180115|True|obs JOSE|False\n"
            "00000000002|MARIA|-1233.56|20180215|False||True\n"
            "00000000003|ANA|-1232.56|20180315|True|obs ANA|False\n");
}

}  // namespace
}  // namespace kardo::xbase
