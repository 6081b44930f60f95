#ifndef GRIDCLIP_TESTS_MAPFIXTURES_H
#define GRIDCLIP_TESTS_MAPFIXTURES_H

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "GridGeometry.h"
#include "TAxis.h"
#include "TMap.h"

namespace gridclip_test {

/// Rows of one map, row 0 northern.
using TRows = std::vector<std::vector<double>>;

/// Takes over a map an operation returned.
inline std::unique_ptr<TMap> Own(TMap* PtrMap) {
  return std::unique_ptr<TMap>(PtrMap);
}

/// Expects the map to hold `Rows` exactly, NaN cells included.
inline void ExpectCells(const TMap& Map, const TRows& Rows) {
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

/// A map laid out as the grid file reader lays it out: row 0 is the northern row of `Rows`,
/// the edges are running sums of `DblCell` from the lower-left corner (`DblXll`, `DblYll`).
inline std::unique_ptr<TMap> MakeGrid(double DblXll, double DblYll, double DblCell,
                                      const std::vector<std::vector<double>>& Rows,
                                      double DblNoData = -9999.0) {
  const long LngRows = static_cast<long>(Rows.size());
  const long LngCols = Rows.empty() ? 0 : static_cast<long>(Rows.front().size());
  auto PtrMap = std::make_unique<TMap>(DblCell, LngCols, LngRows);
  PtrMap->MbrDblNoDataValue = DblNoData;
  for (long LngY = 0; LngY < LngRows; ++LngY) {
    for (long LngX = 0; LngX < LngCols; ++LngX) {
      PtrMap->SetPoint(LngX, LngY,
                       Rows[static_cast<std::size_t>(LngY)][static_cast<std::size_t>(LngX)]);
    }
  }
  SetReaderGeometry(*PtrMap, DblXll, DblYll, DblCell);
  return PtrMap;
}

/// An axis holding plain points whose ordinate along `ChrAxis` takes the given values; the
/// other coordinate is `DblOther`.
inline std::unique_ptr<TAxis> MakeAxis(const std::vector<double>& Ordinates, char ChrAxis,
                                       double DblResolution = 1.0, double DblOther = 0.0) {
  auto PtrAxis = std::make_unique<TAxis>(DblResolution);
  for (double DblValue : Ordinates) {
    PtrAxis->AddPoint(ChrAxis == 'X' ? new TPoint(DblValue, DblOther)
                                     : new TPoint(DblOther, DblValue));
  }
  return PtrAxis;
}

/// The ordinates of an axis along `ChrAxis`, in order.
inline std::vector<double> Ordinates(const TAxis& Axis, char ChrAxis) {
  std::vector<double> Values;
  for (long LngI = 0; LngI < Axis.GetSize(); ++LngI) {
    const TPoint* PtrPoint = Axis.GetPoint(LngI);
    Values.push_back(ChrAxis == 'X' ? PtrPoint->MbrDblX : PtrPoint->MbrDblY);
  }
  return Values;
}

/// Expects `Result` to lie on the grid of `Source`: cell size, dimensions and centre axes.
inline void ExpectSameGrid(const TMap& Result, const TMap& Source) {
  EXPECT_EQ(Result.MbrDblResolution, Source.MbrDblResolution);
  EXPECT_EQ(Result.MbrLngXDim, Source.MbrLngXDim);
  EXPECT_EQ(Result.MbrLngYDim, Source.MbrLngYDim);
  EXPECT_EQ(Ordinates(*Result.MbrPtrXAxis, 'X'), Ordinates(*Source.MbrPtrXAxis, 'X'));
  EXPECT_EQ(Ordinates(*Result.MbrPtrYAxis, 'Y'), Ordinates(*Source.MbrPtrYAxis, 'Y'));
}

}  // namespace gridclip_test

#endif
