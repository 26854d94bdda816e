#include "shell/batch.h"

#include <gtest/gtest.h>

#include <sstream>

#include "base/codepage.h"
#include "shell/shell_test_util.h"

using namespace kardo;
using namespace kardo::base::literals;

using kardo::shell::testing_util::env_of;

TEST(BatchArguments, DefaultsAndOverrides) {
  struct Case {
    std::vector<std::string> args;
    std::map<std::string, std::string> env;
    std::string data, terminal;
    int wait;
  } cases[] = {
      {{"recalc"}, {}, "/cwd", "00", 30},
      {{"recalc"}, {{"DIR2019", "/dados"}, {"TERMINAL", "7"}}, "/dados", "07", 30},
      {{"recalc"}, {{"TERMINAL", "xterm-256color"}}, "/cwd", "00", 30},  // not a terminal number
      {{"recalc", "--data", "/d", "--terminal", "3", "--wait=5"}, {{"TERMINAL", "9"}}, "/d", "03", 5},
  };
  for (const Case& c : cases) {
    std::ostringstream err;
    auto o = shell::parse_batch_arguments(c.args, env_of(c.env), "/cwd", err);
    ASSERT_TRUE(o) << err.str();
    EXPECT_EQ(o->data_folder, c.data);
    EXPECT_EQ(o->terminal, c.terminal);
    EXPECT_EQ(o->wait_seconds, c.wait);
    EXPECT_FALSE(o->folder);
  }
  std::ostringstream err;
  auto o = shell::parse_batch_arguments({"recalc", "--cpf", "11144477735", "--folder", "/f"}, env_of({}), "/", err);
  ASSERT_TRUE(o);
  EXPECT_EQ(o->extra["cpf"], "11144477735");
  EXPECT_EQ(*o->folder, "/f");
}

TEST(BatchArguments, UsageErrors) {
  for (std::vector<std::string> args : std::vector<std::vector<std::string>>{
           {}, {"--data", "/x"}, {"recalc", "--terminal", "123"}, {"recalc", "--wait", "x"}, {"recalc", "--cpf"},
           {"recalc", "stray"}}) {
    std::ostringstream err;
    EXPECT_FALSE(shell::parse_batch_arguments(args, env_of({}), "/", err));
    EXPECT_FALSE(err.str().empty());
  }
}

TEST(Batch, UnknownCommandExitsTwoWithTheList) {
  std::ostringstream out, err;
  EXPECT_EQ(shell::run_batch({"nonsense"}, env_of({}), out, err), shell::BATCH_CANNOT_RUN);
  EXPECT_NE(err.str().find("commands:"), std::string::npos);
}

TEST(BatchOperator, QuestionsGetTheAnswerThatWritesNothing) {
  std::ostringstream out, err;
  base::FixedClock clock(base::Date(2019, 3, 10));
  shell::BatchOperator op(out, err, clock);
  EXPECT_EQ(op.AVISOSN("Confirma?", base::BOX_YES_NO), "N");
  EXPECT_EQ(op.AVISOSN("Salva?", base::BOX_YES_NO_CANCEL), "I");
  base::Box keep;
  keep.lines = {std::string("Mantém os dados?"_cp)};
  keep.mode = base::BOX_YES_NO;
  keep.batch_answer = "S";
  EXPECT_EQ(op.AVISOSN(keep), "S");
  op.AVISOSN(std::string("ATENÇÃO! Falhou."_cp), base::BOX_ERROR);
  EXPECT_NE(out.str().find("? Confirma? -> N"), std::string::npos);
  EXPECT_NE(out.str().find("Mantém os dados? -> S"), std::string::npos);  // printed as UTF-8
  EXPECT_EQ(err.str(), "error: ATENÇÃO! Falhou.\n");
}
