// The catalogue against the table engine: every layout creates a table, and every index key of
// the table and of its work copy compiles against the table's fields, fits an index key and
// builds an index file over it.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>

#include "store/catalog.h"
#include "xbase/keyexpr.h"
#include "xbase/table.h"

namespace kardo::store {
namespace {

class CatalogEngine : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/kardo-catalog-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string dir_;
};

TEST_F(CatalogEngine, EveryLayoutCreatesAndEveryKeyIndexes) {
  xbase::Env& env = xbase::Env::posix();
  for (const TableSpec& t : tables()) {
    if (t.fields.empty()) continue;
    const std::string base = dir_ + "/" + resolve_name(t.name, "01");
    SCOPED_TRACE(base);
    auto table = xbase::Table::create(env, base + ".DBF", field_defs(t.fields));
    ASSERT_TRUE(table.is_ok()) << table.status().message();
    const std::vector<xbase::FieldInfo>& fields = (*table)->fields();
    ASSERT_EQ(fields.size(), t.fields.size());
    for (size_t i = 0; i < fields.size(); ++i) {
      std::string name(t.fields[i].name);
      for (char& c : name) c = char(std::toupper(static_cast<unsigned char>(c)));
      EXPECT_EQ(fields[i].name, name);
      EXPECT_EQ(fields[i].type, t.fields[i].type) << name;
      EXPECT_EQ(fields[i].width, t.fields[i].width) << name;
      EXPECT_EQ(fields[i].decimals, t.fields[i].decimals) << name;
    }
    EXPECT_EQ((*table)->record_length(), record_length(t.fields));
    ASSERT_TRUE((*table)->append_blank().is_ok());
    ASSERT_TRUE((*table)->commit().is_ok());

    std::vector<std::string_view> keys;
    for (const IndexSpec& i : t.indexes) keys.push_back(i.key);
    if (t.work) {
      keys.push_back(t.work->key);
      if (!t.work->saving_key.empty()) keys.push_back(t.work->saving_key);
    }
    for (size_t k = 0; k < keys.size(); ++k) {
      std::string_view key = keys[k];
      auto compiled = xbase::KeyExpr::compile(key, fields);
      if (!compiled.is_ok()) {
        ADD_FAILURE() << key << ": " << compiled.status().message();
        continue;
      }
      EXPECT_LE(compiled->length(), 240) << key;
      EXPECT_EQ(compiled->key((*table)->record()).size(), size_t(compiled->length())) << key;
      xbase::Status built = (*table)->create_index(base + "_" + std::to_string(k) + ".CDX", key);
      EXPECT_TRUE(built.is_ok()) << key << ": " << built.message();
    }
    EXPECT_TRUE((*table)->close().is_ok());
  }
}

}  // namespace
}  // namespace kardo::store
