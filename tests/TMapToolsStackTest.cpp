#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "ErrorText.h"
#include "MapFixtures.h"
#include "StackFixtures.h"
#include "TMapTools.h"

using gridclip_test::MakeGrid;
using gridclip_test::MakeStack;
using gridclip_test::MakeUniformStack;
using gridclip_test::Ordinates;
using gridclip_test::Own;
using gridclip_test::TRows;

namespace {
constexpr double NoData = -9999.0;
const double NaN = std::numeric_limits<double>::quiet_NaN();
}  // namespace

TEST(TMapTools, SumNeedsAtLeastTwoMaps) {
  const auto Stack = MakeUniformStack({1, 2}, 2, 2);
  EXPECT_THROW_MSG(TMapTools::Sum({}), "Must have more than 2 maps to sum in TMapTools::Sum");
  EXPECT_THROW_MSG(TMapTools::Sum({&Stack[0]}),
                   "Must have more than 2 maps to sum in TMapTools::Sum");
  std::unique_ptr<TMap> PtrSum(TMapTools::Sum(Stack.Maps()));
  EXPECT_EQ(PtrSum->MbrVecRows, (TRows{{3, 3}, {3, 3}}));
}

TEST(TMapTools, SumAddsCellsInStackOrderOnTheFirstMapsGrid) {
  auto Stack = MakeStack(
      {{{1, 10, 1e16}, {0.5, -3, 1}}, {{2, 20, 1}, {0.25, 3, 1}}, {{4, 40, 1}, {0.125, 0, 1e16}}});
  Stack[0].MbrStgName = "first";
  std::unique_ptr<TMap> PtrSum(TMapTools::Sum(Stack.Maps()));
  // 1e16 + 1 + 1 loses both ones; 1 + 1 + 1e16 keeps them.
  EXPECT_EQ(PtrSum->MbrVecRows, (TRows{{7, 70, 1e16}, {0.875, 0, 1e16 + 2}}));
  EXPECT_EQ(PtrSum->MbrDblNoDataValue, NoData);
  EXPECT_EQ(Ordinates(*PtrSum->MbrPtrXAxis, 'X'), Ordinates(*Stack[0].MbrPtrXAxis, 'X'));
  EXPECT_EQ(Ordinates(*PtrSum->MbrPtrYAxis, 'Y'), Ordinates(*Stack[0].MbrPtrYAxis, 'Y'));
  EXPECT_NE(PtrSum->MbrPtrXAxis.get(), Stack[0].MbrPtrXAxis.get());
  EXPECT_EQ(PtrSum->MbrDblResolution, 1.0);
  EXPECT_EQ(Stack[0].MbrVecRows, (TRows{{1, 10, 1e16}, {0.5, -3, 1}}));
}

TEST(TMapTools, SumCellWithoutDataInAnyMapGetsTheResultsNoDataValue) {
  // The second map lacks data at (0, 0) while the third has data there.
  {
    const auto Stack = MakeStack({{{1, 2}}, {{NoData, 2}}, {{1, 2}}});
    std::unique_ptr<TMap> PtrSum(TMapTools::Sum(Stack.Maps()));
    EXPECT_EQ(PtrSum->MbrVecRows, (TRows{{NoData, 6}}));
  }
  // Maps with the marker -1: their no-data cells hold -1, and the result says so.
  {
    const auto Stack = MakeStack({{{1, -1, NoData}}, {{2, 5, 3}}}, -1.0);
    std::unique_ptr<TMap> PtrSum(TMapTools::Sum(Stack.Maps()));
    EXPECT_EQ(PtrSum->MbrDblNoDataValue, -1.0);
    EXPECT_EQ(PtrSum->MbrVecRows, (TRows{{3, -1, NoData + 3}}));
  }
  // Mixed markers: each map judged by its own; the result uses the first map's.
  {
    auto Stack = MakeStack({{{1, NoData, 4}}, {{NoData, -1, -1}}, {{1, 2, 2}}});
    Stack[0].MbrDblNoDataValue = -1.0;
    std::unique_ptr<TMap> PtrSum(TMapTools::Sum(Stack.Maps()));
    EXPECT_EQ(PtrSum->MbrDblNoDataValue, -1.0);
    EXPECT_EQ(PtrSum->MbrVecRows, (TRows{{-1, -9998, 5}}));
  }
}

