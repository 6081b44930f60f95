#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "ErrorText.h"
#include "MapFixtures.h"
#include "TMapTools.h"

using gridclip_test::MakeAxis;
using gridclip_test::MakeGrid;
using gridclip_test::Ordinates;
using gridclip_test::ThrownText;

namespace {
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

std::vector<std::vector<double>> Filled(long LngCols, long LngRows, double DblValue) {
  return std::vector<std::vector<double>>(
      static_cast<std::size_t>(LngRows),
      std::vector<double>(static_cast<std::size_t>(LngCols), DblValue));
}

// Cell values that follow no simple law, so that any change of corners or weights shows.
std::vector<std::vector<double>> Irregular(long LngCols, long LngRows) {
  auto Rows = Filled(LngCols, LngRows, 0.0);
  for (long LngY = 0; LngY < LngRows; ++LngY) {
    for (long LngX = 0; LngX < LngCols; ++LngX) {
      Rows[static_cast<std::size_t>(LngY)][static_cast<std::size_t>(LngX)] =
          100.0 * std::sin(0.7 * static_cast<double>(LngX) + 0.3) +
          0.37 * static_cast<double>(LngY * LngY) - static_cast<double>(LngX * LngY) / 7.0;
    }
  }
  return Rows;
}

// A map of `Rows` (row 0 first) on the given edge ordinates, which may be uneven.
std::unique_ptr<TMap> MakeOnEdges(const std::vector<double>& XEdges,
                                  const std::vector<double>& YEdges, double DblCell,
                                  const std::vector<std::vector<double>>& Rows) {
  const long LngCols = static_cast<long>(XEdges.size()) - 1;
  const long LngRows = static_cast<long>(YEdges.size()) - 1;
  auto PtrMap = std::make_unique<TMap>(DblCell, LngCols, LngRows);
  for (long LngY = 0; LngY < LngRows; ++LngY) {
    for (long LngX = 0; LngX < LngCols; ++LngX) {
      PtrMap->SetPoint(LngX, LngY,
                       Rows[static_cast<std::size_t>(LngY)][static_cast<std::size_t>(LngX)]);
    }
  }
  auto PtrX = MakeAxis(XEdges, 'X', DblCell, YEdges.front());
  auto PtrY = MakeAxis(YEdges, 'Y', DblCell, XEdges.front());
  PtrMap->SetXAxisInterval(PtrX.get());
  PtrMap->SetYAxisInterval(PtrY.get());
  return PtrMap;
}

// The map form sample by sample through the map's own lookups, with nothing shared between
// samples: the oracle for the column and row lookups that the library makes once.
std::unique_ptr<TMap> InterpolateSampleBySample(const TMap* PtrSource, double DblNewCell) {
  std::unique_ptr<TMap> PtrResult(TMapTools::Downscale(PtrSource, DblNewCell));
  PtrResult->InitValues(PtrSource->MbrDblNoDataValue);
  PtrResult->MbrDblNoDataValue = PtrSource->MbrDblNoDataValue;
  const TAxis& XEdges = *PtrResult->MbrPtrXAxisInterval;
  const TAxis& YEdges = *PtrResult->MbrPtrYAxisInterval;
  const double DblWest = XEdges.GetPoint(0)->MbrDblX;
  const double DblEast = XEdges.GetPoint(XEdges.GetSize() - 1)->MbrDblX;
  const double DblNorth = YEdges.GetPoint(0)->MbrDblY;
  const double DblSouth = YEdges.GetPoint(YEdges.GetSize() - 1)->MbrDblY;
  const double DblCell = PtrSource->MbrDblResolution;
  const bool BlnDown = DblNorth > DblSouth;
  for (double DblX = DblWest + DblCell; DblX <= DblEast - DblCell - DblNewCell;
       DblX += DblNewCell) {
    double DblY = BlnDown ? DblNorth - DblCell - DblNewCell : DblNorth + DblCell;
    do {
      const TPoint Sample(DblX, DblY);
      std::unique_ptr<TMapPoint> PtrInResult(PtrResult->GetPoint(&Sample));
      const long LngIx = PtrSource->GetIndex(DblX, 'X');
      const long LngIy = PtrSource->GetIndex(DblY, 'Y');
      std::unique_ptr<TPoint> PtrC(PtrSource->GetCoordinates(LngIx, LngIy));
      const long LngX1 = DblX <= PtrC->MbrDblX ? LngIx - 1 : LngIx;
      const bool BlnUpper = BlnDown ? DblY > PtrC->MbrDblY : DblY <= PtrC->MbrDblY;
      const long LngY1 = BlnUpper ? LngIy - 1 : LngIy;
      const long LngX2 = LngX1 + 1;
      const long LngY2 = LngY1 + 1;
      const char* Where = " is out of range in TMapTools::BilinearInterpolate";
      if (LngX1 < 0 || LngX1 >= PtrSource->MbrLngXDim) throw std::string("LngGetX1") + Where;
      if (LngX2 < 0 || LngX2 >= PtrSource->MbrLngXDim) throw std::string("LngGetX2") + Where;
      if (LngY1 < 0 || LngY1 >= PtrSource->MbrLngYDim) throw std::string("LngGetY1") + Where;
      if (LngY2 < 0 || LngY2 >= PtrSource->MbrLngYDim) throw std::string("LngGetY2") + Where;
      std::unique_ptr<TMapPoint> P1(PtrSource->GetPoint(LngX1, LngY1));
      std::unique_ptr<TMapPoint> P2(PtrSource->GetPoint(LngX2, LngY1));
      std::unique_ptr<TMapPoint> P3(PtrSource->GetPoint(LngX1, LngY2));
      std::unique_ptr<TMapPoint> P4(PtrSource->GetPoint(LngX2, LngY2));
      TMapPoint P5(DblX, DblY);
      TMapTools::BilinearInterpolate(P1.get(), P2.get(), P3.get(), P4.get(), &P5);
      PtrResult->SetPoint(&Sample, P5.MbrDblValue);
      DblY += BlnDown ? -DblNewCell : DblNewCell;
    } while (BlnDown ? DblY >= DblSouth + DblCell : DblY <= DblSouth - DblCell);
  }
  return PtrResult;
}

std::unique_ptr<TMap> Interpolate(const TMap* PtrSource, double DblS) {
  return std::unique_ptr<TMap>(TMapTools::BilinearInterpolate(PtrSource, DblS));
}
}  // namespace

