// The settings records of a terminal and of the office: defaults on first start, one record per
// terminal number however often it starts, one DEFINE record, the protected status.
#include "store/configura.h"

#include <gtest/gtest.h>

#include "base/codepage.h"
#include "base/xtext.h"
#include "store/abertura.h"
#include "store/records.h"
#include "store_test_util.h"

namespace kardo::store {
namespace {

using namespace testing;
using namespace base::literals;

uint32_t live_records(const std::string& path) {
  auto t = xbase::Table::open(xbase::Env::posix(), path, xbase::Share::SHARED, true);
  EXPECT_TRUE(t) << t.status().message();
  uint32_t n = 0;
  for_each_row(**t, [&] { ++n; });
  return n;
}

void load_all(Session& s) {
  ASSERT_OK(load_cores(s));
  ASSERT_OK(CONFIGURA(s));
  ASSERT_OK(load_define(s));
  ASSERT_OK(load_listaimp(s));
}

TEST(Settings, ANewTerminalGetsItsRecordsWithTheDefaults) {
  ScratchDir dir;
  Terminal t(dir.path(), "07");
  load_all(t.s);
  const config::Record& c = t.s.config;
  EXPECT_EQ(c.NRO_TERM, "07");
  EXPECT_EQ(base::RTRIM(c.ROTADOANO), dir.path());
  EXPECT_EQ(base::RTRIM(c.dirtrab), dir.path());
  EXPECT_EQ(base::RTRIM(c.DIRPROV), "/dados/origem");
  EXPECT_EQ(base::RTRIM(c.ROTAANTER), "/home/escritorio/Kardo18");
  EXPECT_EQ(base::RTRIM(c.ROTAJAVA), "/home/escritorio/ProgramasRFB/IRPF2019/aplicacao/dados");
  EXPECT_EQ(c.ULTBACK, base::Date(2019, 3, 11));
  EXPECT_EQ(c.NRO_LIN, base::Decimal(60));
  EXPECT_EQ(c.ENV_STAT, base::Decimal(2));
  EXPECT_EQ(c.mosimp, "S");
  EXPECT_EQ(base::RTRIM(c.NOMEAG), "");

  const define::Record& d = t.s.define;
  const base::Date due[] = {{2019, 4, 30}, {2019, 5, 31}, {2019, 6, 28}, {2019, 7, 31},
                            {2019, 8, 30}, {2019, 9, 30}, {2019, 10, 31}, {2019, 11, 29}};
  const base::Date got[] = {d.VCTO1, d.VCTO2, d.VCTO3, d.VCTO4, d.VCTO5, d.VCTO6, d.VCTO7, d.VCTO8};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(got[i], due[i]) << i;
  EXPECT_EQ(d.VAL_DOLAR, base::Decimal::of(32585, 4));
  EXPECT_EQ(d.TEMP_SAL, base::Decimal(15));
  EXPECT_EQ(d.PROGCOMP, "S");
  EXPECT_EQ(d.BOL_BANCO, "341 ");
  EXPECT_TRUE(d.STATRAVA.is_zero());

  EXPECT_EQ(t.s.cores.COR_MENS, base::Decimal(112));
  EXPECT_EQ(base::RTRIM(t.s.cores.COR_ESC_CL), "W/R+");
  EXPECT_EQ(base::RTRIM(t.s.listaimp.NOMEIMP), "NAO DOS");
  EXPECT_EQ(base::RTRIM(t.s.listaimp.IPADRAO), "laser1");
  EXPECT_EQ(t.s.listaimp.SEQ0, "<0");

  // The same terminal again adds nothing; another terminal adds its own; DEFINE stays one.
  t.s.close_all();
  Terminal again(dir.path(), "07"), other(dir.path(), "03");
  load_all(again.s);
  load_all(other.s);
  EXPECT_EQ(other.s.config.NRO_TERM, "03");
  EXPECT_EQ(other.s.cores.NRO_TERM, "03");
  again.s.close_all();
  other.s.close_all();
  for (const char* f : {"CONFIG.DBF", "CORES.DBF", "ListaIMP.DBF"}) EXPECT_EQ(live_records(dir / f), 2u) << f;
  EXPECT_EQ(live_records(dir / "DEFINE.DBF"), 1u);
}

TEST(Settings, ADefineWithoutItsRecordGetsOne) {
  ScratchDir dir;
  Terminal t(dir.path());
  ASSERT_OK(load_define(t.s));
  ASSERT_OK(REC_LOCK(t.s));
  ASSERT_OK(t.s.table(43)->delete_record());
  t.s.close_all();
  ASSERT_OK(load_define(t.s));
  EXPECT_EQ(t.s.define.VCTO8, base::Date(2019, 11, 29));
  t.s.close_all();
  EXPECT_EQ(live_records(dir / "DEFINE.DBF"), 1u);
}

TEST(Settings, ConfigInExclusiveUseElsewhereStopsTheStart) {
  ScratchDir dir;
  Terminal t(dir.path());
  ASSERT_OK(CONFIGURA(t.s));
  t.s.close_all();
  auto held = xbase::Table::open(xbase::Env::posix(), dir / "CONFIG.DBF", xbase::Share::EXCLUSIVE);
  ASSERT_TRUE(held);
  EXPECT_EQ(CONFIGURA(t.s).code(), base::Code::LOCKED);
  EXPECT_EQ(t.op.box_texts().back(), std::string("Arquivo de configuração sendo usado no momento"_cp));
}

TEST(Settings, FindConfigReadsWithoutCreating) {
  ScratchDir dir;
  Terminal t(dir.path(), "05");
  EXPECT_FALSE(find_config(t.s));
  EXPECT_FALSE(file_exists(dir / "CONFIG.DBF"));
  ASSERT_OK(CONFIGURA(t.s));
  auto c = find_config(t.s);
  ASSERT_TRUE(c);
  EXPECT_EQ(base::RTRIM(c->ROTADOANO), dir.path());
  t.s.NUSU = "06";
  EXPECT_FALSE(find_config(t.s));
}

// STATRAVA 0 protects nothing: a fresh installation holds 0 and so does a new declaration.
TEST(Settings, ProtectedStatus) {
  struct Case {
    int statrava, estatus;
    bool locked;
  } cases[] = {{0, 0, false}, {0, 7, false}, {7, 7, true}, {7, 3, false}};
  for (const Case& c : cases) {
    define::Record d;
    d.STATRAVA = base::Decimal(c.statrava);
    EXPECT_EQ(protected_status(d, base::Decimal(c.estatus)), c.locked) << c.statrava << " " << c.estatus;
  }
}

}  // namespace
}  // namespace kardo::store
