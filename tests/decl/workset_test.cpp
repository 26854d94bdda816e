#include "decl/workset.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <map>

#include "base/codepage.h"
#include "base/xtext.h"
#include "decl/demo.h"
#include "store/abertura.h"
#include "store/records.h"
#include "store/store_test_util.h"
#include "xbase/fault_env.h"

using namespace kardo;
using namespace kardo::base::literals;
using base::Decimal;
using store::testing::ScratchDir;
using store::testing::Terminal;

namespace {

// The taxpayer's live rows of declaration table n as text, one line per row in record order,
// and whether any deleted row still carries the CPF.
struct Rows {
  std::vector<std::string> lines;
  bool deleted_with_cpf = false;
};

Rows rows_of(const std::string& folder, int n, const std::string& cpf) {
  Rows out;
  std::string path = folder + "/IMP" + base::STRZERO(Decimal(n), 2) + "19.DBF";
  auto t = xbase::Table::open(xbase::Env::posix(), path, xbase::Share::SHARED, true);
  if (!t) return out;
  (*t)->set_show_deleted(true);
  int f = (*t)->field_index("CPF");
  for ((*t)->go_top(); !(*t)->eof(); (*t)->skip(1)) {
    if ((*t)->text(f) != cpf) continue;
    if ((*t)->deleted()) {
      out.deleted_with_cpf = true;
      continue;
    }
    out.lines.push_back(std::string((*t)->record(), (*t)->record_length()));
  }
  return out;
}

// Every table's rows of the taxpayer, for comparing whole folder states.
std::map<int, std::vector<std::string>> snapshot(const std::string& folder, const std::string& cpf) {
  std::map<int, std::vector<std::string>> out;
  for (int n = 1; n <= 20; ++n)
    if (n != 13) out[n] = rows_of(folder, n, cpf).lines;
  return out;
}

struct Folder : ::testing::Test {
  ScratchDir dir;
  Terminal term{dir.path()};
  store::Session& s = term.s;

  decl::Declaration load(const std::string& cpf) {
    decl::Declaration d;
    base::Status st = decl::INIC_VAR(s, d, cpf, {}, {});
    EXPECT_TRUE(st) << st.message();
    return d;
  }
  void save(decl::Declaration& d, bool final = true) {
    base::Status st = decl::SALVATUDO(s, d, {.final = final}, {});
    ASSERT_TRUE(st) << st.message();
  }
};

}  // namespace

TEST_F(Folder, SaveThenLoadGivesTheSameDeclarationAndSavingAgainChangesNothing) {
  decl::Declaration d = decl::make_demo_declaration(3, 17);
  std::string cpf = d.vars.CPF;
  save(d);
  auto first = snapshot(dir.path(), cpf);
  EXPECT_EQ(first[9].size(), 1u);
  EXPECT_EQ(first[1].size(), 1u);
  EXPECT_EQ(first[2].size(), d.IMP02.size());

  decl::Declaration back = load(cpf);
  EXPECT_EQ(base::RTRIM(back.vars.NOMECONTR), d.vars.NOMECONTR);
  EXPECT_EQ(back.IMP02.size(), d.IMP02.size());
  EXPECT_EQ(back.IMP04.size(), d.IMP04.size());
  EXPECT_EQ(back.IMP06.size(), d.IMP06.size());
  save(back);
  EXPECT_EQ(snapshot(dir.path(), cpf), first);

  // the work copies hold the declaration under the system's names
  EXPECT_TRUE(store::testing::file_exists(dir / "TMP_0401.DBF"));
  EXPECT_TRUE(store::testing::file_exists(dir / "TMP_0401.CDX"));
  EXPECT_FALSE(store::testing::file_exists(dir / "TMP_1301.DBF"));
}

TEST_F(Folder, FewerRowsLeaveNoOldRowBehindAndOtherTaxpayersUntouched) {
  decl::Declaration a = decl::make_demo_declaration(3, 1), b = decl::make_demo_declaration(3, 2);
  a.IMP06.resize(3, a.IMP06.empty() ? store::imp06::Record{} : a.IMP06.front());
  save(a);
  save(b);
  auto b_before = snapshot(dir.path(), b.vars.CPF);
  a.IMP06.resize(1);
  save(a);
  Rows r = rows_of(dir.path(), 6, a.vars.CPF);
  EXPECT_EQ(r.lines.size(), 1u);
  EXPECT_FALSE(r.deleted_with_cpf);  // a surplus row cannot come back through a recovery
  EXPECT_EQ(snapshot(dir.path(), b.vars.CPF), b_before);
}

