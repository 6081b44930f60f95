#include <gtest/gtest.h>

#include <cmath>
#include <limits>
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
constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr const char* OrdinateOutOfRange = "Ordinate is out of range in TAxis::GetIndex";

}  // namespace

// ---- Divide (map by map) ----

TEST(TMapTools, DivideByCoarserMapDividesEachFineCellByTheCellHoldingItsCentre) {
  auto PtrDividend = MakeGrid(0, 0, 1, {{8, 6}, {4, 2}});
  auto PtrDivisor = MakeGrid(0, 0, 2, {{2}});
  auto PtrResult = Own(TMapTools::Divide(PtrDividend.get(), PtrDivisor.get()));
  ExpectSameGrid(*PtrResult, *PtrDividend);
  ExpectCells(*PtrResult, {{4, 3}, {2, 1}});
  ExpectCells(*PtrDividend, {{8, 6}, {4, 2}});
}

TEST(TMapTools, DivideRefusesAFinerDivisor) {
  auto PtrFine = MakeGrid(0, 0, 1, {{8, 6}, {4, 2}});
  auto PtrCoarse = MakeGrid(0, 0, 2, {{2}});
  EXPECT_THROW_MSG(
      TMapTools::Divide(PtrCoarse.get(), PtrFine.get()),
      "Divisor must be of equal of coarser resolution than the dividend in TMapTools::Divide");
  // Checked before any lookup: the maps need not even overlap.
  auto PtrFar = MakeGrid(100, 100, 1, {{1}});
  EXPECT_THROW_MSG(
      TMapTools::Divide(PtrCoarse.get(), PtrFar.get()),
      "Divisor must be of equal of coarser resolution than the dividend in TMapTools::Divide");
}

TEST(TMapTools, DivideOfEqualCellSizesUsesTheDividendsGrid) {
  // Same cell size, divisor shifted half a cell east and larger: lookups by centre.
  auto PtrDividend = MakeGrid(0, 0, 1, {{6, 8}});
  auto PtrDivisor = MakeGrid(-0.5, -0.5, 1, {{1, 2, 4}, {9, 9, 9}});
  auto PtrResult = Own(TMapTools::Divide(PtrDividend.get(), PtrDivisor.get()));
  ExpectSameGrid(*PtrResult, *PtrDividend);
  // Centre x 0.5 lies on the edge between divisor columns 0 and 1 and belongs to column 1.
  ExpectCells(*PtrResult, {{3, 2}});
}

TEST(TMapTools, DivideByZeroGivesInfinityOrNaN) {
  auto PtrDividend = MakeGrid(0, 0, 1, {{1, -1, 0}});
  auto PtrDivisor = MakeGrid(0, 0, 1, {{0, 0, 0}});
  auto PtrResult = Own(TMapTools::Divide(PtrDividend.get(), PtrDivisor.get()));
  ExpectCells(*PtrResult, {{Inf, -Inf, NaN}});
}

TEST(TMapTools, DivideMarksCellsWhereEitherMapHoldsItsOwnNoData) {
  // Dividend marker -1, divisor marker -9999; a -9999 in the dividend and a -1 in the divisor
  // are data.
  auto PtrDividend = MakeGrid(0, 0, 1, {{-1, 8, -9999, 8, NaN}}, -1);
  auto PtrDivisor = MakeGrid(0, 0, 1, {{2, -9999, 2, -1, 2}});
  auto PtrResult = Own(TMapTools::Divide(PtrDividend.get(), PtrDivisor.get()));
  EXPECT_EQ(PtrResult->MbrDblNoDataValue, -1);
  ExpectCells(*PtrResult, {{-1, -1, -4999.5, -8, NaN}});
}

TEST(TMapTools, DivideFailsWhenADividendCentreLiesOutsideTheDivisor) {
  auto PtrDividend = MakeGrid(0, 0, 1, {{1, -9999}}, -9999);
  auto PtrDivisor = MakeGrid(0, 0, 1, {{1}});
  // The outside cell holds the dividend's no-data value and still fails the lookup.
  EXPECT_THROW_MSG(TMapTools::Divide(PtrDividend.get(), PtrDivisor.get()), OrdinateOutOfRange);
}

// ---- Add and Multiply (map by map) ----