// ---- Downscale ----

TEST(TMapTools, DownscaleBuildsAnEmptyGridFromTheNorthWestCorner) {
  // Source 10 x 10, cell 1, lower-left (100, 200): W = 100, N = 210.
  auto PtrSource = MakeGrid(100, 200, 1, Filled(10, 10, 4.0), -1.0);
  struct TCase {
    double DblS;
    long LngCols, LngRows;
  };
  // new cell size, expected columns and rows
  const TCase Cases[] = {{3, 3, 3}, {0.5, 20, 20}, {4, 2, 2}, {10, 1, 1}, {1, 10, 10}};
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.DblS);
    std::unique_ptr<TMap> PtrResult(TMapTools::Downscale(PtrSource.get(), Case.DblS));
    EXPECT_EQ(PtrResult->MbrDblResolution, Case.DblS);
    EXPECT_EQ(PtrResult->MbrLngXDim, Case.LngCols);
    EXPECT_EQ(PtrResult->MbrLngYDim, Case.LngRows);
    EXPECT_EQ(PtrResult->MbrDblNoDataValue, -9999);
    EXPECT_EQ(PtrResult->MbrVecRows, Filled(Case.LngCols, Case.LngRows, -9999));
    EXPECT_EQ(PtrResult->MbrPtrXAxis->MbrDblResolution, Case.DblS);
    EXPECT_EQ(PtrResult->MbrPtrYAxis->MbrDblResolution, Case.DblS);
    // First centre half a new cell east of W and south of N; north stays at row 0.
    EXPECT_EQ(PtrResult->MbrPtrXAxis->GetPoint(0)->MbrDblX, 100 + Case.DblS / 2);
    EXPECT_EQ(PtrResult->MbrPtrXAxis->GetPoint(0)->MbrDblY, 210);
    EXPECT_EQ(PtrResult->MbrPtrYAxis->GetPoint(0)->MbrDblY, 210 - Case.DblS / 2);
    EXPECT_EQ(PtrResult->MbrPtrYAxis->GetPoint(0)->MbrDblX, 100);
    const auto XEdges = Ordinates(*PtrResult->MbrPtrXAxisInterval, 'X');
    const auto YEdges = Ordinates(*PtrResult->MbrPtrYAxisInterval, 'Y');
    EXPECT_EQ(XEdges.front(), 100);
    EXPECT_EQ(YEdges.front(), 210);
    EXPECT_DOUBLE_EQ(XEdges.back(), 100 + static_cast<double>(Case.LngCols) * Case.DblS);
    EXPECT_DOUBLE_EQ(YEdges.back(), 210 - static_cast<double>(Case.LngRows) * Case.DblS);
    // Never beyond the source.
    EXPECT_LE(XEdges.back(), 110);
    EXPECT_GE(YEdges.back(), 200);
  }
  EXPECT_EQ(PtrSource->MbrVecRows, Filled(10, 10, 4.0));
}

