#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "ErrorText.h"
#include "MapFixtures.h"
#include "TMapTools.h"

using gridclip_test::MakeGrid;
using gridclip_test::Ordinates;

namespace {
using TRows = std::vector<std::vector<double>>;
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr const char* OrdinateOutOfRange = "Ordinate is out of range in TAxis::GetIndex";

std::unique_ptr<TMap> Own(TMap* PtrMap) {
  return std::unique_ptr<TMap>(PtrMap);
}

// Expects the map to hold `Rows` exactly, NaN cells included.
void ExpectCells(const TMap& Map, const TRows& Rows) {
  ASSERT_EQ(Map.MbrLngYDim, static_cast<long>(Rows.size()));
  for (long LngY = 0; LngY < Map.MbrLngYDim; ++LngY) {
    const auto& VecRow = Rows[static_cast<std::size_t>(LngY)];
    ASSERT_EQ(Map.MbrLngXDim, static_cast<long>(VecRow.size()));
    for (long LngX = 0; LngX < Map.MbrLngXDim; ++LngX) {
      SCOPED_TRACE(testing::Message() << "cell (" << LngX << ", " << LngY << ")");
      const double DblExpected = VecRow[static_cast<std::size_t>(LngX)];
      const double DblActual = Map.GetPointVal(LngX, LngY);
      if (std::isnan(DblExpected)) {
        EXPECT_TRUE(std::isnan(DblActual)) << DblActual;
      } else {
        EXPECT_EQ(DblActual, DblExpected);
      }
    }
  }
}

// Expects `Result` to lie on the grid of `Source`: cell size, dimensions and centre axes.
void ExpectSameGrid(const TMap& Result, const TMap& Source) {
  EXPECT_EQ(Result.MbrDblResolution, Source.MbrDblResolution);
  EXPECT_EQ(Result.MbrLngXDim, Source.MbrLngXDim);
  EXPECT_EQ(Result.MbrLngYDim, Source.MbrLngYDim);
  EXPECT_EQ(Ordinates(*Result.MbrPtrXAxis, 'X'), Ordinates(*Source.MbrPtrXAxis, 'X'));
  EXPECT_EQ(Ordinates(*Result.MbrPtrYAxis, 'Y'), Ordinates(*Source.MbrPtrYAxis, 'Y'));
  EXPECT_EQ(Ordinates(*Result.MbrPtrXAxisInterval, 'X'),
            Ordinates(*Source.MbrPtrXAxisInterval, 'X'));
  EXPECT_EQ(Ordinates(*Result.MbrPtrYAxisInterval, 'Y'),
            Ordinates(*Source.MbrPtrYAxisInterval, 'Y'));
}
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
