// Sharing a table: shared and exclusive opens, record, file and append locks at the offsets
// other xBase programs use, and what a table sees after it takes a lock. Two opens in one
// process conflict as two processes do (the locks belong to the open file).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "base/xtext.h"
#include "xbase/table.h"
#include "xbase_test_util.h"

namespace kardo::xbase {
namespace {

using namespace testing;

// Whether some open of the file holds a lock that overlaps [off, off + len).
bool held(const std::string& path, uint64_t off, uint64_t len = 1) {
  int fd = ::open(path.c_str(), O_RDWR);
  struct flock fl = {};
  fl.l_type = F_WRLCK;
  fl.l_whence = SEEK_SET;
  fl.l_start = off_t(off);
  fl.l_len = off_t(len);
  int r = ::fcntl(fd, F_OFD_GETLK, &fl);
  ::close(fd);
  return r == 0 && fl.l_type != F_UNLCK;
}

std::string make_table(const ScratchDir& dir, const char* name, int rows, bool own_index) {
  std::string path = dir / name;
  auto t = must(Table::create(Env::posix(), path, {{"K", 'C', 4}, {"V", 'N', 8}}, Share::EXCLUSIVE, true));
  for (int i = 1; i <= rows; ++i) {
    EXPECT_OK(t->append_blank());
    EXPECT_OK(t->set_text(0, base::STRZERO(i, 4)));
    EXPECT_OK(t->commit());
  }
  if (own_index) EXPECT_OK(t->create_index(path.substr(0, path.size() - 4) + ".CDX", "K"));
  EXPECT_OK(t->close());
  return path;
}

std::unique_ptr<Table> open_shared(const std::string& path) { return must(Table::open(Env::posix(), path, Share::SHARED)); }

TEST(Locks, SharedAndExclusiveOpens) {
  ScratchDir dir;
  std::string p = make_table(dir, "T.DBF", 3, false);
  {
    auto a = must(Table::open(Env::posix(), p, Share::EXCLUSIVE));
    EXPECT_EQ(Table::open(Env::posix(), p, Share::SHARED).status().code(), Code::LOCKED);
    EXPECT_EQ(Table::open(Env::posix(), p, Share::EXCLUSIVE).status().code(), Code::LOCKED);
    EXPECT_EQ(Table::create(Env::posix(), p, {{"A", 'C', 1}}, Share::EXCLUSIVE, true).status().code(), Code::LOCKED);
  }
  auto a = open_shared(p);
  auto b = open_shared(p);
  EXPECT_EQ(Table::open(Env::posix(), p, Share::EXCLUSIVE).status().code(), Code::LOCKED);
  EXPECT_TRUE(Table::open(Env::posix(), p, Share::EXCLUSIVE, true).is_ok());  // read only: a shared hold
  EXPECT_EQ(a->pack().code(), Code::INVALID);  // whole-table work needs an exclusive open
}

// Record r of a table with its own-name CDX is locked at 0x7FFFFFFE - r, the table at the
// 0x07FFFFFF bytes below 0x7FFFFFFE, appends at 0x7FFFFFFE; without it at 0x40000000 + the
// record's offset, 0x3FFFFFFD bytes from 0x40000001, and 0x40000000.
TEST(Locks, ConventionalOffsets) {
  ScratchDir dir;
  for (bool cdx : {true, false}) {
    SCOPED_TRACE(cdx ? "own-name index" : "no own-name index");
    std::string p = make_table(dir, cdx ? "C.DBF" : "P.DBF", 6, cdx);
    EXPECT_EQ(uint8_t(slurp(p)[28]), cdx ? 0x01 : 0x00);
    const uint64_t hl = 32 * 3 + 2, rl = 13;
    auto rec = [&](uint32_t r) { return cdx ? 0x7FFFFFFEull - r : 0x40000000ull + hl + (r - 1) * rl; };
    const uint64_t file_off = cdx ? 0x7FFFFFFEull - 0x07FFFFFFull : 0x40000001ull;
    const uint64_t file_len = cdx ? 0x07FFFFFFull : 0x3FFFFFFDull;
    const uint64_t append = cdx ? 0x7FFFFFFEull : 0x40000000ull;

    auto a = open_shared(p);
    ASSERT_OK(a->go_to(5));
    ASSERT_OK(a->lock_record());
    EXPECT_TRUE(held(p, rec(5)));
    EXPECT_FALSE(held(p, rec(4)));
    EXPECT_FALSE(held(p, rec(6)));
    ASSERT_OK(a->go_to(2));
    ASSERT_OK(a->lock_record());  // releases record 5
    EXPECT_TRUE(held(p, rec(2)));
    EXPECT_FALSE(held(p, rec(5)));
    ASSERT_OK(a->unlock());
    EXPECT_FALSE(held(p, rec(2)));

    ASSERT_OK(a->lock_file());
    EXPECT_TRUE(held(p, file_off));
    EXPECT_TRUE(held(p, file_off + file_len - 1));
    EXPECT_TRUE(held(p, append));
    ASSERT_OK(a->unlock());
    EXPECT_FALSE(held(p, file_off, file_len));
    EXPECT_FALSE(held(p, append));

    // The append lock is held only while a record is added; the new record stays locked.
    ASSERT_OK(a->append_blank());
    EXPECT_FALSE(held(p, append));
    EXPECT_TRUE(held(p, rec(7)));
    ASSERT_OK(a->unlock());
  }
}

TEST(Locks, RecordAndFileLocksBetweenTwoUsers) {
  ScratchDir dir;
  std::string p = make_table(dir, "T.DBF", 5, true);
  auto a = open_shared(p), b = open_shared(p);
  ASSERT_OK(a->go_to(1));
  ASSERT_OK(a->lock_record());
  ASSERT_OK(b->go_to(1));
  EXPECT_EQ(b->lock_record().code(), Code::LOCKED);
  EXPECT_FALSE(b->record_locked());
  EXPECT_EQ(b->lock_file().code(), Code::LOCKED);
  ASSERT_OK(b->go_to(2));
  ASSERT_OK(b->lock_record());
  // Writing needs the lock: b holds record 2, not record 3.
  ASSERT_OK(b->go_to(3));
  ASSERT_OK(b->set_text(0, "XXXX"));
  EXPECT_EQ(b->commit().code(), Code::INVALID);
  EXPECT_EQ(b->go_to(2).code(), Code::INVALID);  // the change cannot be dropped silently
  ASSERT_OK(b->set_text(0, "0003"));
  ASSERT_OK(b->go_to(2));  // the buffer is unchanged again; nothing to write

  ASSERT_OK(a->go_to(3));
  ASSERT_OK(a->lock_record());  // record 1 goes
  ASSERT_OK(b->go_to(1));
  ASSERT_OK(b->lock_record());
  ASSERT_OK(a->unlock());
  ASSERT_OK(b->unlock());

  // A file lock keeps others' record locks and appends out until it goes.
  ASSERT_OK(a->lock_file());
  ASSERT_OK(b->go_to(4));
  EXPECT_EQ(b->lock_record().code(), Code::LOCKED);
  EXPECT_EQ(b->append_blank().code(), Code::LOCKED);
  ASSERT_OK(a->go_to(4));
  ASSERT_OK(a->set_text(0, "AAAA"));  // the file lock covers every record
  ASSERT_OK(a->append_blank());
  ASSERT_OK(a->set_text(0, "0006"));
  ASSERT_OK(a->unlock());
  ASSERT_OK(b->lock_record());
  EXPECT_EQ(b->text(0), "AAAA");  // re-read under the lock
  EXPECT_EQ(b->record_count(), 6u);
  ASSERT_OK(b->unlock());
}

// After a lock, a table sees what others appended and changed, in records and in indexes.
TEST(Locks, NothingIsTrustedAcrossALock) {
  ScratchDir dir;
  std::string p = make_table(dir, "T.DBF", 3, true);
  auto a = open_shared(p), b = open_shared(p);
  ASSERT_OK(a->attach_index(dir / "T.CDX"));
  ASSERT_OK(b->attach_index(dir / "T.CDX"));
  ASSERT_OK(b->go_top());
  EXPECT_EQ(b->text(0), "0001");

  ASSERT_OK(a->append_blank());
  ASSERT_OK(a->set_text(0, "0000"));
  ASSERT_OK(a->unlock());
  ASSERT_OK(a->seek("0002"));
  ASSERT_OK(a->lock_record());
  ASSERT_OK(a->set_number(1, 22));
  ASSERT_OK(a->set_text(0, "0009"));
  ASSERT_OK(a->unlock());

  EXPECT_EQ(b->record_count(), 3u);  // nothing read yet
  ASSERT_OK(b->go_to(2));
  EXPECT_EQ(b->number(1), 22);  // records are read at every positioning in a shared open
  ASSERT_OK(b->lock_record());
  EXPECT_EQ(b->record_count(), 4u);
  ASSERT_OK(b->unlock());
  EXPECT_EQ(walk(*b), (std::vector<uint32_t>{4, 1, 3, 2}));
  ASSERT_OK(b->seek("0009"));
  EXPECT_TRUE(b->found());
  EXPECT_EQ(b->recno(), 2u);
  ASSERT_OK(b->seek("0002"));
  EXPECT_FALSE(b->found());
}

// begin_append: the record takes its number when committed, is in the index at once, and
// is left unlocked.
TEST(Locks, PreparedAppendsTakeTheirNumberWhenCommitted) {
  ScratchDir dir;
  std::string p = make_table(dir, "T.DBF", 2, true);
  auto a = open_shared(p), b = open_shared(p);
  ASSERT_OK(a->attach_index(dir / "T.CDX"));
  ASSERT_OK(b->attach_index(dir / "T.CDX"));
  ASSERT_OK(a->begin_append());
  ASSERT_OK(a->set_text(0, "A"));
  ASSERT_OK(b->begin_append());
  ASSERT_OK(b->set_text(0, "B"));
  ASSERT_OK(b->commit());
  EXPECT_EQ(b->recno(), 3u);
  ASSERT_OK(a->commit());
  EXPECT_EQ(a->recno(), 4u);
  EXPECT_FALSE(a->record_locked());
  ASSERT_OK(a->set_text(0, "C"));
  EXPECT_EQ(a->commit().code(), Code::INVALID);  // a later change needs the lock as usual
  ASSERT_OK(a->set_text(0, "A"));                 // as it was: nothing pending
  ASSERT_OK(a->lock_record());
  ASSERT_OK(a->set_text(0, "C"));
  ASSERT_OK(a->unlock());
  EXPECT_EQ(walk(*b), (std::vector<uint32_t>{1, 2, 3, 4}));
  ASSERT_OK(b->seek("C"));
  EXPECT_EQ(b->recno(), 4u);
}

}  // namespace
}  // namespace kardo::xbase
