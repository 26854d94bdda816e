#include "store/browse.h"

#include <gtest/gtest.h>

#include "store/store_test_util.h"

namespace kardo::store {
namespace {

using testing::ScratchDir;

// Five rows keyed A … E in index order (written in another order), C deleted.
std::unique_ptr<xbase::Table> five_rows(const ScratchDir& dir) {
  auto t = xbase::Table::create(xbase::Env::posix(), dir / "T.DBF", {{"K", 'C', 1, 0}});
  EXPECT_TRUE(t);
  for (const char* k : {"D", "A", "C", "E", "B"}) {
    EXPECT_TRUE((*t)->append_blank());
    EXPECT_TRUE((*t)->set_text(0, k));
    EXPECT_TRUE((*t)->commit());
  }
  EXPECT_TRUE((*t)->create_index(dir / "T.CDX", "K"));
  EXPECT_TRUE((*t)->seek("C"));
  EXPECT_TRUE((*t)->delete_record());
  return std::move(*t);
}

TEST(Skipped, MovesAsFarAsItCanAndCountsTheSteps) {
  ScratchDir dir;
  auto t = five_rows(dir);
  struct Case {
    const char* from;  // key to start on; "" for the end position
    long n;
    bool may_end;
    long moved;
    const char* at;    // "" = end position
  } cases[] = {
      {"A", 2, false, 2, "D"},   // the deleted C is not a row
      {"B", 9, false, 2, "E"},   // stops on the last row
      {"B", 9, true, 3, ""},     // may land on the end and counts that step
      {"E", 1, true, 1, ""},
      {"E", 1, false, 0, "E"},
      {"E", -2, false, -2, "B"},
      {"D", -9, false, -2, "A"},  // stops on the first row
      {"A", -1, false, 0, "A"},
      {"D", 0, false, 0, "D"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(t->seek(c.from));
    auto moved = SKIPPED(*t, c.n, c.may_end);
    ASSERT_TRUE(moved) << moved.status().message();
    EXPECT_EQ(*moved, c.moved) << c.from << " " << c.n;
    EXPECT_EQ(t->eof() ? std::string() : t->text(0), c.at) << c.from << " " << c.n;
  }
}

}  // namespace
}  // namespace kardo::store
