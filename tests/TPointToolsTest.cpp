#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <utility>
#include <vector>

#include "TPointTools.h"

namespace {

using TCoords = std::vector<std::pair<double, double>>;

/// Points the test owns, with the raw list the tools take.
struct TPointList {
  explicit TPointList(const TCoords& VecCoords) {
    for (const auto& Coord : VecCoords) {
      VecOwned.emplace_back(new TPoint(Coord.first, Coord.second));
      VecRaw.push_back(VecOwned.back().get());
    }
  }
  std::vector<std::unique_ptr<TPoint>> VecOwned;
  std::vector<TPoint*> VecRaw;
};

/// Takes over the points a hull returns and gives their coordinates.
TCoords TakeHull(std::vector<TPoint*> VecHull) {
  std::vector<std::unique_ptr<TPoint>> VecOwned(VecHull.begin(), VecHull.end());
  TCoords VecCoords;
  for (const auto& PtrPoint : VecOwned)
    VecCoords.emplace_back(PtrPoint->MbrDblX, PtrPoint->MbrDblY);
  return VecCoords;
}

const double DblNaN = std::numeric_limits<double>::quiet_NaN();

}  // namespace

TEST(TPointTools, MaxAndMinChooseEachCoordinateAlone) {
  TPoint PointA(1, 5);
  TPoint PointB(3, 2);
  const std::unique_ptr<TPoint> PtrMax(TPointTools::Max(&PointA, &PointB));
  const std::unique_ptr<TPoint> PtrMin(TPointTools::Min(&PointA, &PointB));
  EXPECT_EQ(PtrMax->MbrDblX, 3);
  EXPECT_EQ(PtrMax->MbrDblY, 5);
  EXPECT_EQ(PtrMin->MbrDblX, 1);
  EXPECT_EQ(PtrMin->MbrDblY, 2);
  EXPECT_NE(PtrMax.get(), &PointA);
  EXPECT_NE(PtrMax.get(), &PointB);
  EXPECT_EQ(PointA.MbrDblX, 1);
  EXPECT_EQ(PointB.MbrDblY, 2);
}

TEST(TPointTools, MaxAndMinKeepFirstValueOnNaN) {
  TPoint PointA(DblNaN, 4);
  TPoint PointB(7, DblNaN);
  const std::unique_ptr<TPoint> PtrMax(TPointTools::Max(&PointA, &PointB));
  const std::unique_ptr<TPoint> PtrMin(TPointTools::Min(&PointA, &PointB));
  EXPECT_TRUE(std::isnan(PtrMax->MbrDblX));
  EXPECT_EQ(PtrMax->MbrDblY, 4);
  EXPECT_TRUE(std::isnan(PtrMin->MbrDblX));
  EXPECT_EQ(PtrMin->MbrDblY, 4);
}

TEST(TPointTools, MaxOfMapPointsIsPlainPoint) {
  TMapPoint PointA(1, 1);
  TMapPoint PointB(2, 2);
  const std::unique_ptr<TPoint> PtrMax(TPointTools::Max(&PointA, &PointB));
  EXPECT_EQ(dynamic_cast<TMapPoint*>(PtrMax.get()), nullptr);
}

TEST(TPointTools, FindCentroidIsMeanOfPoints) {
  TPointList Triangle({{0, 0}, {2, 0}, {2, 2}});
  const std::unique_ptr<TPoint> PtrCentre(TPointTools::FindCentroid(Triangle.VecRaw));
  EXPECT_DOUBLE_EQ(PtrCentre->MbrDblX, 4.0 / 3.0);
  EXPECT_DOUBLE_EQ(PtrCentre->MbrDblY, 2.0 / 3.0);

  const std::unique_ptr<TPoint> PtrEmpty(TPointTools::FindCentroid({}));
  EXPECT_TRUE(std::isnan(PtrEmpty->MbrDblX));
  EXPECT_TRUE(std::isnan(PtrEmpty->MbrDblY));
}

TEST(TPointTools, ThetaOrdersDirectionsCounterClockwise) {
  struct TCase {
    double DblX, DblY, DblExpected;
  };
  // direction (x, y) from the origin, expected pseudo-angle
  const std::vector<TCase> VecCases = {
      {1, 0, 0},     {1, 1, 45},   {2, 1, 30},   {0, 1, 90}, {-1, 1, 135},           {-1, 0, 180},
      {-1, -1, 225}, {0, -1, 270}, {1, -1, 315}, {0, 0, 0},  {1, -1e-9, 360 - 9e-8},
  };
  TPoint Origin(0, 0);
  for (const TCase& Case : VecCases) {
    SCOPED_TRACE(testing::Message() << "(" << Case.DblX << ", " << Case.DblY << ")");
    TPoint Target(Case.DblX, Case.DblY);
    const double DblTheta = TPointTools::Theta(&Target, &Origin);
    EXPECT_NEAR(DblTheta, Case.DblExpected, 1e-9);
    EXPECT_LT(DblTheta, 360.0);
  }
  // Measured from b to a, not from the origin.
  TPoint PointA(3, 5);
  TPoint PointB(4, 5);
  EXPECT_EQ(TPointTools::Theta(&PointA, &PointB), 180.0);
  EXPECT_EQ(TPointTools::Theta(&PointB, &PointA), 0.0);
}