TEST(TMapTools, DownscaleCountsColumnsAndRowsSeparately) {
  auto PtrSource = MakeGrid(0, 0, 2, Filled(10, 4, 1.0));  // 20 wide, 8 high
  std::unique_ptr<TMap> PtrResult(TMapTools::Downscale(PtrSource.get(), 3));
  EXPECT_EQ(PtrResult->MbrLngXDim, 6);
  EXPECT_EQ(PtrResult->MbrLngYDim, 2);
  EXPECT_EQ(Ordinates(*PtrResult->MbrPtrXAxis, 'X'),
            (std::vector<double>{1.5, 4.5, 7.5, 10.5, 13.5, 16.5}));
  EXPECT_EQ(Ordinates(*PtrResult->MbrPtrYAxis, 'Y'), (std::vector<double>{6.5, 3.5}));
}

TEST(TMapTools, DownscaleKeepsAnAscendingYDirection) {
  auto PtrSource = MakeOnEdges({0, 1, 2, 3, 4}, {10, 11, 12, 13, 14}, 1, Filled(4, 4, 1.0));
  std::unique_ptr<TMap> PtrResult(TMapTools::Downscale(PtrSource.get(), 2));
  EXPECT_EQ(Ordinates(*PtrResult->MbrPtrYAxis, 'Y'), (std::vector<double>{11, 13}));
  EXPECT_EQ(Ordinates(*PtrResult->MbrPtrYAxisInterval, 'Y'), (std::vector<double>{10, 12, 14}));
}

TEST(TMapTools, DownscaleRefusesSizesThatMakeNoGrid) {
  auto PtrSource = MakeGrid(0, 0, 1, Filled(10, 10, 1.0));
  auto PtrTall = MakeGrid(0, 0, 1, Filled(1, 4, 1.0));
  auto PtrWide = MakeGrid(0, 0, 1, Filled(4, 1, 1.0));
  const double DblTiny = std::ldexp(1.0, -30);  // 2^30 cells for 1 unit, 2^32 for 4
  struct TCase {
    const TMap* PtrMap;
    double DblS;
    const char* Text;
  };
  // source, new cell size, message
  const TCase Cases[] = {
      {PtrSource.get(), 0.0, "New resolution must be > 0.0 in TMapTools::Downscale"},
      {PtrSource.get(), -0.0, "New resolution must be > 0.0 in TMapTools::Downscale"},
      {PtrSource.get(), -1.0, "New resolution must be > 0.0 in TMapTools::Downscale"},
      {PtrSource.get(), -Inf, "New resolution must be > 0.0 in TMapTools::Downscale"},
      {PtrSource.get(), NaN, "New resolution must be > 0.0 in TMapTools::Downscale"},
      {PtrSource.get(), 11.0, "Index is out of range in TAxis::GetPoint"},
      {PtrSource.get(), Inf, "Index is out of range in TAxis::GetPoint"},
      {PtrTall.get(), 2.0, "Index is out of range in TAxis::GetPoint"},
      {PtrWide.get(), 2.0, "Index is out of range in TAxis::GetPoint"},
      // 10 / 2^-28 = 2^31.3 columns: one past the 32-bit limit at the least.
      {PtrSource.get(), std::ldexp(1.0, -28), "Result grid is too large in TMapTools::Downscale"},
      {PtrSource.get(), 1e-300, "Result grid is too large in TMapTools::Downscale"},
      {PtrSource.get(), 5e-324, "Result grid is too large in TMapTools::Downscale"},
      // Only the rows, or only the columns, overflow; the other count fits.
      {PtrTall.get(), DblTiny, "Result grid is too large in TMapTools::Downscale"},
      {PtrWide.get(), DblTiny, "Result grid is too large in TMapTools::Downscale"},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.DblS);
    EXPECT_THROW_MSG(TMapTools::Downscale(Case.PtrMap, Case.DblS), Case.Text);
  }
  // Exactly 2^31 columns is the first count that does not fit.
  auto PtrOne = MakeGrid(0, 0, 1, Filled(1, 1, 1.0));
  EXPECT_THROW_MSG(TMapTools::Downscale(PtrOne.get(), std::ldexp(1.0, -31)),
                   "Result grid is too large in TMapTools::Downscale");
  // A NaN source cell size gives NaN counts, which fit no grid either.
  PtrOne->MbrDblResolution = NaN;
  EXPECT_THROW_MSG(TMapTools::Downscale(PtrOne.get(), 1.0),
                   "Result grid is too large in TMapTools::Downscale");
}

// ---- Subdivide ----

