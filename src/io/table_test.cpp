#include "io/table.h"

#include <gtest/gtest.h>

namespace tavro {
namespace {

TEST(Table, RowsAreNumberedFromOne) {
  Table<int, 3> t;
  t[1] = 10;
  t[3] = 30;
  EXPECT_EQ(t.rows[0], 10);
  EXPECT_EQ(t.rows[2], 30);
  EXPECT_EQ((Table<int, 3>::capacity), 3);
}

#if TAVRO_CHECKED_TABLES
TEST(TableDeathTest, RowOutsideCapacityAborts) {
  Table<int, 3> t;
  EXPECT_DEATH(t[4] = 1, "table row 4 outside 1..3");
  EXPECT_DEATH(t[0] = 1, "table row 0 outside 1..3");
}
#endif

}  // namespace
}  // namespace tavro