TEST_F(Folder, AssetsAndDebtsAreRenumberedInTheirOrder) {
  decl::Declaration d = decl::make_demo_declaration(3, 5);
  d.IMP04.clear();
  for (int n : {10, 20, 30, 15}) {
    store::imp04::Record a;
    a.I7_0 = n;
    a.I7_2 = "BEM " + std::to_string(n);
    d.IMP04.push_back(a);
  }
  save(d);
  decl::Declaration back = load(d.vars.CPF);
  ASSERT_EQ(back.IMP04.size(), 4u);
  std::vector<std::pair<int, std::string>> got;
  for (auto& a : back.IMP04) got.emplace_back(int(a.I7_0.whole()), std::string(base::RTRIM(a.I7_2)));
  EXPECT_EQ(got, (std::vector<std::pair<int, std::string>>{{10, "BEM 10"}, {20, "BEM 15"}, {30, "BEM 20"}, {40, "BEM 30"}}));
}

TEST_F(Folder, RegisterBookkeeping) {
  decl::Declaration d = decl::make_demo_declaration(3, 6);
  d.IMP12.clear();
  d.vars.I2_703 = Decimal(50);   // holder, March
  d.vars.I2_706 = Decimal(70);   // holder, June
  store::imp12::Record dep;
  dep.CPFdepen = "11144477735";
  dep.I2_706 = Decimal(30);      // a dependant, June
  d.IMP12.push_back(dep);
  d.vars.I13_27 = Decimal(100);
  d.vars.I13_28 = Decimal(20);
  d.vars.I13_35 = Decimal(500);
  d.vars.I13_34 = Decimal(40);
  d.vars.INDGAS = Decimal(1500);
  save(d, /*final=*/false);

  auto reg_row = [&] {
    store::imp09::Record r;
    s.close_all();
    EXPECT_TRUE(store::ABERTURA(s, 9));
    xbase::Table* t = s.table(9);
    t->seek(d.vars.CPF);
    EXPECT_TRUE(t->found());
    store::read_record(*t, r);
    return r;
  };
  store::imp09::Record r = reg_row();
  EXPECT_EQ(r.NRCLEAO, Decimal(3));
  EXPECT_EQ(r.DFCLEAO, Decimal(150));
  EXPECT_EQ(r.I13_27, Decimal(120));  // stored as I13_27 + I13_28
  EXPECT_EQ(r.I13_35, Decimal(460));  // stored as I13_35 − I13_34
  EXPECT_EQ(r.INDGAS, Decimal(999));
  EXPECT_EQ(r.NUSUAT, "01");  // an intermediate save keeps the terminal's mark
  EXPECT_GT(r.TAM_USO, Decimal());

  decl::Declaration back = load(d.vars.CPF);
  EXPECT_EQ(back.vars.I13_27, Decimal(100));  // the return's value, not the register copy
  save(back);
  r = reg_row();
  EXPECT_EQ(r.I13_27, Decimal(120));
  EXPECT_EQ(r.I13_35, Decimal(460));
  EXPECT_EQ(r.NUSUAT, "  ");  // blank once closed
}

TEST_F(Folder, AProtectedStatusIsNeverWritten) {
  decl::Declaration d = decl::make_demo_declaration(3, 8);
  s.define.STATRAVA = 5;
  d.vars.ESTATUS = 5;
  EXPECT_FALSE(decl::SALVATUDO(s, d, {}, {}));
  EXPECT_TRUE(term.op.showed("Não é permitido salvar qualquer modificação!"_cp));
  EXPECT_TRUE(snapshot(dir.path(), d.vars.CPF)[9].empty());
  s.define.STATRAVA = 0;  // 0 is no protection
  d.vars.ESTATUS = 0;
  EXPECT_TRUE(decl::SALVATUDO(s, d, {}, {}));
}

TEST_F(Folder, RecoveryUsesOnlyThisTaxpayersCompleteWorkSet) {
  decl::Declaration a = decl::make_demo_declaration(3, 9);
  save(a);
  decl::Declaration d;
  EXPECT_TRUE(decl::INIC_VAR(s, d, a.vars.CPF, {.recovering = true}, {}));
  EXPECT_EQ(base::RTRIM(d.vars.NOMECONTR), a.vars.NOMECONTR);
  EXPECT_FALSE(decl::INIC_VAR(s, d, "11144477735", {.recovering = true}, {}));
}