TEST(TMapTools, SubdivideRepeatsEachCellOverItsBlock) {
  auto PtrSource = MakeGrid(10, 20, 1, {{5, 7}});
  std::unique_ptr<TMap> PtrResult(TMapTools::Subdivide(PtrSource.get(), 2));
  EXPECT_EQ(PtrResult->MbrLngXDim, 4);
  EXPECT_EQ(PtrResult->MbrLngYDim, 2);
  EXPECT_EQ(PtrResult->MbrDblResolution, 0.5);
  EXPECT_EQ(PtrResult->MbrVecRows, (std::vector<std::vector<double>>{{5, 5, 7, 7}, {5, 5, 7, 7}}));
  EXPECT_EQ(Ordinates(*PtrResult->MbrPtrXAxisInterval, 'X'),
            (std::vector<double>{10, 10.5, 11, 11.5, 12}));
  EXPECT_EQ(Ordinates(*PtrResult->MbrPtrYAxisInterval, 'Y'), (std::vector<double>{21, 20.5, 20}));
  EXPECT_EQ(Ordinates(*PtrResult->MbrPtrXAxis, 'X'),
            (std::vector<double>{10.25, 10.75, 11.25, 11.75}));
  EXPECT_EQ(PtrResult->MbrPtrXAxisInterval->MbrDblResolution, 0.5);
  EXPECT_EQ(PtrResult->MbrPtrXAxisInterval->GetPoint(3)->MbrDblY, 21);
  EXPECT_EQ(PtrResult->MbrPtrYAxisInterval->GetPoint(1)->MbrDblX, 10);
}

TEST(TMapTools, SubdivideKeepsNorthAtRowZeroAndCoversTheSource) {
  const auto Rows = Irregular(3, 2);
  auto PtrSource = MakeGrid(-4, 7, 0.9, Rows, -1.0);
  for (int IntK : {1, 3, 4}) {
    SCOPED_TRACE(IntK);
    const long LngK = IntK;
    std::unique_ptr<TMap> PtrResult(TMapTools::Subdivide(PtrSource.get(), IntK));
    ASSERT_EQ(PtrResult->MbrLngXDim, 3 * LngK);
    ASSERT_EQ(PtrResult->MbrLngYDim, 2 * LngK);
    EXPECT_EQ(PtrResult->MbrDblResolution, 0.9 / IntK);
    for (long LngY = 0; LngY < 2 * LngK; ++LngY) {
      for (long LngX = 0; LngX < 3 * LngK; ++LngX) {
        EXPECT_EQ(PtrResult->GetPointVal(LngX, LngY),
                  PtrSource->GetPointVal(LngX / LngK, LngY / LngK));
      }
    }
    const auto XEdges = Ordinates(*PtrResult->MbrPtrXAxisInterval, 'X');
    const auto YEdges = Ordinates(*PtrResult->MbrPtrYAxisInterval, 'Y');
    const auto SourceY = Ordinates(*PtrSource->MbrPtrYAxisInterval, 'Y');
    EXPECT_EQ(XEdges.front(), -4);
    EXPECT_EQ(YEdges.front(), SourceY.front());  // N, the northern edge
    EXPECT_NEAR(XEdges.back(), -4 + 2.7, 1e-12);
    EXPECT_NEAR(YEdges.back(), 7, 1e-12);  // S
  }
  // A factor of 1 copies values and grid.
  std::unique_ptr<TMap> PtrCopy(TMapTools::Subdivide(PtrSource.get(), 1));
  EXPECT_EQ(PtrCopy->MbrVecRows, Rows);
  EXPECT_EQ(Ordinates(*PtrCopy->MbrPtrXAxisInterval, 'X'),
            Ordinates(*PtrSource->MbrPtrXAxisInterval, 'X'));
  EXPECT_EQ(PtrSource->MbrVecRows, Rows);
}

TEST(TMapTools, SubdivideKeepsNoDataOfSource) {
  auto PtrSource = MakeGrid(0, 0, 1, {{-1, 3}, {2, -1}}, -1.0);
  std::unique_ptr<TMap> PtrResult(TMapTools::Subdivide(PtrSource.get(), 2));
  EXPECT_EQ(PtrResult->MbrDblNoDataValue, -1);
  EXPECT_EQ(PtrResult->GetPointVal(0, 0), -1);
  EXPECT_EQ(PtrResult->GetPointVal(3, 3), -1);
  EXPECT_EQ(PtrResult->GetPointVal(2, 1), 3);
}

