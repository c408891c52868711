#include <gtest/gtest.h>

#include "store/Design.h"

namespace lumisk {
namespace {

TEST(KeyCatalogueTest, IntegerKeysThenWallPaper) {
  EXPECT_EQ(intKeyName(0), "BtnVertical");
  EXPECT_EQ(intKeyName(13), "BackColor");
  EXPECT_EQ(intKeyName(22), "Rows");
  EXPECT_EQ(keyName(23), "WallPaper");
  EXPECT_THROW(intKeyName(23), std::out_of_range);
}

TEST(DesignTest, AFreshRecordCarriesNothing) {
  const TDesign d = TDesign::unset();
  for (int32_t v : d.intValues) EXPECT_EQ(v, -1);
  EXPECT_EQ(d.wallPaper(), "-");
}

TEST(DesignListTest, CopiesNeverShareRecords) {
  DesignList a;
  a.append("x", TDesign::unset());
  DesignList b = a;
  b.design(0).intValues[0] = 5;
  b.design(0).wallPaper() = "";
  EXPECT_EQ(a.design(0).intValues[0], -1);
  EXPECT_EQ(a.design(0).wallPaper(), "-");
}

struct MoveCase {
  std::size_t from, to;
  std::string order;
};

class DesignListMoveTest : public ::testing::TestWithParam<MoveCase> {};

TEST_P(DesignListMoveTest, EntriesBetweenShiftTowardsTheOrigin) {
  DesignList list;
  for (const char* n : {"A", "B", "C", "D"}) list.append(n, TDesign::unset());
  list.move(GetParam().from, GetParam().to);
  std::string order;
  for (std::size_t i = 0; i < list.count(); ++i) order += list.name(i);
  EXPECT_EQ(order, GetParam().order);
}

INSTANTIATE_TEST_SUITE_P(Moves, DesignListMoveTest,
                         ::testing::Values(MoveCase{0, 2, "BCAD"}, MoveCase{3, 1, "ADBC"}, MoveCase{1, 1, "ABCD"},
                                           MoveCase{0, 3, "BCDA"}, MoveCase{3, 0, "DABC"}));

TEST(DesignListTest, NamesAreComparedByteForByte) {
  DesignList list;
  list.append("Design", TDesign::unset());
  list.append("design", TDesign::unset());
  EXPECT_TRUE(list.containsName("design"));
  EXPECT_FALSE(list.containsName("DESIGN"));
  list.remove(0);
  EXPECT_EQ(list.name(0), "design");
  EXPECT_THROW(list.remove(5), std::out_of_range);
}

}  // namespace
}  // namespace lumisk
