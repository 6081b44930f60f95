#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <vector>

#include "ErrorText.h"
#include "MapFixtures.h"
#include "TMapTools.h"

using gridclip_test::MakeGrid;

namespace {
const double DblNaN = std::numeric_limits<double>::quiet_NaN();

using TPointList = std::map<double, TMapPoint*>;
using TValueList = std::map<double, double>;

// Owns the points of lists made by GetFirstValues for the length of a test.
struct TOwnedLists {
  std::vector<TPointList> VecLists;
  TOwnedLists() = default;
  explicit TOwnedLists(TPointList MapPoints) { VecLists.push_back(std::move(MapPoints)); }
  explicit TOwnedLists(std::vector<TPointList> VecPointLists)
      : VecLists(std::move(VecPointLists)) {}
  TOwnedLists(const TOwnedLists&) = delete;
  TOwnedLists& operator=(const TOwnedLists&) = delete;
  ~TOwnedLists() { TMapTools::DeletePoints(VecLists); }
  const TPointList& operator[](std::size_t SizeI) const { return VecLists[SizeI]; }
};

struct TExpectedPoint {
  double DblKey;
  double DblX;
  double DblY;
};

// Checks keys in order, each point's centre, and that each point carries its key as value.
void ExpectPoints(const TPointList& MapPoints, const std::vector<TExpectedPoint>& VecExpected) {
  ASSERT_EQ(MapPoints.size(), VecExpected.size());
  auto It = MapPoints.begin();
  for (const TExpectedPoint& Expected : VecExpected) {
    SCOPED_TRACE(Expected.DblKey);
    EXPECT_EQ(It->first, Expected.DblKey);
    ASSERT_NE(It->second, nullptr);
    EXPECT_EQ(It->second->MbrDblX, Expected.DblX);
    EXPECT_EQ(It->second->MbrDblY, Expected.DblY);
    EXPECT_EQ(It->second->MbrDblValue, Expected.DblKey);
    ++It;
  }
}

// Unit cells from (0, 0): column x has its centre at x + 0.5; row y of an n-row map at
// n - y - 0.5.
std::unique_ptr<TMap> Grid(const std::vector<std::vector<double>>& Rows) {
  return MakeGrid(0, 0, 1, Rows);
}

// One column, rows from north to south.
std::unique_ptr<TMap> Column(const std::vector<double>& VecValues) {
  std::vector<std::vector<double>> Rows;
  for (double DblValue : VecValues) Rows.push_back({DblValue});
  return Grid(Rows);
}

// 3 columns; the last row is one cell short, so reading column 1 of row 1 fails.
std::unique_ptr<TMap> MapWithShortRow() {
  auto PtrMap = std::make_unique<TMap>(1.0);
  PtrMap->AddRow({1, 2, 3});
  PtrMap->AddRow({4});
  auto PtrX = gridclip_test::MakeAxis({0, 1, 2, 3}, 'X');
  auto PtrY = gridclip_test::MakeAxis({2, 1, 0}, 'Y');
  PtrMap->SetXAxisInterval(PtrX.get());
  PtrMap->SetYAxisInterval(PtrY.get());
  return PtrMap;
}
}  // namespace

TEST(TMapTools, GetFirstValuesListsEachValueWithItsFirstCell) {
  // 5 at (0, 0) and (1, 0), 7 at (0, 1), 9 at (1, 1).
  auto PtrMap = Grid({{5, 5}, {7, 9}});
  TOwnedLists All(TMapTools::GetFirstValues(PtrMap.get(), {}));
  ExpectPoints(All[0], {{5, 0.5, 1.5}, {7, 0.5, 0.5}, {9, 1.5, 0.5}});
  TOwnedLists WithoutFive(TMapTools::GetFirstValues(PtrMap.get(), {5}));
  ExpectPoints(WithoutFive[0], {{7, 0.5, 0.5}, {9, 1.5, 0.5}});
  TOwnedLists WithoutAll(TMapTools::GetFirstValues(PtrMap.get(), {9, 7, 5}));
  EXPECT_TRUE(WithoutAll[0].empty());
}