TEST(TPointTools, HeronGivesTriangleArea) {
  TPoint PointA(0, 0);
  TPoint PointB(4, 0);
  TPoint PointC(0, 3);
  EXPECT_DOUBLE_EQ(TPointTools::Heron(&PointA, &PointB, &PointC), 6.0);
  EXPECT_DOUBLE_EQ(TPointTools::Heron(&PointC, &PointA, &PointB), 6.0);
  TPoint PointMid(2, 0);
  EXPECT_EQ(TPointTools::Heron(&PointA, &PointMid, &PointB), 0.0);
}

TEST(TPointTools, FindConvexPolygonAreaCoversWholePolygon) {
  struct TCase {
    TCoords VecVertices;
    double DblExpected;
  };
  // vertices in order, expected area
  const std::vector<TCase> VecCases = {
      {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}, 1.0},
      {{{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}}, 1.0},
      {{{0, 1}, {1, 1}, {1, 0}, {0, 0}}, 1.0},
      {{{0, 0}, {4, 0}, {0, 3}}, 6.0},
      {{{0, 0}, {2, 0}, {3, 1}, {2, 2}, {0, 2}}, 5.0},
      {{{5, 5}}, 0.0},
      {{}, 0.0},
  };
  for (const TCase& Case : VecCases) {
    SCOPED_TRACE(testing::PrintToString(Case.VecVertices));
    TPointList Polygon(Case.VecVertices);
    EXPECT_NEAR(TPointTools::FindConvexPolygonArea(Polygon.VecRaw), Case.DblExpected, 1e-12);
  }
}

TEST(TPointTools, FindConvexHullGivesExtremeVerticesCounterClockwiseFromLowest) {
  struct TCase {
    TCoords VecPoints;
    TCoords VecExpected;
  };
  // points, expected hull
  const std::vector<TCase> VecCases = {
      // Interior point dropped; the first listed of the two lowest vertices starts.
      {{{0.5, 0.5}, {1, 0}, {1, 1}, {0, 1}, {0.3, 0}}, {{1, 0}, {1, 1}, {0, 1}, {0.3, 0}}},
      {{{0.5, 0.5}, {0.3, 0}, {1, 0}, {1, 1}, {0, 1}}, {{0.3, 0}, {1, 0}, {1, 1}, {0, 1}}},
      // Points on the horizontal through the start are kept.
      {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}, {{0, 0}, {1, 0}, {1, 1}, {0, 1}}},
      {{{1, 0}, {0, 0}, {1, 1}, {0, 1}}, {{1, 0}, {1, 1}, {0, 1}, {0, 0}}},
      {{{0, 1}, {1, 1}, {1, 0}, {0, 0}}, {{1, 0}, {1, 1}, {0, 1}, {0, 0}}},
      // The lowest listed point lies inside the bottom edge, so it is no vertex.
      {{{0.5, 0}, {1, 1}, {1, 0}, {0, 0}}, {{1, 0}, {1, 1}, {0, 0}}},
      // Points on an edge are left out.
      {{{0, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 2}, {1, 1}, {0, 2}, {0, 1}},
       {{0, 0}, {2, 0}, {2, 2}, {0, 2}}},
      // Few points.
      {{{3, 4}}, {{3, 4}}},
      {{{0, 1}, {5, 0}}, {{5, 0}, {0, 1}}},
      {{{0, 0}, {1, 0}}, {{0, 0}, {1, 0}}},
      {{{1, 0}, {0, 0}}, {{1, 0}, {0, 0}}},
      {{}, {}},
      // Points on one line give the two ends, whatever their order.
      {{{0, 0}, {1, 1}, {2, 2}}, {{0, 0}, {2, 2}}},
      {{{0, 0}, {2, 2}, {1, 1}}, {{0, 0}, {2, 2}}},
      {{{2, 2}, {1, 1}, {0, 0}}, {{0, 0}, {2, 2}}},
      {{{1, 0}, {3, 0}, {0, 0}, {2, 0}}, {{3, 0}, {0, 0}}},
      {{{0, 3}, {0, 1}, {0, 2}}, {{0, 1}, {0, 3}}},
      // Points listed more than once appear once.
      {{{0, 0}, {1, 0}, {0, 1}, {0, 0}}, {{0, 0}, {1, 0}, {0, 1}}},
      {{{1, 1}, {0, 0}, {1, 1}, {2, 0}, {2, 0}}, {{0, 0}, {2, 0}, {1, 1}}},
      {{{4, 4}, {4, 4}, {4, 4}}, {{4, 4}}},
  };
  for (const TCase& Case : VecCases) {
    SCOPED_TRACE(testing::PrintToString(Case.VecPoints));
    TPointList Points(Case.VecPoints);
    EXPECT_EQ(TakeHull(TPointTools::FindConvexHull(Points.VecRaw)), Case.VecExpected);
  }
}

