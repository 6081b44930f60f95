#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <vector>

#include "ErrorText.h"
#include "MapFixtures.h"
#include "TMapTools.h"

using gridclip_test::ExpectCells;
using gridclip_test::ExpectSameGrid;
using gridclip_test::MakeGrid;
using gridclip_test::Ordinates;
using gridclip_test::Own;
using gridclip_test::TRows;

namespace {
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// A 1 x 1 map whose Y axis has a different resolution from its X axis.
std::unique_ptr<TMap> MismatchedAxes() {
  auto PtrMap = MakeGrid(0, 0, 1, {{1}});
  PtrMap->MbrPtrYAxis->MbrDblResolution = 2;
  return PtrMap;
}
}  // namespace

// ---- Threshold ----

TEST(TMapTools, ThresholdKeepsValuesAtOrAboveAndZeroesTheRest) {
  auto PtrMap = MakeGrid(10, 20, 5, {{4.9, 5}, {7, -9999}, {NaN, -4}});
  struct TCase {
    double DblThreshold;
    TRows Expected;
  };
  const TCase Cases[] = {
      // threshold, expected cells
      {5, {{0, 5}, {7, 0}, {0, 0}}},
      {-9999, {{4.9, 5}, {7, -9999}, {0, -4}}},
      {NaN, {{0, 0}, {0, 0}, {0, 0}}},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(testing::Message() << "threshold " << Case.DblThreshold);
    auto PtrResult = Own(TMapTools::Threshold(PtrMap.get(), Case.DblThreshold));
    ExpectSameGrid(*PtrResult, *PtrMap);
    ExpectCells(*PtrResult, Case.Expected);
  }
  ExpectCells(*PtrMap, {{4.9, 5}, {7, -9999}, {NaN, -4}});
}

TEST(TMapTools, ThresholdKeepsNoDataOfSource) {
  auto PtrMap = MakeGrid(0, 0, 1, {{-32768, 3}}, -32768);
  auto PtrResult = Own(TMapTools::Threshold(PtrMap.get(), 0));
  EXPECT_EQ(PtrResult->MbrDblNoDataValue, -32768);
  ExpectCells(*PtrResult, {{0, 3}});
}

TEST(TMapTools, ThresholdRefusesAxesOfDifferentResolutions) {
  auto PtrMap = MismatchedAxes();
  EXPECT_THROW_MSG(TMapTools::Threshold(PtrMap.get(), 0),
                   "Axes resolutions do not match in TMap::TMap");
}

TEST(TMapTools, ValueRulesRefuseAxesOfDifferentResolutions) {
  auto PtrMap = MismatchedAxes();
  auto PtrValues = MakeGrid(0, 0, 1, {{1}});
  EXPECT_THROW_MSG(TMapTools::ThresholdReplace(PtrMap.get(), 0, 1),
                   "Axes resolutions do not match in TMap::TMap");
  EXPECT_THROW_MSG(TMapTools::Mask(PtrMap.get(), PtrValues.get(), 1, 0),
                   "Axes resolutions do not match in TMap::TMap");
  EXPECT_THROW_MSG(TMapTools::ReplaceValue(PtrMap.get(), {{1, 2}}, 0),
                   "Axes resolutions do not match in TMap::TMap");
}

// ---- ThresholdReplace ----

TEST(TMapTools, ThresholdReplaceReplacesValuesAtOrAboveAndKeepsTheRest) {
  auto PtrMap = MakeGrid(0, 0, 1, {{4.9, 5, 7, NaN, -1}}, -1);
  auto PtrResult = Own(TMapTools::ThresholdReplace(PtrMap.get(), 5, 1));
  ExpectSameGrid(*PtrResult, *PtrMap);
  ExpectCells(*PtrResult, {{4.9, 1, 1, NaN, -1}});
  EXPECT_EQ(PtrResult->MbrDblNoDataValue, -1);
  ExpectCells(*PtrMap, {{4.9, 5, 7, NaN, -1}});
}

// ---- Mask ----

TEST(TMapTools, MaskPutsTheValueMapOnTheGridMapsGrid) {
  auto PtrGrid = MakeGrid(10, 10, 2, {{7, 7, 7}}, -1);
  auto PtrValues = MakeGrid(0, 0, 1, {{1, 2, 1}}, -32768);
  auto PtrResult = Own(TMapTools::Mask(PtrGrid.get(), PtrValues.get(), 1, 0));
  ExpectSameGrid(*PtrResult, *PtrGrid);
  ExpectCells(*PtrResult, {{0, 2, 0}});
  // The value map supplies every value, so it also declares what no-data is.
  EXPECT_EQ(PtrResult->MbrDblNoDataValue, -32768);
  ExpectCells(*PtrGrid, {{7, 7, 7}});
  ExpectCells(*PtrValues, {{1, 2, 1}});
}

