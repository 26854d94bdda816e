// `kardo --batch init`: a new data folder read back by an independent DBF reader, a second run
// that changes nothing, and the terminal's mark held by another process.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>

#include "shell/batch.h"
#include "store/abertura.h"
#include "shell/shell_test_util.h"
#include "store/store_test_util.h"

namespace kardo::shell {
namespace {

using store::testing::OtherProcess;
using store::testing::ScratchDir;
using store::testing::slurp;
using testing_util::env_of;
using testing_util::run_program;

std::map<std::string, std::string> snapshot(const std::string& dir) {
  std::map<std::string, std::string> files;
  for (const auto& e : std::filesystem::directory_iterator(dir)) files[e.path().filename()] = slurp(e.path());
  return files;
}

// What the reader prints: every field the settings tables were given a default for.
const char* kReader = R"(
import datetime, sys, dbf
folder = sys.argv[1]
def rows(name):
    t = dbf.Table(folder + '/' + name + '.DBF', codepage='cp850')
    t.open(dbf.READ_ONLY)
    out = [dict((f, r[f]) for f in t.field_names) for r in t]
    t.close()
    return out
def text(v):
    if isinstance(v, str): return v.rstrip()
    if isinstance(v, datetime.date): return v.isoformat()
    if v is None: return ''
    return repr(v)
for name in ['CONFIG', 'DEFINE', 'CORES', 'ListaIMP', 'DIRET07']:
    rs = rows(name)
    print(name, len(rs))
    for f, v in rs[0].items():
        if text(v) != '': print(' ', f, text(v))
)";

TEST(BatchInit, MakesAFolderReadyThatAnIndependentReaderReads) {
  std::string probe;
  if (run_program({"/usr/bin/python3", "-c", "import dbf"}, &probe) != 0)
    GTEST_SKIP() << "the independent reader (python3-dbf) is not installed: " << probe;
  ScratchDir dir;
  const Getenv env = env_of({{"HOME", "/home/escritorio"}, {"DIR2019", "/dados/origem"}, {"PRINTER", "laser1"}});
  std::ostringstream out, err;
  ASSERT_EQ(run_batch({"init", "--data", dir.path(), "--terminal", "7"}, env, out, err), BATCH_OK) << err.str();
  EXPECT_EQ(err.str(), "");
  for (const char* f : {"CODBENS.DBF", "IMP0919.DBF", "IMP0919B.CDX", "IMP2019B.CDX", "AuxBancoB.CDX", "DETALH07.DBF"})
    EXPECT_NE(out.str().find("created " + dir.path() + "/" + f + "\n"), std::string::npos) << f;

  std::string read;
  ASSERT_EQ(run_program({"/usr/bin/python3", "-c", kReader, dir.path()}, &read), 0) << read;
  const std::string today = [] {
    std::time_t t = std::time(nullptr);
    char buf[16];
    std::strftime(buf, sizeof buf, "%Y-%m-%d", std::localtime(&t));
    return std::string(buf);
  }();
  const std::string expected =
      "CONFIG 1\n"
      "  nro_term 07\n"
      "  rotaanter /home/escritorio/Kardo18\n"
      "  rotadoano " + dir.path() + "\n"
      "  rotareant /home/escritorio/ProgramasRFB/IRPF2018/transmitidas\n"
      "  rotarecei /home/escritorio/ProgramasRFB/IRPF2019/aplicacao/dados\n"
      "  rotajava /home/escritorio/ProgramasRFB/IRPF2019/aplicacao/dados\n"
      "  dirtrab " + dir.path() + "\n"
      "  dirprov /dados/origem\n"
      "  dirinst /home/escritorio/Kardo18\n"
      "  queimp 1\n  quemod 1\n  quepag 1\n  quecon 1\n  env_stat 2\n  maresq 0\n  inifol 0\n  lineti 6\n"
      "  nro_lin 60\n  opc_tran 7\n  compaga 1\n  impbem 1\n  impbal 1\n  mosimp S\n  mostel S\n"
      "  ult_ter 0\n  ult_mod 1\n  xdrive C\n  soeste 9\n  opttran 0\n  novoit 0\n"
      "  ultback " + today + "\n"
      "  opcirpf J\n  opcfim 0\n"
      "DEFINE 1\n"
      "  vcto1 2019-04-30\n  vcto2 2019-05-31\n  vcto3 2019-06-28\n  vcto4 2019-07-31\n"
      "  vcto5 2019-08-30\n  vcto6 2019-09-30\n  vcto7 2019-10-31\n  vcto8 2019-11-29\n"
      "  val_seg 4.0\n  val_byte 3.0\n  val_min 120.0\n  como_sal 2\n  temp_sal 15\n  temp_des 4\n"
      "  val_cpmf 0.0\n  val_dolar 3.2585\n  bol_nosnro 0\n  processa N\n  progcomp S\n  statrava 0\n"
      "CORES 1\n"
      "  nro_term 07\n  cor_tel1 30\n  cor_tel2 31\n  cor_tel3 63\n  cor_mens 112\n  cor_pega 15\n"
      "  cor_help 112\n  cor_ferid 28\n  cor_escol 79\n  cor_enche 31\n  cor_1_cli GR+/B\n  cor_2_cli W+/B\n"
      "  cor_ini W+/B\n  cor_say N/W+\n  cor_get W/N\n  cor_cli_he N/W\n  cor_esc_cl W/R+\n  cor_ench_c W+/B\n"
      "ListaIMP 1\n"
      "  nro_term 07\n  nomeimp NAO DOS\n  ipadrao laser1\n  seq0 <0\n  seq1 <0\n"
      "DIRET07 1\n"
      "  selec S\n"
      "  diretor " + dir.path() + "\n";
  EXPECT_EQ(read, expected);

  // Run again: nothing is created, nothing changes.
  const auto before = snapshot(dir.path());
  std::ostringstream out2, err2;
  ASSERT_EQ(run_batch({"init", "--data", dir.path(), "--terminal", "7"}, env, out2, err2), BATCH_OK) << err2.str();
  EXPECT_EQ(out2.str(), "");
  const auto after = snapshot(dir.path());
  ASSERT_EQ(after.size(), before.size());
  for (const auto& [name, bytes] : before) EXPECT_TRUE(after.at(name) == bytes) << name << " changed";
}

TEST(BatchInit, AMissingReferenceSourceIsReportedAndTheRestIsMade) {
  ScratchDir src, dir;
  for (const auto& e : std::filesystem::directory_iterator(std::string(KARDO_SOURCE_DIR) + "/data"))
    if (e.path().filename() != "CODDIVI.tsv") std::filesystem::copy(e.path(), src.path());
  std::ostringstream out, err;
  EXPECT_EQ(run_batch({"init", "--data", dir.path(), "--tables", src.path()}, env_of({}), out, err), BATCH_SOME_FAILED);
  EXPECT_NE(err.str().find("error: CODDIVI: " + src.path() + "/CODDIVI.tsv: not found"), std::string::npos) << err.str();
  EXPECT_TRUE(std::filesystem::exists(dir / "IMP0919.DBF"));
  EXPECT_FALSE(std::filesystem::exists(dir / "CODDIVI.DBF"));
}

// The batch runner takes the terminal's mark before any command.
TEST(BatchInit, ATerminalNumberInUseElsewhereCannotRun) {
  ScratchDir dir;
  OtherProcess first([&](OtherProcess::Child& c) {
    store::testing::Terminal t(dir.path(), "05");
    c.ready(store::take_terminal_mark(t.s).is_ok());
    c.until_released();
  });
  ASSERT_TRUE(first.ready());
  std::ostringstream out, err;
  EXPECT_EQ(run_batch({"init", "--data", dir.path(), "--terminal", "05"}, env_of({}), out, err), BATCH_CANNOT_RUN);
  EXPECT_EQ(err.str(), "O programa Kardo19 no terminal 05 está em uso\n");
  EXPECT_FALSE(std::filesystem::exists(dir / "CONFIG.DBF"));  // the command did not run
  EXPECT_EQ(first.release(), 0);
  std::ostringstream out2, err2;
  EXPECT_EQ(run_batch({"init", "--data", dir.path(), "--terminal", "05"}, env_of({}), out2, err2), BATCH_OK) << err2.str();
}

}  // namespace
}  // namespace kardo::shell
