// The lock routines: half-second retries, Esc, the batch limit, the messages and error boxes;
// one test per kind of lock against a real second process.
#include <gtest/gtest.h>

#include "base/codepage.h"
#include "store/abertura.h"
#include "store/records.h"
#include "store_test_util.h"

namespace kardo::store {
namespace {

using namespace testing;
using namespace base::literals;
using base::Code;

std::string cp(std::string_view v) { return std::string(v); }

const std::string kRecBox = cp("ATENÇÃO! Registro não ficou disponível. Dado nÃo será gravado."_cp);
const std::string kFilBox = cp("ATENÇÃO! Registro não ficou disponÍvel. Dado não será gravado."_cp);
const std::string kAddBox = cp("ATENÇÃO! Registro não ficou disponível. Dado não será gravado."_cp);

// A register with three rows, opened by this terminal and positioned on record 1.
class Locks : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_OK(ABERTURA(t.s, 9));
    for (const char* cpf : {"11111111111", "22222222222", "33333333333"}) {
      ASSERT_OK(ADD_REC(t.s, 0));
      ASSERT_OK(t.s.table(9)->set_text(imp09::CPF, cpf));
      ASSERT_OK(t.s.table(9)->unlock());
    }
    ASSERT_OK(reg().go_to(1));
    ASSERT_OK(ABERTURA(other.s, 9));
  }
  xbase::Table& reg() { return *t.s.table(9); }
  xbase::Table& theirs() { return *other.s.table(9); }
  // A second process with the register open that takes a lock on it and keeps it.
  std::unique_ptr<OtherProcess> holder(bool file) {
    auto p = std::make_unique<OtherProcess>([&, file](OtherProcess::Child& c) {
      Terminal far(dir.path(), "03");
      base::Status st = ABERTURA(far.s, 9);
      if (st) st = far.s.table(9)->go_to(1);
      if (st) st = file ? far.s.table(9)->lock_file() : far.s.table(9)->lock_record();
      c.ready(st.is_ok());
      c.until_released();
    });
    EXPECT_TRUE(p->ready());
    return p;
  }
  ScratchDir dir;
  Terminal t{dir.path()};
  Terminal other{dir.path(), "02"};
};

TEST_F(Locks, RecLockRetriesEveryHalfSecondThenGivesUp) {
  struct Case {
    const char* what;
    int seconds;  // -1: the default (2)
    int escape_after;
    int limit;  // batch wait limit in seconds, 0 none
    int sleeps;
    Code code;
  };
  const Case cases[] = {
      {"five seconds", 5, -1, 0, 10, Code::LOCKED}, {"default", -1, -1, 0, 4, Code::LOCKED},
      {"zero: at once", 0, -1, 0, 0, Code::LOCKED}, {"Esc", 5, 3, 0, 3, Code::CANCELLED},
      {"batch limit", 5, -1, 2, 4, Code::LOCKED},
  };
  ASSERT_OK(theirs().go_to(1));
  ASSERT_OK(theirs().lock_record());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Terminal me(dir.path(), "04");
    ASSERT_OK(ABERTURA(me.s, 9));
    ASSERT_OK(me.s.table(9)->go_to(1));
    if (c.escape_after >= 0) me.op.press_escape_after(c.escape_after);
    if (c.limit) me.s.wait_limit = std::chrono::seconds(c.limit);
    base::Status st = c.seconds < 0 ? REC_LOCK(me.s) : REC_LOCK(me.s, c.seconds);
    EXPECT_EQ(st.code(), c.code);
    EXPECT_EQ(me.clock.sleeps, c.sleeps);
    EXPECT_TRUE(me.op.showed("Aguardando registro ficar disponivel no arquivo IMP0919"));
    EXPECT_EQ(me.op.box_texts(), std::vector<std::string>{kRecBox});
    EXPECT_FALSE(me.s.table(9)->record_locked());
  }
  // Another record is free: locked at once, no message.
  Terminal me(dir.path(), "04");
  ASSERT_OK(ABERTURA(me.s, 9));
  ASSERT_OK(me.s.table(9)->go_to(2));
  EXPECT_OK(REC_LOCK(me.s, 5));
  EXPECT_TRUE(me.op.shown().empty());
}