// A save interrupted at every one of its write steps ends, after the recovery the next start
// runs, with the new rows; never a mix of old and new, never a loss.
TEST(InterruptedSave, EveryWriteStepEndsWithTheOldOrTheNewRows) {
  ScratchDir dir;
  decl::Declaration old_d = decl::make_demo_declaration(11, 4);
  std::string cpf = old_d.vars.CPF;
  decl::Declaration other = decl::make_demo_declaration(11, 5);
  {
    Terminal t(dir.path());
    ASSERT_TRUE(decl::SALVATUDO(t.s, old_d, {}, {}));
    ASSERT_TRUE(decl::SALVATUDO(t.s, other, {}, {}));
  }
  auto old_state = snapshot(dir.path(), cpf);
  auto other_state = snapshot(dir.path(), other.vars.CPF);

  decl::Declaration new_d = old_d;
  new_d.vars.NOMECONTR = "NOME NOVO";
  new_d.IMP06.clear();
  new_d.IMP04.push_back(new_d.IMP04.front());
  new_d.IMP04.back().I7_2 = "BEM ACRESCENTADO";

  std::map<int, std::vector<std::string>> new_state;
  {
    ScratchDir probe;
    std::filesystem::copy(dir.path(), probe.path(), std::filesystem::copy_options::recursive);
    Terminal t(probe.path());
    decl::Declaration copy = new_d;
    ASSERT_TRUE(decl::SALVATUDO(t.s, copy, {}, {}));
    new_state = snapshot(probe.path(), cpf);
  }
  ASSERT_NE(new_state, old_state);

  long steps = 0;
  for (long step = 1;; ++step) {
    ScratchDir run;
    std::filesystem::copy(dir.path(), run.path(), std::filesystem::copy_options::recursive);
    xbase::FaultEnv faulty(xbase::Env::posix());
    faulty.fail_at(step);
    std::string what;
    faulty.on_step = [&](long n, const std::string& w) {
      if (n == step) what = w;
    };
    {
      Terminal t(run.path());
      store::Session crashed(t.op, faulty);
      crashed.NUSU = t.s.NUSU;
      crashed.folders = t.s.folders;
      decl::Declaration copy = new_d;
      bool done = bool(decl::SALVATUDO(crashed, copy, {}, {}));
      if (done && faulty.steps() < step) {
        steps = step - 1;
        break;  // the save finished before reaching this step: every step was tried
      }
    }
    Terminal next(run.path());
    base::Status st = decl::recover_interrupted_save(next.s);
    ASSERT_TRUE(st) << "step " << step << ": " << st.message();
    auto got = snapshot(run.path(), cpf);
    EXPECT_TRUE(got == old_state || got == new_state) << "a mix after a crash at step " << step << " (" << what << ")";
    if (got != old_state && got != new_state)
      for (auto& [n, rows] : got)
        if (rows != new_state[n]) ADD_FAILURE() << "table " << n << ": " << rows.size() << " rows, new has " << new_state[n].size();
    EXPECT_EQ(snapshot(run.path(), other.vars.CPF), other_state) << "step " << step;
    ASSERT_LT(step, 5000);
  }
  EXPECT_GT(steps, 10);
}

TEST(InterruptedSave, AKilledSaveIsCompletedByTheNextStart) {
  ScratchDir dir;
  decl::Declaration d = decl::make_demo_declaration(12, 1);
  {
    Terminal t(dir.path());
    ASSERT_TRUE(decl::SALVATUDO(t.s, d, {}, {}));
  }
  auto old_state = snapshot(dir.path(), d.vars.CPF);
  d.IMP02.push_back(d.IMP02.front());
  d.IMP02.back().I1_2 = "FONTE NOVA";
  pid_t pid = ::fork();
  if (pid == 0) {
    Terminal t(dir.path());
    for (int i = 0;; ++i) {  // saves until killed
      d.vars.VALOREC = Decimal(i);
      decl::SALVATUDO(t.s, d, {}, {});
    }
  }
  ::usleep(300 * 1000);
  ::kill(pid, SIGKILL);
  int status = 0;
  ::waitpid(pid, &status, 0);
  Terminal next(dir.path());
  ASSERT_TRUE(decl::recover_interrupted_save(next.s));
  auto got = snapshot(dir.path(), d.vars.CPF);
  EXPECT_NE(got, old_state);
  EXPECT_EQ(got[2].size(), d.IMP02.size());
  EXPECT_EQ(got[9].size(), 1u);
  EXPECT_EQ(got[1].size(), 1u);
}