TEST(TMapTools, NaNCellIsDataForSumAndDataCounts) {
  const auto Stack = MakeStack({{{NaN, 1}}, {{2, 1}}});
  std::unique_ptr<TMap> PtrSum(TMapTools::Sum(Stack.Maps()));
  EXPECT_TRUE(std::isnan(PtrSum->GetPointVal(0, 0)));
  EXPECT_EQ(PtrSum->GetPointVal(1, 0), 2);
  std::unique_ptr<TMap> PtrCounts(TMapTools::DataCounts(Stack.Maps()));
  EXPECT_EQ(PtrCounts->MbrVecRows, (TRows{{2, 2}}));
}

TEST(TMapTools, StackShapeChecksNameTheFirstMapThatDiffers) {
  const auto Base = MakeStack({{{1, 2}, {3, 4}}});
  const auto Wider = MakeStack({{{1, 2, 3}, {3, 4, 5}}});
  const auto Shorter = MakeStack({{{1, 2}}});
  const auto WiderAndShorter = MakeStack({{{1, 2, 3}}});
  struct TCase {
    const char* ChrName;
    std::vector<TMap*> VecMaps;
    char ChrAxis;
  };
  const std::vector<TCase> Cases = {
      // name, stack, axis the message names
      {"more columns", {&Base[0], &Wider[0]}, 'X'},
      {"fewer rows", {&Base[0], &Shorter[0]}, 'Y'},
      {"columns before rows", {&Base[0], &WiderAndShorter[0]}, 'X'},
      {"first differing map decides", {&Base[0], &Base[0], &Shorter[0], &Wider[0]}, 'Y'},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.ChrName);
    const std::string StgAxis(1, Case.ChrAxis);
    EXPECT_EQ(gridclip_test::ThrownText([&] { TMapTools::Sum(Case.VecMaps); }),
              StgAxis + "-dimension of maps are inconsistent in TMapTools::Sum");
    EXPECT_EQ(gridclip_test::ThrownText([&] { TMapTools::DataCounts(Case.VecMaps); }),
              StgAxis + "-dimension of maps are inconsistent in TMapTools::DataCounts");
  }
}

TEST(TMapTools, StackWithShortStoredRowFailsAsTheCellReadWould) {
  auto Stack = MakeStack({{{1, 2}, {3, 4}}, {{1, 2}, {3, 4}}});
  Stack[1].MbrVecRows[1].pop_back();
  const std::string StgText = "X-ordinate is out of range in TMap::GetPointVal";
  EXPECT_THROW_MSG(TMapTools::Sum(Stack.Maps()), StgText);
  EXPECT_THROW_MSG(TMapTools::DataCounts(Stack.Maps()), StgText);
  Stack[1].MbrVecRows.pop_back();
  EXPECT_THROW_MSG(TMapTools::Sum(Stack.Maps()), "Y-ordinate is out of range in TMap::GetPointVal");
}

TEST(TMapTools, DataCountsCountsMapsWithDataByTheirOwnNoDataValue) {
  {
    const auto Stack = MakeStack({{{5, NoData}, {0, NaN}}});
    std::unique_ptr<TMap> PtrCounts(TMapTools::DataCounts(Stack.Maps()));
    EXPECT_EQ(PtrCounts->MbrVecRows, (TRows{{1, 0}, {1, 1}}));
    EXPECT_EQ(PtrCounts->MbrDblNoDataValue, NoData);
  }
  {
    auto Stack = MakeStack({{{NoData, NoData, 1}}, {{NoData, -1, 2}}, {{-1, 3, -1}}});
    Stack[2].MbrDblNoDataValue = -1.0;
    std::unique_ptr<TMap> PtrCounts(TMapTools::DataCounts(Stack.Maps()));
    // A cell without data in every map counts 0, never the marker.
    EXPECT_EQ(PtrCounts->MbrVecRows, (TRows{{0, 2, 2}}));
    EXPECT_EQ(PtrCounts->MbrDblNoDataValue, NoData);
  }
}

TEST(TMapTools, DataCountsOfEmptyStackThrows) {
  EXPECT_THROW_MSG(TMapTools::DataCounts({}), "Must have at least 1 map in TMapTools::DataCounts");
}