TEST_F(Locks, FilLockWaitsAsAsked) {
  struct Case {
    const char* what;
    std::optional<int> seconds;
    int escape_after;
    int limit;
    int sleeps;
    Code code;
  };
  const Case cases[] = {
      {"single attempt", std::nullopt, -1, 0, 0, Code::LOCKED},
      {"three seconds", 3, -1, 0, 6, Code::LOCKED},
      {"Esc", 3, 2, 0, 2, Code::CANCELLED},
      {"zero: Esc is not consulted, the batch limit ends it", 0, 0, 10, 20, Code::LOCKED},
  };
  ASSERT_OK(theirs().lock_file());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Terminal me(dir.path(), "04");
    ASSERT_OK(ABERTURA(me.s, 9));
    if (c.escape_after >= 0) me.op.press_escape_after(c.escape_after);
    if (c.limit) me.s.wait_limit = std::chrono::seconds(c.limit);
    base::Status st = FIL_LOCK(me.s, c.seconds);
    EXPECT_EQ(st.code(), c.code);
    EXPECT_EQ(me.clock.sleeps, c.sleeps);
    ASSERT_FALSE(me.op.shown().empty());
    const auto& waiting = me.op.shown().front();
    EXPECT_EQ(waiting.kind, "line");
    EXPECT_EQ(waiting.lines, std::vector<std::string>{"Aguardando arquivo ficar disponivel"});
    EXPECT_EQ(me.op.box_texts(), std::vector<std::string>{kFilBox});
  }
}

TEST_F(Locks, PrepRegLocksTheRecordFoundOrAppendsOne) {
  bool found = false;
  ASSERT_OK(PREP_REG(t.s, "22222222222", &found));
  EXPECT_TRUE(found);
  EXPECT_EQ(reg().recno(), 2u);
  ASSERT_OK(theirs().go_to(2));
  EXPECT_EQ(theirs().lock_record().code(), Code::LOCKED);
  ASSERT_OK(reg().unlock());

  ASSERT_OK(PREP_REG(t.s, "44444444444", &found));
  EXPECT_FALSE(found);
  EXPECT_EQ(reg().recno(), 4u);
  EXPECT_TRUE(reg().record_locked());
}

TEST_F(Locks, WithoutACurrentTableNothingIsLocked) {
  t.s.current = 60;
  EXPECT_EQ(REC_LOCK(t.s).code(), Code::INVALID);
  EXPECT_EQ(FIL_LOCK(t.s, 0).code(), Code::INVALID);
  EXPECT_EQ(ADD_REC(t.s, 0).code(), Code::INVALID);
}

// --- against a second process ---

TEST_F(Locks, RecLockAgainstAnotherProcess) {
  auto far = holder(false);
  EXPECT_EQ(REC_LOCK(t.s, 5).code(), Code::LOCKED);
  EXPECT_EQ(t.clock.sleeps, 10);
  EXPECT_EQ(t.op.box_texts(), std::vector<std::string>{kRecBox});
  EXPECT_EQ(far->release(), 0);
  t.clock.sleeps = 0;
  EXPECT_OK(REC_LOCK(t.s, 5));
  EXPECT_EQ(t.clock.sleeps, 0);
}

TEST_F(Locks, FilLockZeroWaitsUntilTheOtherProcessLetsGo) {
  auto far = holder(true);
  t.clock.on_sleep = [&](int n) {
    if (n == 3) {
      EXPECT_EQ(far->release(), 0);
    }
  };
  EXPECT_OK(FIL_LOCK(t.s, 0));
  EXPECT_EQ(t.clock.sleeps, 3);
  EXPECT_TRUE(reg().file_locked());
  EXPECT_EQ(t.op.last_line(), "");  // the waiting message is cleared
  EXPECT_TRUE(t.op.box_texts().empty());
}

// Appends wait for the file lock of another process; the new record is locked on arrival.
TEST_F(Locks, AddRecAgainstAnotherProcess) {
  auto far = holder(true);
  EXPECT_EQ(ADD_REC(t.s, 1).code(), Code::LOCKED);
  EXPECT_EQ(t.clock.sleeps, 2);
  EXPECT_TRUE(t.op.showed(cp("Aguardando registro ficar disponível"_cp)));
  EXPECT_EQ(t.op.box_texts(), std::vector<std::string>{kAddBox});

  t.clock.sleeps = 0;
  t.clock.on_sleep = [&](int n) {
    if (n == 2) {
      EXPECT_EQ(far->release(), 0);
    }
  };
  EXPECT_OK(ADD_REC(t.s, 0));
  EXPECT_EQ(t.clock.sleeps, 2);
  EXPECT_EQ(reg().recno(), 4u);
  ASSERT_OK(theirs().go_to(4));
  EXPECT_EQ(theirs().lock_record().code(), Code::LOCKED);
}

}  // namespace
}  // namespace kardo::store