TEST(TMapTools, MaskWithNaNMaskValueReplacesNothing) {
  auto PtrGrid = MakeGrid(0, 0, 1, {{7, 7}});
  auto PtrValues = MakeGrid(0, 0, 1, {{NaN, 2}});
  auto PtrResult = Own(TMapTools::Mask(PtrGrid.get(), PtrValues.get(), NaN, 0));
  ExpectCells(*PtrResult, {{NaN, 2}});
}

TEST(TMapTools, MaskRefusesMapsOfDifferentDimensions) {
  auto PtrGrid = MakeGrid(0, 0, 1, {{1, 2}, {3, 4}});
  auto PtrWider = MakeGrid(0, 0, 1, {{1, 2, 3}, {4, 5, 6}});
  auto PtrTaller = MakeGrid(0, 0, 1, {{1, 2}, {3, 4}, {5, 6}});
  auto PtrBoth = MakeGrid(0, 0, 1, {{1, 2, 3}});
  EXPECT_THROW_MSG(TMapTools::Mask(PtrGrid.get(), PtrWider.get(), 1, 0),
                   "X dimensions do not match in TMapTools::Mask");
  EXPECT_THROW_MSG(TMapTools::Mask(PtrGrid.get(), PtrTaller.get(), 1, 0),
                   "Y dimensions do not match in TMapTools::Mask");
  EXPECT_THROW_MSG(TMapTools::Mask(PtrGrid.get(), PtrBoth.get(), 1, 0),
                   "X dimensions do not match in TMapTools::Mask");
  // Dimensions are checked before the grid map's axes.
  auto PtrMismatched = MismatchedAxes();
  EXPECT_THROW_MSG(TMapTools::Mask(PtrMismatched.get(), PtrGrid.get(), 1, 0),
                   "X dimensions do not match in TMapTools::Mask");
}

// ---- ReplaceValue ----

TEST(TMapTools, ReplaceValueTranslatesThroughTheTableAndDefaultsTheRest) {
  auto PtrMap = MakeGrid(0, 0, 1, {{1, 2, 3, -9999}, {NaN, -0.0, 0, 2.0000000001}}, -9999);
  const std::map<double, double> MapTable{{1, 10}, {2, 20}, {0, 5}};
  auto PtrResult = Own(TMapTools::ReplaceValue(PtrMap.get(), MapTable, -1));
  ExpectSameGrid(*PtrResult, *PtrMap);
  ExpectCells(*PtrResult, {{10, 20, -1, -1}, {-1, 5, 5, -1}});
  EXPECT_EQ(PtrResult->MbrDblNoDataValue, -9999);
}

TEST(TMapTools, ReplaceValueKeepsNoDataOfSource) {
  auto PtrMap = MakeGrid(0, 0, 1, {{-32768, 4}}, -32768);
  auto PtrResult = Own(TMapTools::ReplaceValue(PtrMap.get(), {{-32768, -32768}}, 0));
  EXPECT_EQ(PtrResult->MbrDblNoDataValue, -32768);
  ExpectCells(*PtrResult, {{-32768, 0}});
}

TEST(TMapTools, ReplaceValueNaNKeyMatchesNothing) {
  // A NaN key is equivalent to every key under std::less, so a plain lookup would match it.
  auto PtrMap = MakeGrid(0, 0, 1, {{3, NaN}});
  std::map<double, double> MapTable;
  MapTable[NaN] = 5;
  auto PtrResult = Own(TMapTools::ReplaceValue(PtrMap.get(), MapTable, -1));
  ExpectCells(*PtrResult, {{-1, -1}});
}

// ---- FillBlock ----

