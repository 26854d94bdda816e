// Tables, memos and indexes written by another xBase engine, against their manifests.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "base/xtext.h"
#include "xbase/cdx.h"
#include "xbase/table.h"
#include "xbase_test_util.h"

namespace kardo::xbase {
namespace {

using namespace testing;

// A field as the manifests write it.
std::string manifest_text(Table& t, int i) {
  const FieldInfo& f = t.fields()[size_t(i)];
  std::string_view raw = t.raw(i);
  switch (f.type) {
    case 'N': return std::string(base::ALLTRIM(raw));
    case 'M': {
      auto text = t.memo(i);
      if (!text) return "error: " + text.status().message();
      char crc[9];
      std::snprintf(crc, sizeof crc, "%08X", crc32(*text));
      return std::to_string(text->size()) + ":" + crc;
    }
    case 'D': return std::string(raw);  // an empty date is its 8 blanks
    default: return std::string(base::RTRIM(raw));
  }
}

class FixtureTable : public ::testing::TestWithParam<const char*> {};

TEST_P(FixtureTable, EveryRecordMatchesTheManifest) {
  std::string name = GetParam();
  auto t = must(Table::open(Env::posix(), fixtures() + "/" + name, Share::SHARED, true));
  ASSERT_OK(t->health());
  EXPECT_EQ(t->version(), name == "NOTAS" ? 0x83 : 0x03);
  auto rows = manifest_rows(name);
  ASSERT_EQ(t->record_count(), rows.size());
  t->set_show_deleted(true);
  ASSERT_OK(t->go_top());
  for (const auto& row : rows) {
    ASSERT_FALSE(t->eof());
    ASSERT_EQ(std::to_string(t->recno()), row[0]);
    EXPECT_EQ(t->deleted(), row[1] == "*") << name << " record " << row[0];
    ASSERT_EQ(row.size(), t->fields().size() + 2);
    for (size_t i = 0; i < t->fields().size(); ++i) {
      const FieldInfo& f = t->fields()[i];
      const std::string& want = row[i + 2];
      EXPECT_EQ(manifest_text(*t, int(i)), want) << name << " record " << row[0] << " field " << f.name;
      // The typed values agree with the text.
      if (f.type == 'N') {
        EXPECT_EQ(t->number(int(i)), base::Decimal::parse(want).value_or(base::Decimal()));
      } else if (f.type == 'D') {
        EXPECT_EQ(t->date(int(i)).DTOS(), base::PADR(want, 8));
      } else if (f.type == 'L') {
        EXPECT_EQ(t->logical(int(i)), want == "T");
      }
    }
    ASSERT_OK(t->skip(1));
  }
  EXPECT_TRUE(t->eof());
  // Deleted records hidden: the walk yields exactly the live ones.
  t->set_show_deleted(false);
  EXPECT_EQ(walk(*t).size(), size_t(std::count_if(rows.begin(), rows.end(), [](auto& r) { return r[1] != "*"; })));
}

INSTANTIATE_TEST_SUITE_P(Fixtures, FixtureTable, ::testing::Values("PESSOAS", "VALORES", "GRANDE", "LARGO", "NOTAS"));

TEST(FixtureHeader, WideTextAndLongNumbers) {
  auto t = must(Table::open(Env::posix(), fixtures() + "/LARGO.dbf", Share::SHARED, true));
  const auto& f = t->fields();
  ASSERT_EQ(f.size(), 4u);
  EXPECT_EQ(f[1].name, "DESCR");
  EXPECT_EQ(f[1].width, 512);
  EXPECT_EQ(f[2].width, 18);
  EXPECT_EQ(f[2].decimals, 8);
  EXPECT_EQ(t->code_page(), 0x00);  // kept as found
  EXPECT_EQ(t->field_index("descr"), 1);
}

TEST(FixtureHeader, FoundWhateverTheCaseOfItsName) {
  auto t = Table::open(Env::posix(), fixtures() + "/pessoas.DBF", Share::SHARED, true);
  ASSERT_TRUE(t) << t.status().message();
  EXPECT_EQ((*t)->record_count(), 3000u);
}

// The failures callers show different messages for.
TEST(FixtureHeader, OpenFailuresAreToldApart) {
  Env& env = Env::posix();
  EXPECT_EQ(Table::open(env, fixtures() + "/NOSUCH", Share::SHARED).status().code(), Code::NOT_FOUND);
  EXPECT_EQ(Table::open(env, fixtures() + "/nosuchdir/PESSOAS", Share::SHARED).status().code(), Code::PATH_NOT_FOUND);
  if (::geteuid() != 0) {  // the fixtures are read only: writing needs what they do not grant
    EXPECT_EQ(Table::open(env, fixtures() + "/PESSOAS", Share::SHARED).status().code(), Code::ACCESS_DENIED);
  }
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {  // with no descriptor left to open
    struct rlimit lim = {3, 3};
    ::setrlimit(RLIMIT_NOFILE, &lim);
    auto t = Table::open(env, fixtures() + "/PESSOAS", Share::SHARED, true);
    ::_exit(t.status().code() == Code::TOO_MANY_OPEN_FILES ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

struct OrderCase {
  const char* table;
  const char* tag;
};

class FixtureOrder : public ::testing::TestWithParam<OrderCase> {};

// Walks and seeks of the other engine's index files.
TEST_P(FixtureOrder, WalkAndSeekFollowTheManifest) {
  OrderCase c = GetParam();
  auto t = must(Table::open(Env::posix(), fixtures() + "/" + c.table, Share::SHARED, true));
  ASSERT_OK(t->attach_index(fixtures() + "/" + c.tag + ".cdx"));
  std::string key;
  auto order = manifest_order(c.table, c.tag, &key);
  EXPECT_EQ(base::UPPER(t->index_expression(1)), base::UPPER(key));
  ASSERT_EQ(order.size(), t->record_count());

  t->set_show_deleted(true);
  EXPECT_EQ(walk(*t), order);
  EXPECT_EQ(walk_back(*t), order);

  // Deleted hidden: the same order without them.
  t->set_show_deleted(false);
  std::vector<uint32_t> live_order;
  for (uint32_t r : order) {
    ASSERT_OK(t->go_to(r));
    if (!t->deleted()) live_order.push_back(r);
  }
  EXPECT_EQ(walk(*t), live_order);
  EXPECT_EQ(walk_back(*t), live_order);

  // Exact seek of every 13th live record's key lands on the first live record with that key;
  // the key cut short (a partial key) too.
  for (size_t i = 0; i < live_order.size(); i += 13) {
    ASSERT_OK(t->go_to(live_order[i]));
    std::string k = t->current_key(1);
    size_t first = i;
    while (first > 0) {
      ASSERT_OK(t->go_to(live_order[first - 1]));
      if (t->current_key(1) != k) break;
      --first;
    }
    ASSERT_OK(t->seek(k));
    EXPECT_TRUE(t->found());
    EXPECT_EQ(t->recno(), live_order[first]) << c.tag << " key '" << k << "'";
    if (t->fields()[0].type == 'C' && k.size() > 4 && k[0] != '\0') {
      std::string part = k.substr(0, 4);
      ASSERT_OK(t->seek(part));
      EXPECT_TRUE(t->found());
      EXPECT_EQ(t->current_key(1).substr(0, 4), part);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, FixtureOrder,
                         ::testing::Values(OrderCase{"PESSOAS", "PESSOAS"}, OrderCase{"PESSOAS", "PESSOASB"},
                                           OrderCase{"PESSOAS", "PESSOASC"}, OrderCase{"VALORES", "VALORES"},
                                           OrderCase{"VALORES", "VALORESB"}, OrderCase{"VALORES", "VALORESC"},
                                           OrderCase{"GRANDE", "GRANDE"}, OrderCase{"NOTAS", "NOTAS"}),
                         [](const auto& info) { return std::string(info.param.tag); });

}  // namespace
}  // namespace kardo::xbase