TEST(TMapTools, AverageIsTheMeanWhereEveryMapHasData) {
  const auto Stack = MakeStack({{{1, 1, 5}}, {{2, NoData, 5}}, {{6, 1, 5}}});
  std::unique_ptr<TMap> PtrAverage(TMapTools::Average(Stack.Maps()));
  EXPECT_EQ(PtrAverage->MbrVecRows, (TRows{{3, NoData, 5}}));
  EXPECT_EQ(PtrAverage->MbrDblNoDataValue, NoData);
  EXPECT_EQ(Ordinates(*PtrAverage->MbrPtrXAxis, 'X'), Ordinates(*Stack[0].MbrPtrXAxis, 'X'));
  EXPECT_THROW_MSG(TMapTools::Average({&Stack[0]}),
                   "Must have more than 2 maps to sum in TMapTools::Sum");
  const auto Wider = MakeStack({{{1, 2, 3, 4}}});
  EXPECT_THROW_MSG(TMapTools::Average({&Stack[0], &Wider[0]}),
                   "X-dimension of maps are inconsistent in TMapTools::Sum");
}

// Average is Divide(Sum, DataCounts), cell for cell, NaN included: on a regular grid, where it
// takes one pass, and on grids whose centres are not spaced by the cell size, where a centre
// looked up in the grid's edges finds another cell or none.
TEST(TMapTools, AverageIsTheQuotientOfSumAndDataCounts) {
  // centre spacing (the cell size is 1), no-data marker of the later maps
  const struct {
    double DblSpacing;
    double DblLaterNoData;
  } Cases[] = {{1.0, NoData}, {1.0, 3.0}, {0.6, NoData}, {2.0, NoData}};
  for (const auto& Case : Cases) {
    SCOPED_TRACE(testing::Message() << Case.DblSpacing << " " << Case.DblLaterNoData);
    TAxis XAxis(1.0);
    TAxis YAxis(1.0);
    for (long LngK = 0; LngK < 9; ++LngK) {
      XAxis.AddPoint(new TPoint(0.5 + Case.DblSpacing * static_cast<double>(LngK), 0.0));
    }
    for (long LngK = 0; LngK < 7; ++LngK) {
      YAxis.AddPoint(new TPoint(0.0, 20.5 - Case.DblSpacing * static_cast<double>(LngK)));
    }
    std::vector<std::unique_ptr<TMap>> VecOwned;
    std::vector<TMap*> VecMaps;
    for (int IntM = 0; IntM < 4; ++IntM) {
      auto PtrMap = std::make_unique<TMap>(&XAxis, &YAxis);
      if (IntM > 0) PtrMap->MbrDblNoDataValue = Case.DblLaterNoData;
      for (long LngY = 0; LngY < 7; ++LngY) {
        for (long LngX = 0; LngX < 9; ++LngX) {
          const long LngDraw = (LngX * 3 + LngY * 5 + IntM * 7) % 13;
          const double DblValue = LngDraw == 0   ? PtrMap->MbrDblNoDataValue
                                  : LngDraw == 1 ? NaN
                                                 : 0.1 * static_cast<double>(LngX + IntM) + 0.01;
          PtrMap->SetPoint(LngX, LngY, DblValue);
        }
      }
      PtrMap->SetPoint(8, 6, IntM == 0 ? -10002.0 : 1.0);  // data in every map, summing to -9999
      VecMaps.push_back(PtrMap.get());
      VecOwned.push_back(std::move(PtrMap));
    }
    std::unique_ptr<TMap> PtrExpected;
    const char* ChrExpectedFailure = nullptr;
    try {
      std::unique_ptr<TMap> PtrSum(TMapTools::Sum(VecMaps));
      std::unique_ptr<TMap> PtrCounts(TMapTools::DataCounts(VecMaps));
      PtrExpected.reset(TMapTools::Divide(PtrSum.get(), PtrCounts.get()));
    } catch (const char* ChrMessage) {
      ChrExpectedFailure = ChrMessage;
    }
    if (ChrExpectedFailure != nullptr) {
      EXPECT_THROW_MSG(TMapTools::Average(VecMaps), ChrExpectedFailure);
      continue;
    }
    std::unique_ptr<TMap> PtrAverage(TMapTools::Average(VecMaps));
    EXPECT_EQ(PtrAverage->MbrDblNoDataValue, PtrExpected->MbrDblNoDataValue);
    EXPECT_EQ(PtrAverage->MbrDblResolution, PtrExpected->MbrDblResolution);
    EXPECT_EQ(Ordinates(*PtrAverage->MbrPtrYAxis, 'Y'), Ordinates(*PtrExpected->MbrPtrYAxis, 'Y'));
    gridclip_test::ExpectCells(*PtrAverage, PtrExpected->MbrVecRows);
  }
}