TEST(TMapTools, FillBlockFillsTheBlockWithBothEndsIncluded) {
  const TRows Zeros(4, std::vector<double>(5, 0));
  struct TCase {
    long LngNorth, LngSouth, LngWest, LngEast;
    TRows Expected;
  };
  const TCase Cases[] = {
      // north, south, west, east, expected cells
      {2, 2, 3, 3, {{0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, {0, 0, 0, 9, 0}, {0, 0, 0, 0, 0}}},
      {1, 2, 0, 1, {{0, 0, 0, 0, 0}, {9, 9, 0, 0, 0}, {9, 9, 0, 0, 0}, {0, 0, 0, 0, 0}}},
      {0, 3, 0, 4, TRows(4, std::vector<double>(5, 9))},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(testing::Message() << "block " << Case.LngNorth << " " << Case.LngSouth << " "
                                    << Case.LngWest << " " << Case.LngEast);
    auto PtrMap = MakeGrid(0, 0, 1, Zeros);
    TMapTools::FillBlock(PtrMap.get(), 9, Case.LngNorth, Case.LngSouth, Case.LngWest, Case.LngEast);
    ExpectCells(*PtrMap, Case.Expected);
  }
}

TEST(TMapTools, FillBlockRefusesBadBlocksInOrderAndLeavesTheMapUnchanged) {
  const TRows Cells{{1, 2, 3}, {4, 5, 6}};  // 3 columns, 2 rows
  struct TCase {
    long LngNorth, LngSouth, LngWest, LngEast;
    const char* ChrMessage;
  };
  const TCase Cases[] = {
      // north, south, west, east, message
      {1, 0, 0, 0, "Northern edge must be less than southern edge in TMapTools::FillBlock"},
      {3, 2, 5, 4, "Northern edge must be less than southern edge in TMapTools::FillBlock"},
      {0, 1, 2, 1, "Western edge must be less than eastern edge in TMapTools::FillBlock"},
      {-1, 1, -7, 9, "Northern ordinate is out of range in TMapTools::FillBlock"},
      {2, 2, 0, 0, "Northern ordinate is out of range in TMapTools::FillBlock"},
      {0, 2, 0, 0, "Southern ordinate is out of range in TMapTools::FillBlock"},
      {0, 1, -1, 9, "Western ordinate is out of range in TMapTools::FillBlock"},
      {0, 1, 0, 3, "Eastern ordinate is out of range in TMapTools::FillBlock"},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(testing::Message() << "block " << Case.LngNorth << " " << Case.LngSouth << " "
                                    << Case.LngWest << " " << Case.LngEast);
    auto PtrMap = MakeGrid(0, 0, 1, Cells);
    EXPECT_THROW_MSG(TMapTools::FillBlock(PtrMap.get(), 9, Case.LngNorth, Case.LngSouth,
                                          Case.LngWest, Case.LngEast),
                     Case.ChrMessage);
    ExpectCells(*PtrMap, Cells);
  }
}

TEST(TMapTools, FillBlockNeverWritesPastAShortRow) {
  TMap Map(1.0);
  Map.AddRow({1, 2, 3});
  Map.AddRow({4});
  EXPECT_THROW_MSG(TMapTools::FillBlock(&Map, 9, 0, 1, 1, 2),
                   "Eastern ordinate is out of range in TMapTools::FillBlock");
  EXPECT_EQ(Map.MbrVecRows, (TRows{{1, 2, 3}, {4}}));
  TMapTools::FillBlock(&Map, 9, 0, 1, 0, 0);
  EXPECT_EQ(Map.MbrVecRows, (TRows{{9, 2, 3}, {9}}));
}

// ---- CountValues ----

TEST(TMapTools, CountValuesCountsEachValueAndLeavesNaNOut) {
  auto PtrMap = MakeGrid(0, 0, 1, {{1, 1}, {2, -9999}});
  EXPECT_EQ(TMapTools::CountValues(PtrMap.get()),
            (std::map<double, long>{{-9999, 1}, {1, 2}, {2, 1}}));
  EXPECT_EQ(TMapTools::CountValues(PtrMap.get(), 1), 2);
  EXPECT_EQ(TMapTools::CountValues(PtrMap.get(), -9999), 1);
  EXPECT_EQ(TMapTools::CountValues(PtrMap.get(), 3), 0);

  auto PtrWithNaN = MakeGrid(0, 0, 1, {{NaN, 1}, {NaN, 3}});
  EXPECT_EQ(TMapTools::CountValues(PtrWithNaN.get()), (std::map<double, long>{{1, 1}, {3, 1}}));
  EXPECT_EQ(TMapTools::CountValues(PtrWithNaN.get(), NaN), 0);
}

TEST(TMapTools, CountValuesOfAnEmptyMapIsEmpty) {
  TMap Map(1.0);
  EXPECT_TRUE(TMapTools::CountValues(&Map).empty());
  EXPECT_EQ(TMapTools::CountValues(&Map, -9999), 0);
}