TEST(ConcurrentSaves, TwoTerminalsSavingTwoTaxpayersLoseNothing) {
  ScratchDir dir;
  {
    Terminal t(dir.path());  // the tables exist before both start
    decl::Declaration seed = decl::make_demo_declaration(13, 99);
    ASSERT_TRUE(decl::SALVATUDO(t.s, seed, {}, {}));
  }
  auto work = [&](const std::string& nusu, uint32_t first) {
    base::SystemClock clock;  // real waits: the other terminal holds tables for real
    base::ScriptedOperator op(clock);
    store::Session s(op, xbase::Env::posix());
    s.NUSU = nusu;
    s.folders.ARQDEF = s.folders.LOCARQ = s.folders.LOCTRAB = dir.path() + "/";
    for (uint32_t i = first; i < first + 15; ++i) {
      decl::Declaration d = decl::make_demo_declaration(13, i);
      if (!decl::SALVATUDO(s, d, {}, {})) ::_exit(1);
    }
    ::_exit(0);
  };
  pid_t a = ::fork();
  if (a == 0) work("01", 0);
  pid_t b = ::fork();
  if (b == 0) work("02", 100);
  int sa = 0, sb = 0;
  ::waitpid(a, &sa, 0);
  ::waitpid(b, &sb, 0);
  ASSERT_TRUE(WIFEXITED(sa) && WEXITSTATUS(sa) == 0);
  ASSERT_TRUE(WIFEXITED(sb) && WEXITSTATUS(sb) == 0);
  for (uint32_t i : {0u, 7u, 14u, 100u, 107u, 114u}) {
    decl::Declaration d = decl::make_demo_declaration(13, i);
    auto state = snapshot(dir.path(), d.vars.CPF);
    EXPECT_EQ(state[9].size(), 1u) << i;
    EXPECT_EQ(state[2].size(), d.IMP02.size()) << i;
    EXPECT_EQ(state[4].size(), d.IMP04.size()) << i;
  }
}

TEST_F(Folder, LoadingAnotherTaxpayerOverUnsavedWorkAsksFirst) {
  decl::Declaration a = decl::make_demo_declaration(3, 21), b = decl::make_demo_declaration(3, 22);
  save(a);
  save(b);
  decl::Declaration d;
  ASSERT_TRUE(decl::INIC_VAR(s, d, a.vars.CPF, {}, {}));  // marks a as open here; never saved nor left
  s.close_all();
  term.op.answer("N");
  EXPECT_EQ(decl::INIC_VAR(s, d, b.vars.CPF, {}, {}).code(), base::Code::CANCELLED);
  EXPECT_TRUE(term.op.showed("não foram salvas."_cp));
  auto state = decl::work_set_state(s);
  EXPECT_EQ(state->cpf, a.vars.CPF);  // the work set is kept
  term.op.answer("S");
  EXPECT_TRUE(decl::INIC_VAR(s, d, b.vars.CPF, {}, {}));
  EXPECT_EQ(decl::work_set_state(s)->cpf, b.vars.CPF);
  // after a closing save nothing is unsaved, and no question is asked
  ASSERT_TRUE(decl::SALVATUDO(s, d, {}, {}));
  s.close_all();
  EXPECT_TRUE(decl::INIC_VAR(s, d, a.vars.CPF, {.mark_open = false}, {}));
}

TEST_F(Folder, LoadingWaitsForATableAnotherTerminalHolds) {
  decl::Declaration a = decl::make_demo_declaration(3, 30);
  save(a);
  s.close_all();
  for (int n : {4, 1}) {
    std::string path = dir / ("IMP" + base::STRZERO(Decimal(n), 2) + "19.DBF");
    store::testing::OtherProcess holder([&](store::testing::OtherProcess::Child& c) {
      auto t = xbase::Table::open(xbase::Env::posix(), path, xbase::Share::EXCLUSIVE);
      c.ready(bool(t));
      c.until_released();
    });
    ASSERT_TRUE(holder.ready());
    decl::Declaration d;
    if (n == 4) {
      term.op.answer("N");  // "Aguarde ?" — no: the loading gives up
      EXPECT_EQ(decl::INIC_VAR(s, d, a.vars.CPF, {}, {}).code(), base::Code::CANCELLED);
      EXPECT_TRUE(term.op.showed("Outro terminal esta usando o arquivo IMP0419.DBF"));
    } else {
      s.wait_limit = std::chrono::seconds(3);  // IMP01 is waited for without a question
      EXPECT_EQ(decl::INIC_VAR(s, d, a.vars.CPF, {}, {}).code(), base::Code::CANCELLED);
      EXPECT_EQ(term.op.last_line(), "Aguardando outro Terminal carregar dados...");
      s.wait_limit.reset();
    }
    s.close_all();
    EXPECT_EQ(holder.release(), 0);
  }
  decl::Declaration d;
  EXPECT_TRUE(decl::INIC_VAR(s, d, a.vars.CPF, {}, {}));  // free again
}