TEST(TMapTools, GetFirstValuesScansColumnByColumn) {
  // 9 lies first at (0, 1) column by column, but at (1, 0) row by row.
  auto PtrMap = Grid({{8, 9}, {9, 8}});
  TOwnedLists Lists(TMapTools::GetFirstValues(PtrMap.get(), {}));
  ExpectPoints(Lists[0], {{8, 0.5, 1.5}, {9, 0.5, 0.5}});
}

TEST(TMapTools, GetFirstValuesListsAValueOfSeveralRunsOnce) {
  auto PtrMap = Column({4, 6, 4, 4, 6});
  TOwnedLists Lists(TMapTools::GetFirstValues(PtrMap.get(), {}));
  ExpectPoints(Lists[0], {{4, 0.5, 4.5}, {6, 0.5, 3.5}});
}

TEST(TMapTools, GetFirstValuesSkipsTheNoDataRunAtTheStartOfTheScan) {
  auto PtrAllNoData = Grid({{-9999, -9999}, {-9999, -9999}});
  TOwnedLists Empty(TMapTools::GetFirstValues(PtrAllNoData.get(), {}));
  EXPECT_TRUE(Empty[0].empty());

  // Column by column: -9999, -9999, 3, then -9999 again at (1, 1).
  auto PtrMap = Grid({{-9999, 3}, {-9999, -9999}});
  TOwnedLists Listed(TMapTools::GetFirstValues(PtrMap.get(), {}));
  ExpectPoints(Listed[0], {{-9999, 1.5, 0.5}, {3, 1.5, 1.5}});
  TOwnedLists Excluded(TMapTools::GetFirstValues(PtrMap.get(), {-9999}));
  ExpectPoints(Excluded[0], {{3, 1.5, 1.5}});

  // The run skipped is a run of the map's own marker; -9999 is then an ordinary value.
  auto PtrOtherMarker = MakeGrid(0, 0, 1, {{0}, {-9999}, {0}}, 0);
  TOwnedLists Other(TMapTools::GetFirstValues(PtrOtherMarker.get(), {}));
  ExpectPoints(Other[0], {{-9999, 0.5, 1.5}, {0, 0.5, 0.5}});
}

TEST(TMapTools, GetFirstValuesSkipsNaNCells) {
  // A NaN cell is not listed but ends the run before it, as an excluded value does.
  auto PtrMap = Column({-9999, DblNaN, -9999, 3, DblNaN, 3, DblNaN});
  TOwnedLists Lists(TMapTools::GetFirstValues(PtrMap.get(), {}));
  ExpectPoints(Lists[0], {{-9999, 0.5, 4.5}, {3, 0.5, 3.5}});

  auto PtrOnlyNaN = Column({DblNaN, DblNaN});
  TOwnedLists Empty(TMapTools::GetFirstValues(PtrOnlyNaN.get(), {DblNaN}));
  EXPECT_TRUE(Empty[0].empty());
}

TEST(TMapTools, GetFirstValuesOverMapsGivesOneListPerMapInOrder) {
  auto PtrA = Grid({{1, 2}});
  auto PtrB = Grid({{3, 3}});
  auto PtrC = Grid({{2, 4}});
  TOwnedLists Lists(TMapTools::GetFirstValues({PtrA.get(), PtrB.get(), PtrC.get()}, {2}));
  ASSERT_EQ(Lists.VecLists.size(), 3u);
  ExpectPoints(Lists[0], {{1, 0.5, 0.5}});
  ExpectPoints(Lists[1], {{3, 0.5, 0.5}});
  ExpectPoints(Lists[2], {{4, 1.5, 0.5}});
  EXPECT_TRUE(TMapTools::GetFirstValues(std::vector<TMap*>{}, {}).empty());
}

TEST(TMapTools, DeletePointsReleasesTheCallersPoints) {
  // Under the sanitizer build a point left behind fails this test as a leak.
  auto PtrMap = Grid({{1, 2}, {3, 4}});
  std::map<double, TMapPoint*> MapPoints = TMapTools::GetFirstValues(PtrMap.get(), {});
  EXPECT_EQ(MapPoints.size(), 4u);
  TMapTools::DeletePoints(MapPoints);
  EXPECT_TRUE(MapPoints.empty());

  std::vector<std::map<double, TMapPoint*>> VecLists =
      TMapTools::GetFirstValues({PtrMap.get(), PtrMap.get()}, {1});
  EXPECT_EQ(VecLists.size(), 2u);
  TMapTools::DeletePoints(VecLists);
  EXPECT_TRUE(VecLists.empty());
}