TEST(TMapTools, SubdivideFollowsAnAscendingYDirection) {
  auto PtrSource = MakeOnEdges({0, 2}, {10, 12, 14}, 2, {{1}, {2}});
  std::unique_ptr<TMap> PtrResult(TMapTools::Subdivide(PtrSource.get(), 2));
  EXPECT_EQ(Ordinates(*PtrResult->MbrPtrYAxisInterval, 'Y'),
            (std::vector<double>{10, 11, 12, 13, 14}));
  EXPECT_EQ(PtrResult->MbrVecRows,
            (std::vector<std::vector<double>>{{1, 1}, {1, 1}, {2, 2}, {2, 2}}));
}

TEST(TMapTools, SubdivideRefusesFactorsThatMakeNoGrid) {
  auto PtrSource = MakeGrid(0, 0, 1, {{1, 2}});  // 2 columns, 1 row
  auto PtrTall = MakeGrid(0, 0, 1, {{1}, {2}});  // 1 column, 2 rows
  struct TCase {
    const TMap* PtrMap;
    int IntK;
    const char* Text;
  };
  // source, factor, message
  const TCase Cases[] = {
      {PtrSource.get(), 0, "Subdivision factor must be > 0 in TMapTools::Subdivide"},
      {PtrSource.get(), -3, "Subdivision factor must be > 0 in TMapTools::Subdivide"},
      {PtrSource.get(), INT_MIN, "Subdivision factor must be > 0 in TMapTools::Subdivide"},
      {PtrSource.get(), INT_MAX, "Result grid is too large in TMapTools::Subdivide"},
      {PtrTall.get(), INT_MAX, "Result grid is too large in TMapTools::Subdivide"},
      {PtrSource.get(), 1 << 30, "Result grid is too large in TMapTools::Subdivide"},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.IntK);
    EXPECT_THROW_MSG(TMapTools::Subdivide(Case.PtrMap, Case.IntK), Case.Text);
  }
}

// ---- Number and point forms ----

TEST(TMapTools, BilinearInterpolateNumbers) {
  struct TCase {
    double DblX, DblY, DblExpected;
  };
  // x, y, expected; corners 0 at (0, 0), 10 at (1, 0), 20 at (0, 1), 30 at (1, 1)
  const TCase Cases[] = {{0.5, 0.5, 15}, {0, 0, 0},  {1, 1, 30},         {1, 0, 10},
                         {0, 1, 20},     {2, 0, 20}, {0.25, 0.75, 17.5}, {-1, -1, -30}};
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(testing::Message() << Case.DblX << ", " << Case.DblY);
    EXPECT_DOUBLE_EQ(
        TMapTools::BilinearInterpolate(0, 10, 20, 30, Case.DblX, 0, 1, Case.DblY, 0, 1),
        Case.DblExpected);
    // Y descending, corners swapped accordingly.
    EXPECT_DOUBLE_EQ(
        TMapTools::BilinearInterpolate(20, 30, 0, 10, Case.DblX, 0, 1, Case.DblY, 1, 0),
        Case.DblExpected);
    // X descending too.
    EXPECT_DOUBLE_EQ(
        TMapTools::BilinearInterpolate(30, 20, 10, 0, Case.DblX, 1, 0, Case.DblY, 1, 0),
        Case.DblExpected);
  }
  // Each corner value is divided by the area before it is weighted: 1e308 / 0.5 overflows.
  EXPECT_EQ(TMapTools::BilinearInterpolate(1e308, 0, 0, 0, 0, 0, 0.5, 0, 0, 1), Inf);
  EXPECT_TRUE(std::isnan(TMapTools::BilinearInterpolate(0, 10, 20, 30, 0.5, 1, 1, 0.5, 0, 1)));
}

TEST(TMapTools, BilinearInterpolatePointsWritesOnlyTheValueOfTheFifth) {
  TMapPoint P1(0, 0), P2(1, 99), P3(-99, 1), P4(55, -55), P5(0.25, 0.75);
  P1.MbrDblValue = 0;
  P2.MbrDblValue = 10;
  P3.MbrDblValue = 20;
  P4.MbrDblValue = 30;
  P5.MbrDblValue = 123;
  TMapTools::BilinearInterpolate(&P1, &P2, &P3, &P4, &P5);
  EXPECT_DOUBLE_EQ(P5.MbrDblValue, 17.5);
  EXPECT_EQ(P5.MbrDblX, 0.25);
  EXPECT_EQ(P5.MbrDblY, 0.75);
  EXPECT_EQ(P4.MbrDblValue, 30);
  EXPECT_EQ(P2.MbrDblY, 99);
  // P4's coordinates have no influence.
  P4.MbrDblX = 1e9;
  P4.MbrDblY = -1e9;
  TMapTools::BilinearInterpolate(&P1, &P2, &P3, &P4, &P5);
  EXPECT_DOUBLE_EQ(P5.MbrDblValue, 17.5);
}

// ---- Map form ----

