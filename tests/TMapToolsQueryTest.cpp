#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ErrorText.h"
#include "MapFixtures.h"
#include "TMapTools.h"

using gridclip_test::MakeGrid;

namespace {
const double DblNaN = std::numeric_limits<double>::quiet_NaN();

struct TBlock {
  long LngNorth;
  long LngSouth;
  long LngWest;
  long LngEast;
  bool operator==(const TBlock& Other) const {
    return LngNorth == Other.LngNorth && LngSouth == Other.LngSouth && LngWest == Other.LngWest &&
           LngEast == Other.LngEast;
  }
};

std::ostream& operator<<(std::ostream& Stream, const TBlock& Block) {
  return Stream << "{N " << Block.LngNorth << ", S " << Block.LngSouth << ", W " << Block.LngWest
                << ", E " << Block.LngEast << "}";
}

TBlock PatchExtent(const TMap* PtrMap, double DblValue) {
  TBlock Block{-1, -1, -1, -1};
  TMapTools::FindPatchExtent(PtrMap, DblValue, Block.LngNorth, Block.LngSouth, Block.LngWest,
                             Block.LngEast);
  return Block;
}

TBlock Buffered(const TMap* PtrMap, long LngN, TBlock Block) {
  TMapTools::BufferIndices(PtrMap, LngN, Block.LngNorth, Block.LngSouth, Block.LngWest,
                           Block.LngEast);
  return Block;
}

// 5 columns by 4 rows, 7 at (1, 2) and (3, 1), 8 only at (0, 0), 6 only at (4, 3), NaN at (2, 0).
std::unique_ptr<TMap> PatchGrid() {
  return MakeGrid(0, 0, 1,
                  {{8, 0, DblNaN, 0, 0},  //
                   {0, 0, 0, 7, 0},       //
                   {0, 7, 0, 0, 0},       //
                   {0, 0, 0, 0, 6}});
}

using TOverlay = std::map<double, std::vector<double>>;
}  // namespace

TEST(TMapTools, FindPatchExtentGivesBoundingBlockOfTheValue) {
  auto PtrMap = PatchGrid();
  struct TCase {
    const char* ChrName;
    double DblValue;
    TBlock Expected;
  };
  // name, value, {north, south, west, east}
  const TCase Cases[] = {
      {"two separate cells", 7, {1, 2, 1, 3}},
      {"absent value", 5, {0, 0, 0, 0}},
      {"only at (0, 0)", 8, {0, 0, 0, 0}},
      {"only at the south-east corner", 6, {3, 3, 4, 4}},
      {"background around the patches", 0, {0, 3, 0, 4}},
      {"NaN is never found", DblNaN, {0, 0, 0, 0}},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.ChrName);
    EXPECT_EQ(PatchExtent(PtrMap.get(), Case.DblValue), Case.Expected);
  }
}

TEST(TMapTools, FindPatchExtentOfMapWithoutCellsIsZero) {
  TMap Map(1.0, 0, 0);
  EXPECT_EQ(PatchExtent(&Map, -9999), (TBlock{0, 0, 0, 0}));
}

TEST(TMapTools, BufferIndicesWidensAndClipsToTheMap) {
  auto PtrSmall = PatchGrid();  // 5 x 4
  auto PtrLarge = MakeGrid(0, 0, 1, std::vector<std::vector<double>>(8, std::vector<double>(10)));
  struct TCase {
    const char* ChrName;
    const TMap* PtrMap;
    long LngN;
    TBlock Given;
    TBlock Expected;
  };
  // name, map, n, given {north, south, west, east}, expected
  const TCase Cases[] = {
      {"clipped on every side", PtrSmall.get(), 2, {1, 2, 1, 3}, {0, 3, 0, 4}},
      {"n of 0 leaves an inner block", PtrSmall.get(), 0, {1, 2, 1, 3}, {1, 2, 1, 3}},
      {"widened inside the map", PtrLarge.get(), 2, {3, 4, 3, 5}, {1, 6, 1, 7}},
      {"reaching the edges exactly", PtrLarge.get(), 2, {2, 5, 2, 7}, {0, 7, 0, 9}},
      {"clipped on the north and west only", PtrLarge.get(), 3, {1, 2, 2, 4}, {0, 5, 0, 7}},
      {"clipped on the south and east only", PtrLarge.get(), 1, {5, 7, 6, 9}, {4, 7, 5, 9}},
      {"indices outside the map", PtrLarge.get(), 1, {-5, 100, -3, 20}, {0, 7, 0, 9}},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.ChrName);
    EXPECT_EQ(Buffered(Case.PtrMap, Case.LngN, Case.Given), Case.Expected);
  }
}