TEST(TMapTools, AddUsesTheFinerGridInEitherOrder) {
  auto PtrFine = MakeGrid(0, 0, 1, {{1, 2}, {3, 4}}, -1);
  auto PtrCoarse = MakeGrid(0, 0, 2, {{10}}, -2);
  auto PtrFirstFine = Own(TMapTools::Add(PtrFine.get(), PtrCoarse.get()));
  auto PtrSecondFine = Own(TMapTools::Add(PtrCoarse.get(), PtrFine.get()));
  for (const TMap* PtrResult : {PtrFirstFine.get(), PtrSecondFine.get()}) {
    ExpectSameGrid(*PtrResult, *PtrFine);
    ExpectCells(*PtrResult, {{11, 12}, {13, 14}});
    EXPECT_EQ(PtrResult->MbrDblNoDataValue, -1);
  }
  ExpectCells(*PtrFine, {{1, 2}, {3, 4}});
  ExpectCells(*PtrCoarse, {{10}});
}

TEST(TMapTools, MultiplyUsesTheFinerGridInEitherOrder) {
  auto PtrFine = MakeGrid(0, 0, 1, {{1, 2, 3, 4}, {5, 6, 7, 8}}, -1);
  auto PtrCoarse = MakeGrid(0, 0, 2, {{10, 100}}, -2);
  auto PtrFirstFine = Own(TMapTools::Multiply(PtrFine.get(), PtrCoarse.get()));
  auto PtrSecondFine = Own(TMapTools::Multiply(PtrCoarse.get(), PtrFine.get()));
  for (const TMap* PtrResult : {PtrFirstFine.get(), PtrSecondFine.get()}) {
    ExpectSameGrid(*PtrResult, *PtrFine);
    ExpectCells(*PtrResult, {{10, 20, 300, 400}, {50, 60, 700, 800}});
    EXPECT_EQ(PtrResult->MbrDblNoDataValue, -1);
  }
}

TEST(TMapTools, PositionMatchedOperationsOfEqualCellSizesTakeTheFirstMapsGridAndMarker) {
  // Each map holds the other's marker as data in one cell and its own marker in another.
  auto PtrA = MakeGrid(0, 0, 1, {{-9999, 4, -1, NaN}}, -9999);
  auto PtrB = MakeGrid(0, 0, 1, {{2, -1, -9999, 2}}, -1);
  struct TCase {
    const char* ChrName;
    TMap* (*Operation)(const TMap*, const TMap*);
    double DblAB;  // cell 2 with A first: A's -1 and B's -9999 are both data
    double DblBA;  // cell 2 with B first
  };
  const TCase Cases[] = {
      // name, operation, A op B, B op A
      {"Add", &TMapTools::Add, -10000, -10000},
      {"Multiply", &TMapTools::Multiply, 9999, 9999},
      {"Divide", &TMapTools::Divide, -1.0 / -9999.0, 9999},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.ChrName);
    auto PtrAFirst = Own(Case.Operation(PtrA.get(), PtrB.get()));
    EXPECT_EQ(PtrAFirst->MbrDblNoDataValue, -9999);
    auto PtrBFirst = Own(Case.Operation(PtrB.get(), PtrA.get()));
    EXPECT_EQ(PtrBFirst->MbrDblNoDataValue, -1);
    // Cell 0 holds A's marker, cell 1 B's marker: the base map's marker either way.
    ExpectCells(*PtrAFirst, {{-9999, -9999, Case.DblAB, NaN}});
    ExpectCells(*PtrBFirst, {{-1, -1, Case.DblBA, NaN}});
  }
}

TEST(TMapTools, PositionMatchedOperationsFailWhenABaseCentreLiesOutsideTheOtherMap) {
  // The fine map reaches one column beyond the coarse one; that column holds no-data only.
  auto PtrFine = MakeGrid(0, 0, 1, {{1, 2, -9999}, {3, 4, -9999}});
  auto PtrCoarse = MakeGrid(0, 0, 2, {{10}});
  EXPECT_THROW_MSG(TMapTools::Add(PtrFine.get(), PtrCoarse.get()), OrdinateOutOfRange);
  EXPECT_THROW_MSG(TMapTools::Add(PtrCoarse.get(), PtrFine.get()), OrdinateOutOfRange);
  EXPECT_THROW_MSG(TMapTools::Multiply(PtrCoarse.get(), PtrFine.get()), OrdinateOutOfRange);
  EXPECT_THROW_MSG(TMapTools::Divide(PtrFine.get(), PtrCoarse.get()), OrdinateOutOfRange);
  // Rows outside fail as well.
  auto PtrTall = MakeGrid(0, -1, 1, {{1, 2}, {3, 4}, {5, 6}});
  EXPECT_THROW_MSG(TMapTools::Add(PtrTall.get(), PtrCoarse.get()), OrdinateOutOfRange);
}

