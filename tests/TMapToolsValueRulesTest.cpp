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
  EXPECT_EQ(Ordinates(*Result.MbrPtrXAxis, 'X'), Ordinates(*Source.MbrPtrXAxis, 'X'));
  EXPECT_EQ(Ordinates(*Result.MbrPtrYAxis, 'Y'), Ordinates(*Source.MbrPtrYAxis, 'Y'));
}

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