TEST(TMapTools, GetValuesOverlayCollectsValuesPerZone) {
  // Zone 1 at (0, 0) and (0, 1), 2 at (1, 0), -9999 at (1, 1).
  auto PtrZones = MakeGrid(0, 0, 1, {{1, 2}, {1, -9999}});
  auto PtrValues = MakeGrid(0, 0, 1, {{10, 20}, {11, 5}});
  EXPECT_EQ(TMapTools::GetValuesOverlay(PtrValues.get(), PtrZones.get(), {}),
            (TOverlay{{-9999, {5}}, {1, {10, 11}}, {2, {20}}}));
  EXPECT_EQ(TMapTools::GetValuesOverlay(PtrValues.get(), PtrZones.get(), {-9999}),
            (TOverlay{{1, {10, 11}}, {2, {20}}}));
  EXPECT_EQ(TMapTools::GetValuesOverlay(PtrValues.get(), PtrZones.get(), {3, 2, -9999, 1}),
            TOverlay{});
}

TEST(TMapTools, GetValuesOverlayVisitsCellsColumnByColumn) {
  auto PtrZones = MakeGrid(0, 0, 1, {{1, 1, 1}, {1, 1, 1}});
  auto PtrValues = MakeGrid(0, 0, 1, {{1, 2, 3}, {4, 5, 6}});
  EXPECT_EQ(TMapTools::GetValuesOverlay(PtrValues.get(), PtrZones.get(), {}),
            (TOverlay{{1, {1, 4, 2, 5, 3, 6}}}));
}

TEST(TMapTools, GetValuesOverlayFollowsZonesThatComeBack) {
  // Column 0 from north to south: 1, 2, 1, 3, 3; column 1: 3, 1, 2, 2, 1.
  auto PtrZones = MakeGrid(0, 0, 1, {{1, 3}, {2, 1}, {1, 2}, {3, 2}, {3, 1}});
  auto PtrValues = MakeGrid(0, 0, 1, {{10, 15}, {11, 16}, {12, 17}, {13, 18}, {14, 19}});
  EXPECT_EQ(TMapTools::GetValuesOverlay(PtrValues.get(), PtrZones.get(), {2}),
            (TOverlay{{1, {10, 12, 16, 19}}, {3, {13, 14, 15}}}));
  EXPECT_EQ(TMapTools::GetValuesOverlay(PtrValues.get(), PtrZones.get(), {3}),
            (TOverlay{{1, {10, 12, 16, 19}}, {2, {11, 17, 18}}}));
}

TEST(TMapTools, GetValuesOverlayTreatsNoDataAsOrdinaryValues) {
  // The zone map's marker is 1 and the value map holds its own marker: neither is special.
  auto PtrZones = MakeGrid(0, 0, 1, {{1, 1}}, 1);
  auto PtrValues = MakeGrid(0, 0, 1, {{-9999, 4}});
  EXPECT_EQ(TMapTools::GetValuesOverlay(PtrValues.get(), PtrZones.get(), {}),
            (TOverlay{{1, {-9999, 4}}}));
}

TEST(TMapTools, GetValuesOverlaySkipsNaNZonesAndKeepsNaNValues) {
  auto PtrZones = MakeGrid(0, 0, 1, {{DblNaN, 1}, {1, DblNaN}, {DblNaN, 2}});
  auto PtrValues = MakeGrid(0, 0, 1, {{10, 20}, {DblNaN, 21}, {12, 22}});
  const TOverlay Result = TMapTools::GetValuesOverlay(PtrValues.get(), PtrZones.get(), {DblNaN});
  ASSERT_EQ(Result.size(), 2u);
  ASSERT_EQ(Result.count(1), 1u);
  ASSERT_EQ(Result.at(1).size(), 2u);
  EXPECT_TRUE(std::isnan(Result.at(1)[0]));
  EXPECT_EQ(Result.at(1)[1], 20);
  EXPECT_EQ(Result.at(2), std::vector<double>{22});
}

TEST(TMapTools, GetValuesOverlayRefusesMapsOfDifferentSize) {
  auto PtrTwoByTwo = MakeGrid(0, 0, 1, {{1, 2}, {3, 4}});
  auto PtrThreeByTwo = MakeGrid(0, 0, 1, {{1, 2, 3}, {4, 5, 6}});
  auto PtrTwoByThree = MakeGrid(0, 0, 1, {{1, 2}, {3, 4}, {5, 6}});
  auto PtrThreeByThree = MakeGrid(0, 0, 1, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
  EXPECT_THROW_MSG(TMapTools::GetValuesOverlay(PtrTwoByTwo.get(), PtrThreeByTwo.get(), {}),
                   "Map X-dimensions do not match");
  EXPECT_THROW_MSG(TMapTools::GetValuesOverlay(PtrTwoByTwo.get(), PtrThreeByThree.get(), {}),
                   "Map X-dimensions do not match");
  EXPECT_THROW_MSG(TMapTools::GetValuesOverlay(PtrTwoByTwo.get(), PtrTwoByThree.get(), {}),
                   "Map Y-Dimensions do not match");
  EXPECT_THROW_MSG(TMapTools::GetValuesOverlay(PtrTwoByThree.get(), PtrTwoByTwo.get(), {}),
                   "Map Y-Dimensions do not match");
}
