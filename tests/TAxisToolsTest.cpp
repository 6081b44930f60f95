#include <gtest/gtest.h>

#include <memory>

#include "ErrorText.h"
#include "MapFixtures.h"
#include "TAxisTools.h"

using gridclip_test::MakeAxis;
using gridclip_test::Ordinates;

namespace {
std::vector<double> Others(const TAxis& Axis, char ChrAxis) {
  return Ordinates(Axis, ChrAxis == 'X' ? 'Y' : 'X');
}
}  // namespace

TEST(TAxisTools, PointsToIntervalsBuildsEdges) {
  struct Case {
    std::vector<double> Centres;
    char ChrAxis;
    double DblResolution;
    double DblOther;            // the shared other coordinate of the centres
    std::vector<double> Edges;  // expected edges along the axis
    double DblOtherEdge;        // expected shared other coordinate of the edges
  };
  const Case Cases[] = {
      {{0.5, 1.5, 2.5}, 'X', 1, 10, {0, 1, 2, 3}, 9.5},
      {{2.5, 1.5, 0.5}, 'Y', 1, 0, {3, 2, 1, 0}, -0.5},
      {{0.5, 1.5}, 'Y', 1, 0, {0, 1, 2}, -0.5},
      {{2.5, 1.5, 0.5}, 'X', 1, 0, {2, 3, 4, 5}, -0.5},
      {{0, 2, 4}, 'X', 1, 0, {-0.5, 0.5, 1.5, 2.5}, -0.5},  // the step is the resolution
      {{5}, 'X', 2, 1, {4, 6}, 0},
      {{5}, 'Y', 2, 1, {6, 4}, 0},  // one Y centre: edges run north to south
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(::testing::Message() << C.ChrAxis << " first centre " << C.Centres.front());
    auto PtrCentres = MakeAxis(C.Centres, C.ChrAxis, C.DblResolution, C.DblOther);
    std::unique_ptr<TAxis> PtrEdges(TAxisTools::PointsToIntervals(PtrCentres.get(), C.ChrAxis));
    EXPECT_EQ(Ordinates(*PtrEdges, C.ChrAxis), C.Edges);
    EXPECT_EQ(Others(*PtrEdges, C.ChrAxis), std::vector<double>(C.Edges.size(), C.DblOtherEdge));
    EXPECT_EQ(PtrEdges->MbrDblResolution, C.DblResolution);
  }
}

TEST(TAxisTools, PointsToIntervalsUsesRunningSums) {
  auto PtrCentres = MakeAxis({0.35, 0.45, 0.55, 0.65}, 'X', 0.1);
  std::unique_ptr<TAxis> PtrEdges(TAxisTools::PointsToIntervals(PtrCentres.get(), 'X'));
  double DblExpected = 0.35 - 0.05;
  for (long LngI = 0; LngI < PtrEdges->GetSize(); ++LngI, DblExpected += 0.1) {
    EXPECT_EQ(PtrEdges->GetPoint(LngI)->MbrDblX, DblExpected) << LngI;
  }
}

TEST(TAxisTools, IntervalsToPointsBuildsCentres) {
  struct Case {
    std::vector<double> Edges;
    char ChrAxis;
    double DblOther;
    std::vector<double> Centres;
    std::vector<double> OtherCentres;
  };
  const Case Cases[] = {
      {{0, 1, 2, 3}, 'X', 9.5, {0.5, 1.5, 2.5}, {9.5, 9.5, 9.5}},
      {{3, 2, 1, 0}, 'Y', -0.5, {2.5, 1.5, 0.5}, {-0.5, -0.5, -0.5}},
      {{0, 1, 2}, 'Y', 0, {-0.5, 0.5}, {0, 0}},  // half a gap below each lower edge
      {{4}, 'X', 0, {}, {}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(::testing::Message() << C.ChrAxis << " first edge " << C.Edges.front());
    auto PtrEdges = MakeAxis(C.Edges, C.ChrAxis, 1.0, C.DblOther);
    std::unique_ptr<TAxis> PtrCentres(TAxisTools::IntervalsToPoints(PtrEdges.get(), C.ChrAxis));
    EXPECT_EQ(Ordinates(*PtrCentres, C.ChrAxis), C.Centres);
    EXPECT_EQ(Others(*PtrCentres, C.ChrAxis), C.OtherCentres);
  }
}

TEST(TAxisTools, ConversionsOfAnEmptyAxisThrow) {
  TAxis Empty(1.0);
  EXPECT_THROW_MSG(TAxisTools::PointsToIntervals(&Empty, 'X'),
                   "Index is out of range in TAxis::GetPoint");
  EXPECT_THROW_MSG(TAxisTools::IntervalsToPoints(&Empty, 'Y'),
                   "Index is out of range in TAxis::GetPoint");
}

TEST(TAxisTools, ConversionsGivePlainPoints) {
  TAxis Centres(1.0);
  Centres.AddPoint(new TMapPoint(0.5, 0));
  Centres.AddPoint(new TMapPoint(1.5, 0));
  std::unique_ptr<TAxis> PtrEdges(TAxisTools::PointsToIntervals(&Centres, 'X'));
  std::unique_ptr<TAxis> PtrBack(TAxisTools::IntervalsToPoints(PtrEdges.get(), 'X'));
  EXPECT_EQ(dynamic_cast<TMapPoint*>(PtrEdges->GetPoint(0)), nullptr);
  EXPECT_EQ(Ordinates(*PtrBack, 'X'), (std::vector<double>{0.5, 1.5}));
}