TEST(TMapTools, BilinearInterpolateMapFourByFourExample) {
  const std::vector<std::vector<double>> Rows = {
      {1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 13}, {17, 19, 23, 29}};
  auto PtrSource = MakeGrid(0, 0, 1, Rows, -5.0);
  auto PtrResult = Interpolate(PtrSource.get(), 1);
  ASSERT_EQ(PtrResult->MbrLngXDim, 4);
  ASSERT_EQ(PtrResult->MbrLngYDim, 4);
  EXPECT_EQ(PtrResult->MbrDblResolution, 1);
  EXPECT_EQ(PtrResult->MbrDblNoDataValue, -5);
  // Samples (1, 2), (1, 1), (2, 2), (2, 1) each at the south-west corner of a result cell in
  // columns 1-2, rows 1-2, where four source cells meet: the value is their mean.
  const auto Mean = [&](long LngX, long LngY) {  // the source cells west / north of the corner
    return (PtrSource->GetPointVal(LngX, LngY) + PtrSource->GetPointVal(LngX + 1, LngY) +
            PtrSource->GetPointVal(LngX, LngY + 1) + PtrSource->GetPointVal(LngX + 1, LngY + 1)) /
           4;
  };
  const std::vector<std::vector<double>> Expected = {{-5, -5, -5, -5},
                                                     {-5, Mean(0, 1), Mean(1, 1), -5},
                                                     {-5, Mean(0, 2), Mean(1, 2), -5},
                                                     {-5, -5, -5, -5}};
  EXPECT_EQ(PtrResult->MbrVecRows, Expected);
  EXPECT_EQ(PtrResult->GetPointVal(1, 1), 7.5);
  EXPECT_EQ(PtrResult->GetPointVal(2, 2), 15.75);
  EXPECT_EQ(PtrSource->MbrVecRows, Rows);
}

TEST(TMapTools, BilinearInterpolateMapSamplesColumnByColumn) {
  // The 4 x 4 layout with uneven edges: the second column of samples (x = 2) and the second
  // sample of each column (y = 1) both leave the source. Column by column, (1, 1) fails first.
  const auto Rows = Filled(4, 4, 1.0);
  auto PtrBoth = MakeOnEdges({0, 1, 1.2, 1.4, 2.1}, {4, 3.8, 3.6, 3, 0.5}, 1, Rows);
  EXPECT_THROW_MSG(Interpolate(PtrBoth.get(), 1),
                   "LngGetY2 is out of range in TMapTools::BilinearInterpolate");
  auto PtrColumn = MakeOnEdges({0, 1, 1.2, 1.4, 2.1}, {4, 3, 2, 1, 0}, 1, Rows);
  EXPECT_THROW_MSG(Interpolate(PtrColumn.get(), 1),
                   "LngGetX2 is out of range in TMapTools::BilinearInterpolate");
}

TEST(TMapTools, BilinearInterpolateMapIsExactOnALinearSource) {
  // Cell centres (x, y) hold 2x + 3y + 1; source 8 x 6, cell 1, W = 10, N = 26.
  auto Rows = Filled(8, 6, 0.0);
  for (long LngY = 0; LngY < 6; ++LngY) {
    for (long LngX = 0; LngX < 8; ++LngX) {
      const double DblX = 10.5 + static_cast<double>(LngX);
      const double DblY = 25.5 - static_cast<double>(LngY);
      Rows[static_cast<std::size_t>(LngY)][static_cast<std::size_t>(LngX)] =
          2 * DblX + 3 * DblY + 1;
    }
  }
  auto PtrSource = MakeGrid(10, 20, 1, Rows, -1.0);
  auto PtrResult = Interpolate(PtrSource.get(), 0.5);
  ASSERT_EQ(PtrResult->MbrLngXDim, 16);
  ASSERT_EQ(PtrResult->MbrLngYDim, 12);
  EXPECT_EQ(PtrResult->MbrDblNoDataValue, -1);
  // Samples x = 11, 11.5 .. 16.5 and y = 24.5, 24 .. 21 fall on the south-west corners of
  // columns 2-13 and rows 2-9; the band outside keeps the source's marker.
  for (long LngY = 0; LngY < 12; ++LngY) {
    for (long LngX = 0; LngX < 16; ++LngX) {
      SCOPED_TRACE(testing::Message() << LngX << ", " << LngY);
      const bool BlnSampled = LngX >= 2 && LngX <= 13 && LngY >= 2 && LngY <= 9;
      const double DblX = 10 + 0.5 * static_cast<double>(LngX);
      const double DblY = 26 - 0.5 * static_cast<double>(LngY + 1);
      EXPECT_EQ(PtrResult->GetPointVal(LngX, LngY), BlnSampled ? 2 * DblX + 3 * DblY + 1 : -1);
    }
  }
}

