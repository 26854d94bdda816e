// Several processes appending to, replacing in and deleting from one indexed table at once,
// each through its own shared open, taking locks the way the store's routines do (retrying a
// refused lock). Afterwards every row is there exactly once, the index holds exactly the
// table's records in key order, and no increment of the shared counter is lost.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <map>

#include "base/xtext.h"
#include "xbase/table.h"
#include "xbase_test_util.h"

namespace kardo::xbase {
namespace {

using namespace testing;

constexpr int kProcesses = 4;
constexpr int kRounds = 400;

std::string key(char prefix, int p, int i) {
  char b[16];
  std::snprintf(b, sizeof b, "%c%d-%06d", prefix, p, i);
  return b;
}

// Retries a refused lock as the store's waiting routines do.
Status retry(const std::function<Status()>& f) {
  for (int i = 0;; ++i) {
    Status s = f();
    if (s.code() != Code::LOCKED || i > 20000) return s;
    ::usleep(100);
  }
}

#define CHILD_CHECK(expr)                                                      \
  do {                                                                         \
    Status _s = (expr);                                                        \
    if (!_s) {                                                                 \
      std::fprintf(stderr, "process %d: %s: %s\n", p, #expr, _s.message().c_str()); \
      ::_exit(1);                                                              \
    }                                                                          \
  } while (0)

void worker(const std::string& path, const std::string& index, int p, int start) {
  char c;
  while (::read(start, &c, 1) > 0) {
  }  // all start together, when the parent closes the pipe
  auto opened = Table::open(Env::posix(), path, Share::SHARED);
  if (!opened) ::_exit(2);
  Table& t = **opened;
  CHILD_CHECK(t.attach_index(index));
  t.set_show_deleted(true);  // rows are found by key, deleted or not
  for (int i = 1; i <= kRounds; ++i) {
    // Half the rows as the store's ADD_REC does (a blank record, locked), half prepared.
    CHILD_CHECK(retry([&] { return i % 2 ? t.append_blank() : t.begin_append(); }));
    CHILD_CHECK(t.set_text(0, key('P', p, i)));
    CHILD_CHECK(t.set_number(1, p));
    CHILD_CHECK(t.set_number(2, i));
    CHILD_CHECK(retry([&] { return t.unlock(); }));

    CHILD_CHECK(t.seek("COUNTER"));
    if (!t.found()) ::_exit(3);
    CHILD_CHECK(retry([&] { return t.lock_record(); }));
    CHILD_CHECK(t.set_number(3, t.number(3) + 1));
    CHILD_CHECK(t.unlock());

    if (i % 5 == 0) {  // a key changes: the index entry moves
      CHILD_CHECK(t.seek(key('P', p, i - 3)));
      if (!t.found()) ::_exit(4);
      CHILD_CHECK(retry([&] { return t.lock_record(); }));
      CHILD_CHECK(t.set_text(0, key('Q', p, i - 3)));
      CHILD_CHECK(t.unlock());
    }
    if (i % 7 == 0) {
      CHILD_CHECK(t.seek(key('P', p, i - 1)));
      if (!t.found()) ::_exit(5);
      CHILD_CHECK(retry([&] { return t.lock_record(); }));
      CHILD_CHECK(t.delete_record());
      CHILD_CHECK(t.unlock());
    }
  }
  CHILD_CHECK(t.close());
  ::_exit(0);
}

TEST(Concurrency, ProcessesAppendReplaceAndDeleteInOneIndexedTable) {
  ScratchDir dir;
  std::string path = dir / "C.DBF", index = dir / "C.CDX";
  {
    auto t = must(Table::create(Env::posix(), path,
                                {{"K", 'C', 12}, {"OWNER", 'N', 3}, {"SEQ", 'N', 6}, {"CNT", 'N', 8}}, Share::EXCLUSIVE, true));
    ASSERT_OK(t->append_blank());
    ASSERT_OK(t->set_text(0, "COUNTER"));
    ASSERT_OK(t->set_number(3, 0));
    ASSERT_OK(t->create_index(index, "K"));
    ASSERT_OK(t->close());
  }
  std::vector<pid_t> children;
  int start[2];
  ASSERT_EQ(::pipe(start), 0);
  for (int p = 1; p <= kProcesses; ++p) {
    pid_t c = ::fork();
    ASSERT_GE(c, 0);
    if (c == 0) {
      ::close(start[1]);
      worker(path, index, p, start[0]);
    }
    children.push_back(c);
  }
  ::close(start[0]);
  ::close(start[1]);
  for (pid_t c : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(c, &status, 0), c);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a process failed: status " << status;
  }

  // What the rows must be.
  std::map<std::string, bool> want;  // key → deleted
  for (int p = 1; p <= kProcesses; ++p)
    for (int i = 1; i <= kRounds; ++i) {
      bool moved = i + 3 <= kRounds && (i + 3) % 5 == 0;
      bool deleted = i + 1 <= kRounds && (i + 1) % 7 == 0;
      want[key(moved ? 'Q' : 'P', p, i)] = deleted;
    }

  auto t = must(Table::open(Env::posix(), path, Share::EXCLUSIVE));
  ASSERT_EQ(t->record_count(), 1u + kProcesses * kRounds);
  t->set_show_deleted(true);
  std::map<std::string, bool> got;
  std::vector<std::pair<std::string, uint32_t>> records;
  ASSERT_OK(t->go_top());
  while (!t->eof()) {
    std::string k(base::RTRIM(t->raw(0)));
    if (k == "COUNTER") {
      EXPECT_EQ(t->number(3), kProcesses * kRounds) << "increments were lost";
    } else {
      EXPECT_TRUE(got.emplace(k, t->deleted()).second) << k << " twice";
    }
    records.emplace_back(t->text(0), t->recno());
    ASSERT_OK(t->skip(1));
  }
  EXPECT_EQ(got, want);

  // The index: every record once, in key order; every key found by a seek.
  std::sort(records.begin(), records.end());
  std::vector<uint32_t> order;
  for (auto& r : records) order.push_back(r.second);
  ASSERT_OK(t->attach_index(index));
  EXPECT_EQ(walk(*t), order);
  for (auto& [k, recno] : records) {
    ASSERT_OK(t->seek(k));
    EXPECT_TRUE(t->found() && t->recno() == recno) << k;
  }
}

}  // namespace
}  // namespace kardo::xbase
