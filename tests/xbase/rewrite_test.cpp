// Pack and zap: what they leave, and that an interruption at any write step (an injected
// fault, or a real SIGKILL) leaves a table that opens sound — the old one untouched until
// the new one is complete, and an index either right or missing (rebuilt by the opener),
// never stale.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "base/xtext.h"
#include "xbase/fault_env.h"
#include "xbase/table.h"
#include "xbase_test_util.h"

namespace kardo::xbase {
namespace {

using namespace testing;

struct Row {
  std::string k;
  bool deleted;
  std::string memo;
  friend bool operator==(const Row&, const Row&) = default;
};

// T.DBF with K C 6 (scrambled), V N 6, M memo on every 5th row; every 4th row deleted;
// indexes T.CDX on K and TB.CDX on V.
std::vector<Row> make_table(const ScratchDir& dir, int n) {
  std::vector<Row> rows;
  auto t = must(Table::create(Env::posix(), dir / "T.DBF", {{"K", 'C', 6}, {"V", 'N', 6}, {"M", 'M', 10}},
                              Share::EXCLUSIVE, true));
  for (int i = 1; i <= n; ++i) {
    Row r{base::STRZERO((i * 7919) % 100003, 6), i % 4 == 0, i % 5 == 0 ? "memo " + std::to_string(i) + "\r\n" : ""};
    EXPECT_OK(t->append_blank());
    EXPECT_OK(t->set_text(0, r.k));
    EXPECT_OK(t->set_number(1, n - i));
    EXPECT_OK(t->set_memo(2, r.memo));
    EXPECT_OK(t->commit());
    if (r.deleted) EXPECT_OK(t->delete_record());
    rows.push_back(r);
  }
  EXPECT_OK(t->create_index(dir / "T.CDX", "K"));
  EXPECT_OK(t->create_index(dir / "TB.CDX", "V"));
  EXPECT_OK(t->close());
  return rows;
}

std::vector<Row> read_rows(Table& t) {
  std::vector<Row> rows;
  t.set_show_deleted(true);
  EXPECT_OK(t.set_order(0));
  EXPECT_OK(t.go_top());
  while (!t.eof()) {
    rows.push_back(Row{t.text(0), t.deleted(), must(t.memo(2))});
    EXPECT_OK(t.skip(1));
  }
  return rows;
}

std::vector<Row> live(const std::vector<Row>& rows) {
  std::vector<Row> out;
  for (const Row& r : rows)
    if (!r.deleted) out.push_back(r);
  return out;
}

// The state an interrupted rewrite left: "old" or "new" (and the test fails when it is
// neither, or when an index disagrees with the table).
std::string check_state(const ScratchDir& dir, const std::vector<Row>& old_rows, const std::vector<Row>& new_rows,
                        const std::string& old_bytes) {
  auto t = Table::open(Env::posix(), dir / "T.DBF", Share::EXCLUSIVE);
  if (!t) {
    ADD_FAILURE() << "table does not open: " << t.status().message();
    return "broken";
  }
  std::vector<Row> rows = read_rows(**t);
  std::string state = rows == old_rows ? "old" : rows == new_rows ? "new" : "neither";
  EXPECT_NE(state, "neither");
  if (state == "old") {
    EXPECT_EQ(slurp(dir / "T.DBF"), old_bytes) << "the old table was written to";
  }
  // Each index file present must hold exactly the table's records in key order.
  std::vector<uint32_t> by_k(rows.size());
  for (uint32_t i = 0; i < by_k.size(); ++i) by_k[i] = i + 1;
  std::stable_sort(by_k.begin(), by_k.end(), [&](uint32_t a, uint32_t b) { return rows[a - 1].k < rows[b - 1].k; });
  std::vector<uint32_t> by_v(rows.size());
  for (uint32_t i = 0; i < by_v.size(); ++i) by_v[i] = uint32_t(rows.size()) - i;  // V falls as recno grows
  for (auto [file, want] : {std::pair{"T.CDX", &by_k}, std::pair{"TB.CDX", &by_v}}) {
    if (!Env::posix().exists(dir / file)) continue;
    Status s = (*t)->attach_index(dir / file);
    EXPECT_TRUE(s.is_ok()) << file << ": " << s.message();
    if (!s) continue;
    EXPECT_OK((*t)->set_order((*t)->index_count()));
    EXPECT_EQ(walk(**t), *want) << file << " disagrees with the " << state << " table";
  }
  return state;
}

TEST(Rewrite, PackKeepsLiveRowsMemosAndIndexes) {
  ScratchDir dir;
  auto rows = make_table(dir, 200);
  auto t = must(Table::open(Env::posix(), dir / "T.DBF", Share::EXCLUSIVE));
  ASSERT_OK(t->attach_index(dir / "T.CDX"));
  ASSERT_OK(t->attach_index(dir / "TB.CDX"));
  ASSERT_OK(t->pack());
  EXPECT_EQ(t->record_count(), 150u);
  EXPECT_EQ(read_rows(*t), live(rows));
  EXPECT_EQ(t->index_count(), 2);
  ASSERT_OK(t->close());
  EXPECT_EQ(check_state(dir, rows, live(rows), ""), "new");
  // Nothing is left beside the table.
  std::vector<std::string> names;
  for (auto& e : std::filesystem::directory_iterator(dir.path())) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"T.CDX", "T.DBF", "T.DBT", "TB.CDX"}));

  // Packed without attaching its indexes: the own-name index still follows the table.
  {
    auto t2 = must(Table::open(Env::posix(), dir / "T.DBF", Share::EXCLUSIVE));
    ASSERT_OK(t2->go_to(1));
    ASSERT_OK(t2->delete_record());
    ASSERT_OK(t2->pack());
    EXPECT_EQ(t2->index_count(), 0);
  }
  std::remove((dir / "TB.CDX").c_str());  // other index files not attached are the caller's to rebuild
  auto packed_again = live(rows);
  packed_again.erase(packed_again.begin());
  EXPECT_EQ(check_state(dir, rows, packed_again, ""), "new");

  auto z = must(Table::open(Env::posix(), dir / "T.DBF", Share::EXCLUSIVE));
  ASSERT_OK(z->attach_index(dir / "T.CDX"));
  ASSERT_OK(z->create_index(dir / "TB.CDX", "V"));
  ASSERT_OK(z->zap());
  EXPECT_EQ(z->record_count(), 0u);
  ASSERT_OK(z->go_top());
  EXPECT_TRUE(z->eof());
  ASSERT_OK(z->append_blank());
  ASSERT_OK(z->set_text(0, "ABC"));
  ASSERT_OK(z->set_memo(2, "after zap"));
  ASSERT_OK(z->close());
  EXPECT_EQ(slurp(dir / "T.DBT").size(), 1024u);
  auto u = must(Table::open(Env::posix(), dir / "T.DBF", Share::EXCLUSIVE));
  ASSERT_OK(u->attach_index(dir / "T.CDX"));
  ASSERT_OK(u->seek("ABC"));
  EXPECT_TRUE(u->found());
  EXPECT_EQ(must(u->memo(2)), "after zap");
}