TEST(TMapTools, PositionMatchedOperationsReportTheFirstFailingCellRowByRow) {
  // Row 0 of the base map is short, so its cell (1, 0) cannot be read; row 1 lies south of
  // the other map. Cell (1, 0) comes first row by row, cell (0, 1) column by column.
  auto PtrBase = MakeGrid(0, 0, 1, {{1, 2}, {3, 4}});
  PtrBase->MbrVecRows[0].resize(1);
  auto PtrOther = MakeGrid(0, 1, 1, {{5, 6}});
  EXPECT_THROW_MSG(TMapTools::Add(PtrBase.get(), PtrOther.get()),
                   "X-ordinate is out of range in TMap::GetPointVal");
}

TEST(TMapTools, PositionMatchedLookupOfManyFineCellsInOneCoarseCell) {
  // 4 x 4 cells of 0.5 over 2 x 2 cells of 1, shifted: lookups by centre on both axes.
  auto PtrFine = MakeGrid(10, 20, 0.5, {{1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}});
  auto PtrCoarse = MakeGrid(10, 20, 1, {{10, 20}, {30, 40}});
  auto PtrResult = Own(TMapTools::Add(PtrCoarse.get(), PtrFine.get()));
  ExpectSameGrid(*PtrResult, *PtrFine);
  ExpectCells(*PtrResult, {{11, 11, 21, 21}, {11, 11, 21, 21}, {31, 31, 41, 41}, {31, 31, 41, 41}});
}

// ---- Subtract ----

TEST(TMapTools, SubtractMatchesCellsByIndexOnTheFirstMapsGrid) {
  auto PtrFirst = MakeGrid(0, 0, 1, {{5, 7}, {-1, 9}, {NaN, 1}}, -1);
  // Another cell size and place: only its dimensions and values count.
  auto PtrSecond = MakeGrid(100, 100, 3, {{1, -9999}, {2, 3}, {1, NaN}}, -9999);
  auto PtrResult = Own(TMapTools::Subtract(PtrFirst.get(), PtrSecond.get()));
  ExpectSameGrid(*PtrResult, *PtrFirst);
  EXPECT_EQ(PtrResult->MbrDblNoDataValue, -1);
  ExpectCells(*PtrResult, {{4, -1}, {-1, 6}, {NaN, NaN}});
}

TEST(TMapTools, SubtractRefusesMapsOfDifferentDimensions) {
  auto PtrMap = MakeGrid(0, 0, 1, {{1, 2}, {3, 4}});
  auto PtrWider = MakeGrid(0, 0, 1, {{1, 2, 3}, {4, 5, 6}});
  auto PtrTaller = MakeGrid(0, 0, 1, {{1, 2}, {3, 4}, {5, 6}});
  auto PtrBoth = MakeGrid(0, 0, 1, {{1, 2, 3}});
  EXPECT_THROW_MSG(TMapTools::Subtract(PtrMap.get(), PtrWider.get()),
                   "X dimensions do not match in TMapTools::Subtract");
  EXPECT_THROW_MSG(TMapTools::Subtract(PtrMap.get(), PtrTaller.get()),
                   "Y dimensions do not match in TMapTools::Subtract");
  EXPECT_THROW_MSG(TMapTools::Subtract(PtrMap.get(), PtrBoth.get()),
                   "X dimensions do not match in TMapTools::Subtract");
}

