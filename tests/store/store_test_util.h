// Helpers of the data store's tests: a scratch folder, a session on it with a scripted operator
// and a clock that costs no time, and a second process that holds a lock until told to let go.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "base/clock.h"
#include "base/operator.h"
#include "store/session.h"
#include "xbase/file.h"
#include "xbase/table.h"
#include "xbase/xbase_test_util.h"

namespace kardo::store::testing {

using xbase::testing::ScratchDir;
using xbase::testing::slurp;
using xbase::testing::spit;

// A clock that stands still, counts the sleeps and can run something at each one (a second
// process letting go of its lock at the third retry).
class CountingClock final : public base::Clock {
 public:
  CountingClock() : inner_(base::Date(2019, 3, 11), 10, 0, 0) {}
  TimePoint now() override { return inner_.now(); }
  void sleep_for(std::chrono::milliseconds d) override {
    ++sleeps;
    inner_.sleep_for(d);
    if (on_sleep) on_sleep(sleeps);
  }
  int sleeps = 0;
  std::function<void(int)> on_sleep;

 private:
  base::FixedClock inner_;
};

// One terminal: a session on `dir` (data, declaration and work folder alike) with its own
// scripted operator.
struct Terminal {
  explicit Terminal(const std::string& dir, std::string nusu = "01") : op(clock), s(op, xbase::Env::posix()) {
    s.NUSU = std::move(nusu);
    s.folders.ARQDEF = s.folders.LOCARQ = s.folders.LOCTRAB = s.folders.DIRORIG = dir + "/";
    s.home = "/home/escritorio";
    s.startup_folder = "/dados/origem";
    s.default_printer = "laser1";
  }
  CountingClock clock;
  base::ScriptedOperator op;
  Session s;
};

inline ino_t inode(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

inline bool file_exists(const std::string& path) { return std::filesystem::exists(path); }

// A second process. `body` runs in the child: it takes what it holds, calls ready(), then
// until_released() keeps it until the parent calls release() (or the object goes). The child
// ends with _exit, so nothing of the test framework runs twice.
class OtherProcess {
 public:
  class Child {
   public:
    void ready(bool ok = true) {
      char c = ok ? '1' : '0';
      if (::write(ready_fd, &c, 1) != 1) ::_exit(3);
    }
    void until_released() {
      char c;
      if (::read(go_fd, &c, 1) < 0) ::_exit(3);
    }
    int ready_fd, go_fd;
  };

  explicit OtherProcess(const std::function<void(Child&)>& body) {
    int ready[2], go[2];
    if (::pipe(ready) != 0 || ::pipe(go) != 0) std::abort();
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(ready[0]);
      ::close(go[1]);
      Child c{ready[1], go[0]};
      body(c);
      ::_exit(0);
    }
    ::close(ready[1]);
    ::close(go[0]);
    ready_fd_ = ready[0];
    go_fd_ = go[1];
    char c = '0';
    ready_ = ::read(ready_fd_, &c, 1) == 1 && c == '1';
  }
  ~OtherProcess() { release(); }
  OtherProcess(const OtherProcess&) = delete;
  OtherProcess& operator=(const OtherProcess&) = delete;

  // Whether the child reported that it holds what it took.
  bool ready() const { return ready_; }
  // Tells the child to go on, without waiting for it.
  void signal() {
    if (pid_ <= 0 || signalled_) return;
    char c = 'g';
    signalled_ = ::write(go_fd_, &c, 1) == 1;
  }
  // Lets the child go and waits for it to end; its exit status (0 when all went well).
  int release() {
    if (pid_ <= 0) return status_;
    signal();
    int st = 0;
    ::waitpid(pid_, &st, 0);
    ::close(ready_fd_);
    ::close(go_fd_);
    pid_ = -1;
    status_ = WIFEXITED(st) ? WEXITSTATUS(st) : 99;
    return status_;
  }

 private:
  pid_t pid_ = -1;
  int ready_fd_ = -1, go_fd_ = -1;
  bool ready_ = false;
  bool signalled_ = false;
  int status_ = 0;
};

// Calls f on every visible record of the table, in the active order.
inline void for_each_row(xbase::Table& t, const std::function<void()>& f) {
  base::Status st = t.go_top();
  while (st && !t.eof()) {
    f();
    st = t.skip();
  }
  EXPECT_TRUE(st.is_ok()) << st.message();
}

// EXPECT_OK and ASSERT_OK come with xbase/xbase_test_util.h.

}  // namespace kardo::store::testing