// Fails the pack's Nth write step for every N, once as a crash (nothing after it reaches the
// disk, no clean-up) and once as a single failed step (the pack cleans up and reports).
TEST(Rewrite, PackInterruptedAtEveryWriteStep) {
  for (bool crash : {true, false}) {
    SCOPED_TRACE(crash ? "crash" : "single failure");
    ScratchDir dir;
    auto rows = make_table(dir, 300);
    std::map<std::string, std::string> original;
    for (const char* f : {"T.DBF", "T.DBT", "T.CDX", "TB.CDX"}) original[f] = slurp(dir / f);
    bool finished = false;
    int saw_old = 0, saw_new = 0;
    for (long step = 1; !finished && step < 200; ++step) {
      SCOPED_TRACE("step " + std::to_string(step));
      std::filesystem::remove_all(dir.path());
      std::filesystem::create_directory(dir.path());
      for (auto& [f, bytes] : original) spit(dir / f, bytes);
      FaultEnv env(Env::posix());
      std::string failed_at;
      env.on_step = [&](long n, const std::string& what) {
        if (n == step) failed_at = what;
      };
      {
        auto t = must(Table::open(env, dir / "T.DBF", Share::EXCLUSIVE));
        ASSERT_OK(t->attach_index(dir / "T.CDX"));
        ASSERT_OK(t->attach_index(dir / "TB.CDX"));
        env.reset_steps();
        env.fail_at(step, crash);
        Status s = t->pack();
        finished = s.is_ok() && failed_at.empty();
        if (!failed_at.empty() && s.is_ok()) finished = false;
        // Only the clean-up of the old index files, once everything is in place, may fail
        // without failing the pack.
        bool leftover = failed_at.rfind("remove", 0) == 0 && failed_at.size() > 4 && failed_at.ends_with(".old");
        if (!failed_at.empty() && !leftover) {
          EXPECT_FALSE(s.is_ok()) << "a failure at '" << failed_at << "' was reported as success";
        }
      }
      std::string state = check_state(dir, rows, live(rows), original["T.DBF"]);
      (state == "old" ? saw_old : saw_new)++;
      if (!crash && state == "old") {
        // Cleaned up: the old files all in place, no temporary left.
        for (auto& [f, bytes] : original) EXPECT_EQ(slurp(dir / f), bytes) << f;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 4);
      }
    }
    EXPECT_TRUE(finished);
    EXPECT_GT(saw_old, 3);
    EXPECT_GT(saw_new, 0);
  }
}