TEST(TMapTools, BilinearInterpolateMapPicksTheEnclosingCentres) {
  // Column values 0, 10, 100, 1000, 10000 plus row values 0, 20, 200 (rows from the north):
  // a pair off by one cell would extrapolate from the wrong neighbours.
  const std::vector<double> Cols = {0, 10, 100, 1000, 10000};
  const std::vector<double> RowVals = {0, 20, 200};
  auto Rows = Filled(5, 3, 0.0);
  for (std::size_t SizeY = 0; SizeY < 3; ++SizeY) {
    for (std::size_t SizeX = 0; SizeX < 5; ++SizeX)
      Rows[SizeY][SizeX] = Cols[SizeX] + RowVals[SizeY];
  }
  auto PtrSource = MakeGrid(0, 0, 1, Rows);  // centres x 0.5 .. 4.5, y 2.5, 1.5, 0.5
  auto PtrResult = Interpolate(PtrSource.get(), 0.25);
  // Result column c holds the sample x = c / 4; row r the sample y = 3 - (r + 1) / 4.
  struct TCase {
    long LngCol, LngRow;
    double DblExpected;
  };
  // result column, result row, expected (x part + y part)
  const TCase Cases[] = {
      {5, 4, 7.5 + 15},    // x 1.25 between centres 0.5 and 1.5; y 1.75 between 2.5 and 1.5
      {6, 4, 10 + 15},     // x 1.5 on a centre
      {7, 4, 32.5 + 15},   // x 1.75 between 1.5 and 2.5
      {5, 6, 7.5 + 65},    // y 1.25 between 1.5 and 0.5
      {5, 7, 7.5 + 110},   // y 1.0 on the edge between rows 1 and 2
      {14, 5, 1000 + 20},  // x 3.5 on a centre, pair 2.5 and 3.5; y 1.5 on a centre
      {15, 5, 3250 + 20},  // x 3.75 between 3.5 and 4.5
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(testing::Message() << Case.LngCol << ", " << Case.LngRow);
    EXPECT_DOUBLE_EQ(PtrResult->GetPointVal(Case.LngCol, Case.LngRow), Case.DblExpected);
  }
}

TEST(TMapTools, BilinearInterpolateMapKeepsNoDataOfSourceAndUsesMarkersAsNumbers) {
  auto PtrSource = MakeGrid(0, 0, 1, {{1, 1, 1}, {1, -1, 1}, {1, 1, 1}}, -1.0);
  auto PtrResult = Interpolate(PtrSource.get(), 0.5);
  EXPECT_EQ(PtrResult->MbrDblNoDataValue, -1);
  EXPECT_EQ(PtrResult->GetPointVal(0, 0), -1);
  EXPECT_EQ(PtrResult->GetPointVal(5, 5), -1);
  // Sample (1, 1) in cell (2, 3) lies halfway between columns 0, 1 and rows 1, 2: the marker
  // -1 at (1, 1) counts as a number with weight 1/4. Sample (1, 1.5) in cell (2, 2) lies on
  // row 1's centre: half of it.
  EXPECT_DOUBLE_EQ(PtrResult->GetPointVal(2, 3), 0.5);
  EXPECT_DOUBLE_EQ(PtrResult->GetPointVal(2, 2), 0.0);
  // A source at -9999 gives a result that declares -9999 too.
  auto PtrDefault = MakeGrid(0, 0, 1, Filled(3, 3, 2.0));
  EXPECT_EQ(Interpolate(PtrDefault.get(), 0.5)->MbrDblNoDataValue, -9999);
}

TEST(TMapTools, BilinearInterpolateMapWithoutSamplesLeavesAllMarkers) {
  auto PtrSource = MakeGrid(0, 0, 1, Filled(4, 4, 3.0), -2.0);
  auto PtrResult = Interpolate(PtrSource.get(), 3);  // 1 x 1: no x between W + 1 and E - 4
  EXPECT_EQ(PtrResult->MbrVecRows, Filled(1, 1, -2.0));
  EXPECT_EQ(PtrResult->MbrDblNoDataValue, -2);
}

