// Installing the reference tables from the text shipped under data/: as the system reads them,
// and a source that is missing or does not fit is a failure naming the table and the cause.
#include "store/install.h"

#include <gtest/gtest.h>

#include "base/codepage.h"
#include "base/xtext.h"
#include "store/catalog.h"
#include "store_test_util.h"

namespace kardo::store {
namespace {

using namespace testing;
using namespace base::literals;

const std::string kShipped = std::string(KARDO_SOURCE_DIR) + "/data";

std::unique_ptr<xbase::Table> open_ro(const std::string& path) {
  auto t = xbase::Table::open(xbase::Env::posix(), path, xbase::Share::SHARED, true);
  EXPECT_TRUE(t) << t.status().message();
  return t ? std::move(*t) : nullptr;
}

TEST(Install, ShippedTablesBecomeTheTablesTheSystemReads) {
  ScratchDir dir;
  Terminal t(dir.path());
  InstallReport r = install_reference_tables(t.s, kShipped);
  ASSERT_TRUE(r.ok()) << r.failures.front().message();
  size_t references = 0;
  for (const TableSpec& table_spec : tables()) references += table_spec.kind == Kind::Reference;
  EXPECT_EQ(r.installed.size(), references);

  auto codbens = open_ro(dir / "CODBENS.DBF");
  ASSERT_OK(codbens->go_top());
  const int cod = codbens->field_index("CODBEM"), desc = codbens->field_index("DESCBENS");
  EXPECT_EQ(codbens->text(cod), "  1");  // "01" in N 3
  EXPECT_EQ(base::RTRIM(codbens->raw(desc)), std::string("Prédio residencial"_cp));
  EXPECT_EQ(codbens->code_page(), 0x02);
  auto ufirm = open_ro(dir / "UFIRM.DBF");
  ASSERT_OK(ufirm->go_top());
  EXPECT_EQ(ufirm->text(ufirm->field_index("SIMB_MOED")), "R$  ");
  EXPECT_EQ(ufirm->number(ufirm->field_index("TJM")), base::Decimal::of(85, 2));
  EXPECT_TRUE(base::is_blank(ufirm->raw(ufirm->field_index("MULTIPL"))));  // empty: a blank field
  EXPECT_EQ(open_ro(dir / "TABMUNI.DBF")->record_count(), 5570u);
  EXPECT_EQ(open_ro(dir / "TAB_MUNI.DBF")->record_count(), 0u);  // shipped empty
  EXPECT_TRUE(file_exists(dir / "HELPTXT.DBT"));

  // Installed tables are left as they are.
  const ino_t before = inode(dir / "CODBENS.DBF");
  InstallReport again = install_reference_tables(t.s, kShipped);
  EXPECT_TRUE(again.ok());
  EXPECT_TRUE(again.installed.empty());
  EXPECT_EQ(inode(dir / "CODBENS.DBF"), before);
}

// Each case spoils a copy of the shipped text; the table concerned is reported and not
// written (not even as an empty file), the others are installed.
TEST(Install, ASourceThatIsMissingOrDoesNotFitIsAFailure) {
  struct Case {
    const char* what;
    const char* table;
    std::function<void(const std::string& src)> spoil;
    const char* cause;
  };
  auto append_line = [](const std::string& path, const std::string& line) { spit(path, slurp(path) + line + "\n"); };
  const Case cases[] = {
      {"file missing", "STATUS", [](const std::string& src) { std::filesystem::remove(src + "/STATUS.tsv"); },
       "not found"},
      {"text too long", "STATUS",
       [&](const std::string& src) { append_line(src + "/STATUS.tsv", "08\t" + std::string(31, 'x')); },
       "31 characters, the field has 30"},
      {"not a number", "STATUS", [&](const std::string& src) { append_line(src + "/STATUS.tsv", "0x\tErrada"); },
       "COD: not a number"},
      {"outside code page 850", "TABLOGR",
       [&](const std::string& src) { append_line(src + "/TABLOGR.tsv", "\xe2\x82\xac"); }, "code page 850"},
      {"a field the system reads is missing", "CODDIVI",
       [](const std::string& src) {
         std::string layout = slurp(src + "/tables.tsv");
         size_t at = layout.find("CODDIVI\tDESCDIV");
         layout.replace(at, 15, "CODDIVI\tDESCRI_");
         spit(src + "/tables.tsv", layout);
       },
       "lacks DESCDIV"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDir src, dir;
    for (const auto& e : std::filesystem::directory_iterator(kShipped))
      if (e.path().filename() != "TABMUNI.tsv") std::filesystem::copy(e.path(), src.path());
    spit(src / "TABMUNI.tsv", "NOMEMUNI\tUNIFED\tNROMUNI\nAcrelândia\tAC\t0643\n");
    c.spoil(src.path());
    Terminal t(dir.path());
    InstallReport r = install_reference_tables(t.s, src.path());
    ASSERT_EQ(r.failures.size(), 1u);
    EXPECT_TRUE(r.failures[0].message().starts_with(std::string(c.table) + ": ")) << r.failures[0].message();
    EXPECT_NE(r.failures[0].message().find(c.cause), std::string::npos) << r.failures[0].message();
    EXPECT_FALSE(file_exists(dir / (std::string(c.table) + ".DBF")));
    EXPECT_TRUE(file_exists(dir / "OCUPACAO.DBF"));
  }
}

}  // namespace
}  // namespace kardo::store