// Regression: a stack whose maps use another marker must not divide its no-data cells.
TEST(TMapTools, AverageOfStackWithOwnNoDataValueKeepsItsNoDataCells) {
  const auto Stack = MakeStack({{{1, -1, 4}}, {{3, 7, -1}}}, -1.0);
  std::unique_ptr<TMap> PtrAverage(TMapTools::Average(Stack.Maps()));
  EXPECT_EQ(PtrAverage->MbrDblNoDataValue, -1.0);
  EXPECT_EQ(PtrAverage->MbrVecRows, (TRows{{2, -1, -1}}));
}

TEST(TMapTools, MovingAverageAveragesEachWindowOfConsecutiveMaps) {
  const auto Stack = MakeUniformStack({1, 2, 6, 10, 20}, 2, 1);
  struct TCase {
    int IntWindow;
    std::vector<double> VecMeans;  // one per window, every cell
  };
  const std::vector<TCase> Cases = {
      // window, means
      {3, {3, 6, 12}},
      {2, {1.5, 4, 8, 15}},
      {5, {7.8}},
      {6, {}},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.IntWindow);
    const auto Results = Own(TMapTools::MovingAverage(Stack.Maps(), Case.IntWindow));
    ASSERT_EQ(Results.size(), Case.VecMeans.size());
    for (std::size_t SizeI = 0; SizeI < Results.size(); ++SizeI) {
      EXPECT_EQ(Results[SizeI]->MbrVecRows, (TRows{{Case.VecMeans[SizeI], Case.VecMeans[SizeI]}}));
    }
  }
}

TEST(TMapTools, MovingAverageRefusesWindowsOfFewerThanTwoMaps) {
  const auto Stack = MakeUniformStack({1, 2, 3}, 1, 1);
  const std::string StgText = "Must have more than 2 maps to sum in TMapTools::Sum";
  for (int IntWindow : {1, 0, -1}) {
    SCOPED_TRACE(IntWindow);
    EXPECT_THROW_MSG(TMapTools::MovingAverage(Stack.Maps(), IntWindow), StgText);
  }
  EXPECT_THROW_MSG(TMapTools::MovingAverage({}, 0), StgText);
  EXPECT_TRUE(TMapTools::MovingAverage({}, 1).empty());
  EXPECT_TRUE(TMapTools::MovingAverage({}, 2).empty());
}

TEST(TMapTools, MovingAverageFailingInALaterWindowReturnsNothing) {
  const auto Stack = MakeUniformStack({1, 2, 3}, 2, 2);
  const auto Wider = MakeUniformStack({4}, 3, 2);
  EXPECT_THROW_MSG(TMapTools::MovingAverage({&Stack[0], &Stack[1], &Stack[2], &Wider[0]}, 2),
                   "X-dimension of maps are inconsistent in TMapTools::Sum");
}

TEST(TMapTools, StackThresholdAppliesTheSingleMapThresholdToEachMap) {
  EXPECT_TRUE(TMapTools::Threshold(std::vector<TMap*>{}, 5.0).empty());
  auto Stack = MakeStack({{{4.9, 5, 7, NoData}}, {{6, 1}}, {{5, 5}, {2, 9}}});
  Stack[1].MbrDblNoDataValue = -1.0;
  const auto Results = Own(TMapTools::Threshold(Stack.Maps(), 5.0));
  ASSERT_EQ(Results.size(), 3u);
  for (std::size_t SizeI = 0; SizeI < Results.size(); ++SizeI) {
    SCOPED_TRACE(SizeI);
    std::unique_ptr<TMap> PtrSingle(TMapTools::Threshold(&Stack[SizeI], 5.0));
    EXPECT_EQ(Results[SizeI]->MbrVecRows, PtrSingle->MbrVecRows);
    EXPECT_EQ(Results[SizeI]->MbrDblNoDataValue, PtrSingle->MbrDblNoDataValue);
  }
  EXPECT_EQ(Results[0]->MbrVecRows, (TRows{{0, 5, 7, 0}}));
  EXPECT_EQ(Results[2]->MbrVecRows, (TRows{{5, 5}, {0, 9}}));
}

TEST(TMapTools, StackThresholdFailingOnALaterMapReturnsNothing) {
  auto Stack = MakeUniformStack({1, 2, 3}, 2, 2);
  Stack[2].MbrPtrYAxis->MbrDblResolution = 2.0;
  EXPECT_THROW_MSG(TMapTools::Threshold(Stack.Maps(), 1.5),
                   "Axes resolutions do not match in TMap::TMap");
}
