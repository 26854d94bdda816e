// The batch commands over a folder's declarations, end to end without a terminal: a folder
// made by `init`, demo declarations, `recalc`, and the stored summary lines read back by an
// independent DBF reader and by `summary`.
#include <gtest/gtest.h>

#include <sstream>

#include "shell/batch.h"
#include "shell/shell_test_util.h"
#include "store/store_test_util.h"

namespace kardo::shell {
namespace {

using store::testing::ScratchDir;
using testing_util::env_of;
using testing_util::run_program;

// The independent reader prints, for one CPF of IMP0119, every summary line as the batch
// `summary` prints it.
const char* kSummaryReader = R"(
import sys, dbf
t = dbf.Table(sys.argv[1] + '/IMP0119.DBF', codepage='cp850')
t.open(dbf.READ_ONLY)
for r in t:
    if dbf.is_deleted(r) or r['cpf'] != sys.argv[2]: continue
    for n in range(1, 52):
        print('I13_%02d %.2f' % (n, r['i13_%02d' % n]))
t.close()
)";

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) out.push_back(l);
  return out;
}

TEST(BatchDeclarations, DemoRecalcAndSummaryAgreeWithAnIndependentReader) {
  ScratchDir dir;
  auto run = [&](std::vector<std::string> args, std::string* output = nullptr) {
    std::ostringstream out, err;
    args.insert(args.end(), {"--data", dir.path()});
    int rc = run_batch(args, env_of({}), out, err);
    if (output) *output = out.str();
    EXPECT_EQ(err.str(), "") << args[0];
    return rc;
  };
  ASSERT_EQ(run({"init"}), BATCH_OK);
  std::string demo;
  ASSERT_EQ(run({"demo", "--taxpayers", "25", "--seed", "4"}, &demo), BATCH_OK);
  EXPECT_EQ(demo, "25 taxpayers added to " + dir.path() + "/\n");
  ASSERT_EQ(run({"demo", "--taxpayers", "5", "--seed", "4"}, &demo), BATCH_OK);  // only new CPFs are added

  std::string recalc;
  ASSERT_EQ(run({"recalc"}, &recalc), BATCH_OK);
  std::vector<std::string> done = lines(recalc);
  ASSERT_EQ(done.size(), 30u);
  for (const std::string& l : done)
    EXPECT_TRUE(l.size() > 15 && l.substr(11, 4) == " ok " &&
                (l.find(" a pagar ") != std::string::npos || l.find(" a restituir ") != std::string::npos ||
                 l.find(" sem saldo ") != std::string::npos))
        << l;
  std::string cpf = done[3].substr(0, 11);

  std::string summary;
  ASSERT_EQ(run({"summary", "--cpf", cpf}, &summary), BATCH_OK);
  std::vector<std::string> got = lines(summary);
  ASSERT_EQ(got.size(), 53u);
  EXPECT_TRUE(got[51] == "MODELO simplificado" || got[51] == "MODELO completo") << got[51];
  EXPECT_TRUE(got[52].starts_with("MELHOR ")) << got[52];
  EXPECT_NE(got[0], "I13_01 0.00");  // every demo taxpayer has income from an employer

  std::string probe;
  if (run_program({"/usr/bin/python3", "-c", "import dbf"}, &probe) != 0)
    GTEST_SKIP() << "the independent reader (python3-dbf) is not installed: " << probe;
  std::string read;
  ASSERT_EQ(run_program({"/usr/bin/python3", "-c", kSummaryReader, dir.path(), cpf}, &read), 0) << read;
  EXPECT_EQ(lines(read), std::vector<std::string>(got.begin(), got.begin() + 51));
}

TEST(BatchDeclarations, RecalcSkipsWhatItMustNotWrite) {
  ScratchDir dir;
  std::ostringstream o1, e1;
  ASSERT_EQ(run_batch({"init", "--data", dir.path()}, env_of({}), o1, e1), BATCH_OK);
  ASSERT_EQ(run_batch({"demo", "--data", dir.path(), "--taxpayers", "3"}, env_of({}), o1, e1), BATCH_OK);
  std::ostringstream out, err;
  EXPECT_EQ(run_batch({"recalc", "--data", dir.path(), "--cpf", "11144477736"}, env_of({}), out, err), BATCH_CANNOT_RUN);
  EXPECT_NE(err.str().find("not a valid CPF"), std::string::npos);
  std::ostringstream out2, err2;
  EXPECT_EQ(run_batch({"recalc", "--data", dir.path(), "--cpf", "11144477735"}, env_of({}), out2, err2), BATCH_CANNOT_RUN);
  EXPECT_NE(err2.str().find("is not in the register"), std::string::npos);
}

}  // namespace
}  // namespace kardo::shell
