// Typed records to and from table rows: every type, the fast path of a table made from the
// layout and the by-name path of an older layout.
#include "store/records.h"

#include <gtest/gtest.h>

#include "base/codepage.h"
#include "base/xtext.h"
#include "store/catalog.h"
#include "store_test_util.h"

namespace kardo::store {
namespace {

using namespace testing;
using namespace base::literals;

std::unique_ptr<xbase::Table> make(const std::string& path, std::vector<xbase::FieldDef> defs) {
  auto t = xbase::Table::create(xbase::Env::posix(), path, defs);
  EXPECT_TRUE(t) << t.status().message();
  return t ? std::move(*t) : nullptr;
}

TEST(Records, EveryTypeGoesThereAndBack) {
  ScratchDir dir;
  auto t = make(dir / "IMP0119.DBF", field_defs(imp01::kFields));
  imp01::Record r;
  r.CPF = "12345678909";
  r.Meeiro = "S";
  r.I3_01 = base::Decimal::of(1234567, 2);
  r.I13_20 = base::Decimal::of(-505, 2);
  r.SO_REC = true;
  ASSERT_OK(t->append_blank());
  ASSERT_OK(write_record(*t, r));
  ASSERT_OK(t->commit());
  ASSERT_OK(t->go_top());
  imp01::Record back;
  ASSERT_OK(read_record(*t, back));
  EXPECT_EQ(back.CPF, "12345678909");
  EXPECT_EQ(back.I3_01, r.I3_01);
  EXPECT_EQ(back.I13_20, r.I13_20);
  EXPECT_TRUE(back.SO_REC);
  EXPECT_FALSE(back.NOVREG);
  EXPECT_EQ(back.Meeiro, "S");
  EXPECT_EQ(back.NomInvent, std::string(imp01::kFields[imp01::NomInvent].width, ' '));  // blanks kept

  // Text in code page 850, dates and the blank date.
  auto c = make(dir / "CONFIG.DBF", field_defs(config::kFields));
  config::Record k;
  k.NOMEAG = std::string("JOÃO"_cp);
  k.ULTBACK = base::Date(2019, 4, 30);
  ASSERT_OK(c->append_blank());
  ASSERT_OK(write_record(*c, k));
  ASSERT_OK(c->commit());
  config::Record kb;
  ASSERT_OK(read_record(*c, kb));
  EXPECT_EQ(base::RTRIM(kb.NOMEAG), std::string("JOÃO"_cp));
  EXPECT_EQ(kb.ULTBACK, base::Date(2019, 4, 30));
  k.ULTBACK = base::Date();
  ASSERT_OK(write_record(*c, k));
  ASSERT_OK(read_record(*c, kb));
  EXPECT_TRUE(kb.ULTBACK.empty());
}

// A table of an older layout is read and written by name: what it lacks stays untouched,
// a field of another type is not mixed up.
TEST(Records, AnOlderLayoutIsMatchedByName) {
  ScratchDir dir;
  std::vector<xbase::FieldDef> defs = {{"NOMEAG", 'C', 22}, {"NRO_TERM", 'C', 2}, {"QUEIMP", 'C', 2}, {"EXTRA", 'N', 3}};
  auto t = make(dir / "OLD.DBF", defs);
  ASSERT_OK(t->append_blank());
  ASSERT_OK(t->set_text(2, "xx"));
  config::Record r;
  r.NRO_TERM = "07";
  r.NOMEAG = "ANA";
  r.queimp = base::Decimal(5);
  r.ROTADOANO = "/dados";
  ASSERT_OK(write_record(*t, r));
  ASSERT_OK(t->commit());
  EXPECT_EQ(t->text(1), "07");
  EXPECT_EQ(base::RTRIM(t->raw(0)), "ANA");
  EXPECT_EQ(t->text(2), "xx");  // C here, N in the layout: not written
  config::Record back;
  back.queimp = base::Decimal(9);
  ASSERT_OK(read_record(*t, back));
  EXPECT_EQ(back.NRO_TERM, "07");
  EXPECT_EQ(back.queimp, base::Decimal(9));  // not read either
  EXPECT_EQ(back.ROTADOANO, "");              // the table has no such field
}

TEST(Records, AValueThatDoesNotFitNamesItsField) {
  ScratchDir dir;
  auto t = make(dir / "CORES.DBF", field_defs(cores::kFields));
  ASSERT_OK(t->append_blank());
  cores::Record r;
  r.COR_TEL2 = base::Decimal(1000);  // N 3
  base::Status st = write_record(*t, r);
  EXPECT_EQ(st.code(), base::Code::DOES_NOT_FIT);
  EXPECT_NE(st.message().find("COR_TEL2"), std::string::npos);
  ASSERT_OK(t->go_to(2));  // end of file
  EXPECT_EQ(read_record(*t, r).code(), base::Code::INVALID);
}

}  // namespace
}  // namespace kardo::store