TEST(TMapTools, BilinearInterpolateMapMessages) {
  const auto Rows = Filled(4, 4, 1.0);
  auto PtrSource = MakeGrid(0, 0, 1, Rows);
  // Uneven edges put a sample's enclosing centres outside the source.
  auto PtrX1 = MakeOnEdges({0, 2.5, 3, 3.5, 4}, {4, 3, 2, 1, 0}, 1, Rows);
  auto PtrX2 = MakeOnEdges({0, 1, 1.2, 1.4, 2.1}, {4, 3, 2, 1, 0}, 1, Rows);
  auto PtrY1 = MakeOnEdges({0, 1, 2, 3, 4}, {4, -0.5, -1, -1.5, -2}, 1, Rows);
  auto PtrY2 = MakeOnEdges({0, 1, 2, 3, 4}, {4, 3.8, 3.6, 3, 0.5}, 1, Rows);
  // X1 and Y1 fail at the same sample: the column is checked first.
  auto PtrX1Y1 = MakeOnEdges({0, 2.5, 3, 3.5, 4}, {4, -0.5, -1, -1.5, -2}, 1, Rows);
  // One row: the first y of a column (always sampled) lies south of the result.
  auto PtrOneRow = MakeGrid(0, 0, 1, Filled(3, 1, 1.0));
  struct TCase {
    const TMap* PtrMap;
    double DblS;
    const char* Text;
  };
  // source, new cell size, message
  const TCase Cases[] = {
      {PtrSource.get(), 0.0, "New resolution cannot be <= 0.0 in TMapTools::BilinearInterpolate"},
      {PtrSource.get(), -1.0, "New resolution cannot be <= 0.0 in TMapTools::BilinearInterpolate"},
      {PtrSource.get(), NaN, "New resolution cannot be <= 0.0 in TMapTools::BilinearInterpolate"},
      {PtrSource.get(), -Inf, "New resolution cannot be <= 0.0 in TMapTools::BilinearInterpolate"},
      {PtrSource.get(), 5.0, "Index is out of range in TAxis::GetPoint"},
      {PtrSource.get(), 1e-300, "Result grid is too large in TMapTools::Downscale"},
      {PtrX1.get(), 1.0, "LngGetX1 is out of range in TMapTools::BilinearInterpolate"},
      {PtrX2.get(), 1.0, "LngGetX2 is out of range in TMapTools::BilinearInterpolate"},
      {PtrY1.get(), 1.0, "LngGetY1 is out of range in TMapTools::BilinearInterpolate"},
      {PtrY2.get(), 1.0, "LngGetY2 is out of range in TMapTools::BilinearInterpolate"},
      {PtrX1Y1.get(), 1.0, "LngGetX1 is out of range in TMapTools::BilinearInterpolate"},
      {PtrOneRow.get(), 1.0, "Ordinate is out of range in TAxis::GetIndex"},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Text);
    EXPECT_THROW_MSG(TMapTools::BilinearInterpolate(Case.PtrMap, Case.DblS), Case.Text);
    if (Case.DblS > 0 && Case.DblS < 2) {
      // The sample-by-sample lookups fail the same way.
      EXPECT_EQ(ThrownText([&] { InterpolateSampleBySample(Case.PtrMap, Case.DblS); }), Case.Text);
    }
  }
}

TEST(TMapTools, BilinearInterpolateMapMatchesSampleBySampleLookups) {
  auto PtrSource = MakeGrid(500000.3, 4000000.7, 30, Irregular(23, 17), -3.0);
  // Rows running south to north, built on centre axes (the edges 0 .. 5 follow from them).
  auto PtrXCentres = MakeAxis({0.5, 1.5, 2.5, 3.5, 4.5, 5.5}, 'X', 1.0, 0.0);
  auto PtrYCentres = MakeAxis({0.5, 1.5, 2.5, 3.5, 4.5}, 'Y', 1.0, 0.0);
  auto PtrAscending = std::make_unique<TMap>(PtrXCentres.get(), PtrYCentres.get());
  PtrAscending->MbrVecRows = Irregular(6, 5);
  ASSERT_EQ(Ordinates(*PtrAscending->MbrPtrYAxisInterval, 'Y'),
            (std::vector<double>{0, 1, 2, 3, 4, 5}));
  for (const TMap* PtrMap : {PtrSource.get(), PtrAscending.get()}) {
    const double DblR = PtrMap->MbrDblResolution;
    for (double DblFactor : {0.1, 0.25, 0.43, 0.5, 0.997, 1.0, 1.5, 2.0}) {
      const double DblS = DblR * DblFactor;
      SCOPED_TRACE(DblS);
      auto PtrFast = Interpolate(PtrMap, DblS);
      auto PtrSlow = InterpolateSampleBySample(PtrMap, DblS);
      EXPECT_EQ(PtrFast->MbrLngXDim, PtrSlow->MbrLngXDim);
      EXPECT_EQ(PtrFast->MbrLngYDim, PtrSlow->MbrLngYDim);
      EXPECT_EQ(PtrFast->MbrVecRows, PtrSlow->MbrVecRows);
      EXPECT_EQ(PtrFast->MbrDblNoDataValue, PtrMap->MbrDblNoDataValue);
    }
  }
}