TEST(TMapTools, ByIndexAndScalarOperationsRefuseAxesOfDifferentResolutions) {
  auto PtrMap = MakeGrid(0, 0, 1, {{1}});
  PtrMap->MbrPtrYAxis->MbrDblResolution = 2;
  auto PtrOther = MakeGrid(0, 0, 1, {{1}});
  const char* ChrMessage = "Axes resolutions do not match in TMap::TMap";
  EXPECT_THROW_MSG(TMapTools::Subtract(PtrMap.get(), PtrOther.get()), ChrMessage);
  EXPECT_THROW_MSG(TMapTools::Multiply(PtrMap.get(), 2.0), ChrMessage);
  EXPECT_THROW_MSG(TMapTools::Divide(PtrMap.get(), 2.0), ChrMessage);
  EXPECT_THROW_MSG(TMapTools::RoundContents(PtrMap.get()), ChrMessage);
}

// ---- Multiply and Divide (map by number) ----

TEST(TMapTools, ScalarOperationsKeepTheSourcesNoDataCellsAndValue) {
  // Marker -1: a -9999 is data and is scaled; the -1 cells stay and the result says -1.
  auto PtrMap = MakeGrid(0, 0, 1, {{-1, -9999, 3, NaN}}, -1);
  auto PtrProduct = Own(TMapTools::Multiply(PtrMap.get(), 2.0));
  ExpectSameGrid(*PtrProduct, *PtrMap);
  EXPECT_EQ(PtrProduct->MbrDblNoDataValue, -1);
  ExpectCells(*PtrProduct, {{-1, -19998, 6, NaN}});
  auto PtrQuotient = Own(TMapTools::Divide(PtrMap.get(), 2.0));
  ExpectSameGrid(*PtrQuotient, *PtrMap);
  EXPECT_EQ(PtrQuotient->MbrDblNoDataValue, -1);
  ExpectCells(*PtrQuotient, {{-1, -4999.5, 1.5, NaN}});
  ExpectCells(*PtrMap, {{-1, -9999, 3, NaN}});

  auto PtrDefault = MakeGrid(0, 0, 1, {{-9999, 3}});
  auto PtrScaled = Own(TMapTools::Multiply(PtrDefault.get(), 2.0));
  EXPECT_EQ(PtrScaled->MbrDblNoDataValue, -9999);
  ExpectCells(*PtrScaled, {{-9999, 6}});
}

TEST(TMapTools, DivideByZeroNumberGivesInfinityOrNaN) {
  auto PtrMap = MakeGrid(0, 0, 1, {{1, -1, 0, -9999}});
  auto PtrResult = Own(TMapTools::Divide(PtrMap.get(), 0.0));
  ExpectCells(*PtrResult, {{Inf, -Inf, NaN, -9999}});
}

// ---- RoundContents ----

TEST(TMapTools, RoundContentsRoundsHalvesUpward) {
  struct TCase {
    double DblValue;
    double DblExpected;
  };
  const TCase Cases[] = {
      // value, rounded
      {2.5, 3},
      {2.49, 2},
      {-2.5, -2},
      {-2.7, -3},
      {-2.2, -2},
      {-0.5, 0},
      {0.49999999999999994, 0},                  // floor(v + 0.5) would give 1
      {4503599627370497.0, 4503599627370497.0},  // 2^52 + 1: v + 0.5 would round to even
      {3e9 + 0.5, 3000000001.0},                 // beyond the 32-bit range
      {-3e9 - 0.7, -3000000001.0},
      {1e300, 1e300},
      {Inf, Inf},
      {-Inf, -Inf},
      {NaN, NaN},
      {-9999, -9999},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(testing::Message() << "value " << Case.DblValue);
    auto PtrMap = MakeGrid(0, 0, 1, {{Case.DblValue}});
    auto PtrResult = Own(TMapTools::RoundContents(PtrMap.get()));
    ExpectCells(*PtrResult, {{Case.DblExpected}});
  }
}

TEST(TMapTools, RoundContentsKeepsNoDataOfSource) {
  auto PtrMap = MakeGrid(0, 0, 1, {{-0.5, 1.7}, {-0.5, -32768}}, -0.5);
  auto PtrResult = Own(TMapTools::RoundContents(PtrMap.get()));
  ExpectSameGrid(*PtrResult, *PtrMap);
  EXPECT_EQ(PtrResult->MbrDblNoDataValue, -0.5);
  ExpectCells(*PtrResult, {{-0.5, 2}, {-0.5, -32768}});
}