// A child process packing a table is killed with SIGKILL at chosen write steps: before the
// first write, halfway through the records, and right after the new table is renamed in.
TEST(Rewrite, PackKilledMidway) {
  ScratchDir dir;
  auto rows = make_table(dir, 30000);  // about 2 MB of records: several large writes
  std::map<std::string, std::string> original;
  for (const char* f : {"T.DBF", "T.DBT", "T.CDX", "TB.CDX"}) original[f] = slurp(dir / f);

  // A dry run counts the steps and finds the rename of the table.
  long total = 0, rename_step = 0;
  {
    ScratchDir dry;
    for (auto& [f, bytes] : original) spit(dry / f, bytes);
    FaultEnv env(Env::posix());
    env.on_step = [&](long n, const std::string& what) {
      total = n;
      if (what.rfind("rename", 0) == 0 && what.find("T.DBF.") != std::string::npos && what.find(".CDX") == std::string::npos)
        rename_step = n;
    };
    auto t = must(Table::open(env, dry / "T.DBF", Share::EXCLUSIVE));
    ASSERT_OK(t->attach_index(dry / "T.CDX"));
    ASSERT_OK(t->attach_index(dry / "TB.CDX"));
    env.reset_steps();
    ASSERT_OK(t->pack());
  }
  ASSERT_GT(rename_step, 2);
  for (long kill_at : {1L, rename_step / 2, rename_step + 1}) {
    SCOPED_TRACE("killed at step " + std::to_string(kill_at) + " of " + std::to_string(total));
    std::filesystem::remove_all(dir.path());
    std::filesystem::create_directory(dir.path());
    for (auto& [f, bytes] : original) spit(dir / f, bytes);
    int pipefd[2];
    ASSERT_EQ(::pipe(pipefd), 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::close(pipefd[0]);
      FaultEnv env(Env::posix());
      env.on_step = [&](long n, const std::string&) {
        if (n == kill_at) {
          char c = 'k';
          if (::write(pipefd[1], &c, 1) != 1) ::_exit(3);
          for (;;) ::pause();  // the parent kills us here
        }
      };
      auto t = Table::open(env, dir / "T.DBF", Share::EXCLUSIVE);
      if (!t || !(*t)->attach_index(dir / "T.CDX") || !(*t)->attach_index(dir / "TB.CDX")) ::_exit(2);
      env.reset_steps();
      (*t)->pack();
      ::_exit(1);  // not reached when the kill comes
    }
    ::close(pipefd[1]);
    char c = 0;
    ASSERT_EQ(::read(pipefd[0], &c, 1), 1);
    ::close(pipefd[0]);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    std::string state = check_state(dir, rows, live(rows), original["T.DBF"]);
    EXPECT_EQ(state, kill_at <= rename_step ? "old" : "new");
  }
}

}  // namespace
}  // namespace kardo::xbase