TEST(TPointTools, FindConvexHullCopiesFirstListingAndLeavesInputIntact) {
  TMapPoint PointA(0, 0);
  TMapPoint PointB(2, 0);
  TMapPoint PointC(1, 2);
  TMapPoint PointCopyOfA(0, 0);
  PointA.MbrDblValue = 1;
  PointB.MbrDblValue = 2;
  PointC.MbrDblValue = 3;
  PointCopyOfA.MbrDblValue = 4;
  std::vector<std::unique_ptr<TPoint>> VecHull;
  for (TPoint* PtrPoint : TPointTools::FindConvexHull({&PointCopyOfA, &PointB, &PointC, &PointA}))
    VecHull.emplace_back(PtrPoint);
  ASSERT_EQ(VecHull.size(), 3u);
  const std::vector<double> VecExpectedValues = {4, 2, 3};
  for (size_t SizI = 0; SizI < VecHull.size(); ++SizI) {
    SCOPED_TRACE(SizI);
    auto* PtrMapPoint = dynamic_cast<TMapPoint*>(VecHull[SizI].get());
    ASSERT_NE(PtrMapPoint, nullptr);
    EXPECT_EQ(PtrMapPoint->MbrDblValue, VecExpectedValues[SizI]);
  }
  EXPECT_NE(VecHull[0].get(), &PointCopyOfA);
  VecHull.clear();
  EXPECT_EQ(PointCopyOfA.MbrDblX, 0);
  EXPECT_EQ(PointB.MbrDblX, 2);
  EXPECT_EQ(PointC.MbrDblValue, 3);
}

namespace {

double Cross(const std::pair<double, double>& PairO, const std::pair<double, double>& PairA,
             const std::pair<double, double>& PairB) {
  return (PairA.first - PairO.first) * (PairB.second - PairO.second) -
         (PairA.second - PairO.second) * (PairB.first - PairO.first);
}

/// Monotone-chain hull of integer points (exact): strictly convex vertices, counter-clockwise,
/// rotated to start at the lowest vertex listed first.
TCoords ReferenceHull(const TCoords& VecPoints) {
  TCoords VecSorted = VecPoints;
  std::sort(VecSorted.begin(), VecSorted.end());
  VecSorted.erase(std::unique(VecSorted.begin(), VecSorted.end()), VecSorted.end());
  if (VecSorted.size() < 2) return VecSorted;
  TCoords VecHull(2 * VecSorted.size());
  size_t SizK = 0;
  for (size_t SizI = 0; SizI < VecSorted.size(); ++SizI) {
    while (SizK >= 2 && Cross(VecHull[SizK - 2], VecHull[SizK - 1], VecSorted[SizI]) <= 0) --SizK;
    VecHull[SizK++] = VecSorted[SizI];
  }
  for (size_t SizI = VecSorted.size() - 1, SizLower = SizK + 1; SizI > 0; --SizI) {
    while (SizK >= SizLower &&
           Cross(VecHull[SizK - 2], VecHull[SizK - 1], VecSorted[SizI - 1]) <= 0)
      --SizK;
    VecHull[SizK++] = VecSorted[SizI - 1];
  }
  VecHull.resize(SizK - 1);
  auto Listed = [&](const std::pair<double, double>& Pair) {
    return std::find(VecPoints.begin(), VecPoints.end(), Pair) - VecPoints.begin();
  };
  size_t SizStart = 0;
  for (size_t SizI = 1; SizI < VecHull.size(); ++SizI) {
    if (VecHull[SizI].second < VecHull[SizStart].second ||
        (VecHull[SizI].second == VecHull[SizStart].second &&
         Listed(VecHull[SizI]) < Listed(VecHull[SizStart])))
      SizStart = SizI;
  }
  std::rotate(VecHull.begin(), VecHull.begin() + static_cast<long>(SizStart), VecHull.end());
  return VecHull;
}

}  // namespace

TEST(TPointTools, FindConvexHullMatchesExactHullOnRandomGridPoints) {
  std::mt19937 Generator(20240521);
  for (int IntRound = 0; IntRound < 300; ++IntRound) {
    const int IntSpan = 2 + IntRound % 7;
    std::uniform_int_distribution<int> Coordinate(-IntSpan, IntSpan);
    std::uniform_int_distribution<int> Count(1, 25);
    TCoords VecCoords;
    for (int IntI = Count(Generator); IntI > 0; --IntI)
      VecCoords.emplace_back(Coordinate(Generator), Coordinate(Generator));
    SCOPED_TRACE(testing::PrintToString(VecCoords));
    TPointList Points(VecCoords);
    EXPECT_EQ(TakeHull(TPointTools::FindConvexHull(Points.VecRaw)), ReferenceHull(VecCoords));
  }
}