TEST(TMapTools, GetFirstValuesLeavesNothingBehindWhenAMapFails) {
  // Three points are made before the short row fails; the sanitizer build checks their release.
  auto PtrBad = MapWithShortRow();
  EXPECT_THROW_MSG(TMapTools::GetFirstValues(PtrBad.get(), {}),
                   "X-ordinate is out of range in TMap::GetPointVal");
  auto PtrGood = Grid({{1, 2}, {3, 4}});
  EXPECT_THROW_MSG(TMapTools::GetFirstValues({PtrGood.get(), PtrBad.get()}, {}),
                   "X-ordinate is out of range in TMap::GetPointVal");
}

TEST(TMapTools, FetchMapValuesReadsAnotherMapAtTheFirstCells) {
  auto PtrA = Grid({{5, 5}, {7, 9}});
  auto PtrB = Grid({{50, 51}, {-9999, 90}});
  TOwnedLists Lists(TMapTools::GetFirstValues(PtrA.get(), {}));
  EXPECT_EQ(TMapTools::FetchMapValues(PtrB.get(), Lists[0]),
            (TValueList{{5, 50}, {7, -9999}, {9, 90}}));
  EXPECT_TRUE(TMapTools::FetchMapValues(PtrB.get(), {}).empty());
}

TEST(TMapTools, FetchMapValuesUsesThePointsPlaceNotItsValue) {
  auto PtrMap = Grid({{1, 2}, {3, 4}});
  TMapPoint Point(1.2, 0.7);  // column 1, row 1
  Point.MbrDblValue = 123;
  EXPECT_EQ(TMapTools::FetchMapValues(PtrMap.get(), {{-1, &Point}}), (TValueList{{-1, 4}}));
}

TEST(TMapTools, FetchMapValuesPassesOnTheErrorForAPointOutsideTheMap) {
  auto PtrMap = Grid({{1, 2}, {3, 4}});
  TMapPoint Inside(0.5, 0.5);
  TMapPoint Outside(2.5, 0.5);
  EXPECT_THROW_MSG(TMapTools::FetchMapValues(PtrMap.get(), {{1, &Inside}, {2, &Outside}}),
                   "Ordinate is out of range in TAxis::GetIndex");
}

TEST(TMapTools, FetchMapValuesOverMapsPairsMapsWithPointLists) {
  auto PtrA = Grid({{1, 2}});
  auto PtrB = Grid({{10, 20}});
  TMapPoint West(0.5, 0.5);
  TMapPoint East(1.5, 0.5);
  TMapPoint Outside(9, 9);
  const std::vector<TValueList> VecResult = TMapTools::FetchMapValues(
      {PtrA.get(), PtrB.get()}, {{{0, &East}}, {{0, &West}, {1, &East}}, {{0, &Outside}}});
  EXPECT_EQ(VecResult, (std::vector<TValueList>{{{0, 2}}, {{0, 10}, {1, 20}}}));
  EXPECT_TRUE(TMapTools::FetchMapValues(std::vector<TMap*>{}, {{{0, &Outside}}}).empty());
  EXPECT_THROW_MSG(
      TMapTools::FetchMapValues({PtrA.get(), PtrB.get()}, {{{0, &West}}, {{0, &Outside}}}),
      "Ordinate is out of range in TAxis::GetIndex");
}

TEST(TMapTools, FetchMapValuesOverMapsRefusesTooFewPointLists) {
  auto PtrA = Grid({{1, 2}});
  TMapPoint Outside(9, 9);
  // The first list would fail on reading: the count is checked before anything is read.
  EXPECT_THROW_MSG(
      TMapTools::FetchMapValues({PtrA.get(), PtrA.get()}, {{{0, &Outside}}}),
      "Number of point lists is less than number of maps in TMapTools::FetchMapValues");
  EXPECT_THROW_MSG(
      TMapTools::FetchMapValues(std::vector<TMap*>{PtrA.get()}, {}),
      "Number of point lists is less than number of maps in TMapTools::FetchMapValues");
}
