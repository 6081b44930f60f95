#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "ErrorText.h"
#include "MapFixtures.h"
#include "TAxis.h"

using gridclip_test::MakeAxis;
using gridclip_test::Ordinates;

namespace {
constexpr const char* OutOfRange = "Ordinate is out of range in TAxis::GetIndex";
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// The first segment holding the ordinate, by the plain linear scan; -1 when none does.
long LinearIndex(const std::vector<double>& Values, double DblOrdinate) {
  for (std::size_t I = 0; I + 1 < Values.size(); ++I) {
    const double Lo = std::min(Values[I], Values[I + 1]);
    const double Hi = std::max(Values[I], Values[I + 1]);
    if (Lo <= DblOrdinate && DblOrdinate < Hi) return static_cast<long>(I);
  }
  return -1;
}
}  // namespace

TEST(TAxis, GetIndexFindsSegments) {
  struct Case {
    std::vector<double> Values;
    char ChrAxis;
    double DblOrdinate;
    long LngExpected;  // -1: out of range
  };
  const Case Cases[] = {
      // increasing edge axis
      {{0, 10, 20, 30}, 'X', 0, 0},
      {{0, 10, 20, 30}, 'X', 5, 0},
      {{0, 10, 20, 30}, 'X', 10, 1},
      {{0, 10, 20, 30}, 'X', 29.999, 2},
      {{0, 10, 20, 30}, 'X', 30, 2},  // larger end: the last segment
      {{0, 10, 20, 30}, 'X', -0.001, -1},
      {{0, 10, 20, 30}, 'X', 30.001, -1},
      {{0, 10, 20, 30}, 'X', NaN, -1},
      // decreasing edge axis: a border belongs to the northern row
      {{30, 20, 10, 0}, 'Y', 25, 0},
      {{30, 20, 10, 0}, 'Y', 20, 0},
      {{30, 20, 10, 0}, 'Y', 10, 1},
      {{30, 20, 10, 0}, 'Y', 5, 2},
      {{30, 20, 10, 0}, 'Y', 0, 2},
      {{30, 20, 10, 0}, 'Y', 30, 0},  // larger end: segment 0
      {{30, 20, 10, 0}, 'Z', 25, 0},  // any letter but 'X' reads y
      // an empty segment holds nothing
      {{0, 10, 10, 20}, 'X', 10, 2},
      {{20, 10, 10, 0}, 'Y', 10, 0},
      // not monotonic: only the ends bound the range, the first segment wins
      {{0, 50, 10}, 'X', 5, 0},
      {{0, 50, 10}, 'X', 10, 0},
      {{0, 50, 10}, 'X', 30, -1},
      {{0, 5, 3, 10}, 'X', 4, 0},
      {{0, 5, 3, 10}, 'X', 10, 2},
      {{10, 3, 5, 0}, 'X', 10, 0},
      // one point
      {{7}, 'X', 7, 0},
      {{7}, 'X', 8, -1},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(::testing::Message() << "ordinate " << C.DblOrdinate << " axis " << C.ChrAxis
                                      << " first " << C.Values.front());
    auto PtrAxis = MakeAxis(C.Values, C.ChrAxis == 'X' ? 'X' : 'Y');
    if (C.LngExpected < 0) {
      EXPECT_THROW_MSG(PtrAxis->GetIndex(C.DblOrdinate, C.ChrAxis), OutOfRange);
    } else {
      EXPECT_EQ(PtrAxis->GetIndex(C.DblOrdinate, C.ChrAxis), C.LngExpected);
    }
  }
}

TEST(TAxis, GetIndexOnEmptyAxisIsOutOfRange) {
  TAxis Empty(1.0);
  EXPECT_THROW_MSG(Empty.GetIndex(0.0, 'X'), OutOfRange);
}

TEST(TAxis, GetIndexReadsTheLetterOrdinateOnly) {
  // x rises while y falls: the letter decides which one is searched.
  TAxis Axis(1.0);
  for (int I = 0; I < 4; ++I) Axis.AddPoint(new TPoint(I, 10 - I));
  EXPECT_EQ(Axis.GetIndex(1.5, 'X'), 1);
  EXPECT_EQ(Axis.GetIndex(9.5, 'Y'), 0);
  EXPECT_EQ(Axis.GetIndex(7, 'Y'), 2);
}

TEST(TAxis, GetIndexMatchesLinearScanOnRoundedRunningSums) {
  // Edges built by running sums of 0.1 carry rounding; the lookup must still agree with the
  // linear scan on every edge and midpoint, on both directions.
  std::vector<double> Up;
  double DblX = 0.3;
  for (int I = 0; I <= 1000; ++I, DblX += 0.1) Up.push_back(DblX);
  std::vector<double> Down(Up.rbegin(), Up.rend());
  for (const auto* PtrValues : {&Up, &Down}) {
    auto PtrAxis = MakeAxis(*PtrValues, 'X');
    for (std::size_t I = 0; I < PtrValues->size(); ++I) {
      const double DblEdge = (*PtrValues)[I];
      long LngExpected = LinearIndex(*PtrValues, DblEdge);
      if (LngExpected < 0) LngExpected = PtrValues == &Up ? 999 : 0;
      ASSERT_EQ(PtrAxis->GetIndex(DblEdge, 'X'), LngExpected) << I;
      if (I + 1 < PtrValues->size()) {
        const double DblMid = (DblEdge + (*PtrValues)[I + 1]) / 2;
        ASSERT_EQ(PtrAxis->GetIndex(DblMid, 'X'), LinearIndex(*PtrValues, DblMid)) << I;
      }
    }
  }
}

TEST(TAxis, GetIndexFollowsPointsReplacedBySetPoint) {
  auto PtrAxis = MakeAxis({0, 10, 20, 30}, 'X');
  EXPECT_EQ(PtrAxis->GetIndex(15, 'X'), 1);
  // The axis stops being monotonic: the lookup must notice.
  PtrAxis->SetPoint(1, new TPoint(25, 0));
  EXPECT_EQ(PtrAxis->GetIndex(15, 'X'), 0);
  EXPECT_EQ(PtrAxis->GetIndex(22, 'X'), 0);
}

TEST(TAxis, GetPointLendsAndChecksRange) {
  auto PtrAxis = MakeAxis({1, 2}, 'X');
  EXPECT_EQ(PtrAxis->GetPoint(1)->MbrDblX, 2);
  EXPECT_EQ(PtrAxis->GetPoint(0), PtrAxis->GetPoint(0));
  EXPECT_THROW_MSG(PtrAxis->GetPoint(2), "Index is out of range in TAxis::GetPoint");
  EXPECT_THROW_MSG(PtrAxis->GetPoint(-1), "Index is out of range in TAxis::GetPoint");
  TAxis Slots(1.0, 3);
  EXPECT_EQ(Slots.GetSize(), 3);
  EXPECT_EQ(Slots.GetPoint(2), nullptr);
}

TEST(TAxis, SetPointTakesOverAndChecksRange) {
  TAxis Axis(1.0, 2);
  auto PtrPoint = std::make_unique<TPoint>(1, 1);
  EXPECT_THROW_MSG(Axis.SetPoint(2, PtrPoint.get()), "Index is out of range in TAxis::SetPoint");
  EXPECT_THROW_MSG(Axis.SetPoint(-1, PtrPoint.get()), "Index is out of range in TAxis::SetPoint");
  Axis.SetPoint(0, PtrPoint.release());  // the caller's point is still valid after the failures
  Axis.SetPoint(0, new TPoint(2, 2));    // replaces and deletes the former point
  EXPECT_EQ(Axis.GetPoint(0)->MbrDblX, 2);
  TPoint* PtrSame = Axis.GetPoint(0);
  Axis.SetPoint(0, PtrSame);  // the same pointer again changes nothing
  EXPECT_EQ(Axis.GetPoint(0), PtrSame);
  EXPECT_EQ(PtrSame->MbrDblX, 2);
}

TEST(TAxis, GetSegmentCopiesARunOfPoints) {
  auto PtrAxis = MakeAxis({0, 10, 20, 30}, 'X', 2.5);
  std::unique_ptr<TAxis> PtrSegment(PtrAxis->GetSegment(1, 2));
  EXPECT_EQ(Ordinates(*PtrSegment, 'X'), (std::vector<double>{10, 20}));
  EXPECT_EQ(PtrSegment->MbrDblResolution, 2.5);
  EXPECT_NE(PtrSegment->GetPoint(0), PtrAxis->GetPoint(1));
  std::unique_ptr<TAxis> PtrOne(PtrAxis->GetSegment(2, 2));
  EXPECT_EQ(Ordinates(*PtrOne, 'X'), (std::vector<double>{20}));
}

TEST(TAxis, GetSegmentChecksInOrder) {
  auto PtrAxis = MakeAxis({0, 10, 20, 30}, 'X');
  EXPECT_THROW_MSG(PtrAxis->GetSegment(2, 1),
                   "Start index is greater than end index in TAxis::GetSegment");
  EXPECT_THROW_MSG(PtrAxis->GetSegment(-1, 9), "Start index is out of range in TAxis::GetSegment");
  EXPECT_THROW_MSG(PtrAxis->GetSegment(4, 4), "Start index is out of range in TAxis::GetSegment");
  EXPECT_THROW_MSG(PtrAxis->GetSegment(0, 4), "End index is out of range in TAxis::GetSegment");
  EXPECT_THROW_MSG(PtrAxis->GetSegment(0, -1), "End index is out of range in TAxis::GetSegment");
}

TEST(TAxis, GetSegmentByPoints) {
  auto PtrAxis = MakeAxis({0, 10, 20, 30}, 'X');
  TPoint P5(5, 99);
  TPoint P25(25, -99);
  TPoint POut(-1, 0);
  std::unique_ptr<TAxis> PtrSegment(PtrAxis->GetSegment(&P5, &P25, 'X'));
  EXPECT_EQ(Ordinates(*PtrSegment, 'X'), (std::vector<double>{0, 10, 20}));
  EXPECT_THROW_MSG(PtrAxis->GetSegment(&P25, &P5, 'X'),
                   "Start index is greater than end index in TAxis::GetSegment");
  EXPECT_THROW_MSG(PtrAxis->GetSegment(&POut, &P5, 'X'), OutOfRange);
}

TEST(TAxis, CloneIsDeepAndKeepsPointClasses) {
  auto PtrAxis = std::make_unique<TAxis>(0.5);
  auto* PtrMapPoint = new TMapPoint(1, 2);
  PtrMapPoint->MbrDblValue = 3;
  PtrAxis->AddPoint(PtrMapPoint);
  PtrAxis->AddPoint(new TPoint(4, 5));
  std::unique_ptr<TAxis> PtrSegment(PtrAxis->GetSegment(0, 0));
  std::unique_ptr<TAxis> PtrClone(PtrAxis->Clone());
  PtrAxis.reset();  // copies outlive the original
  ASSERT_EQ(PtrClone->GetSize(), 2);
  EXPECT_EQ(PtrClone->MbrDblResolution, 0.5);
  auto* PtrCopied = dynamic_cast<TMapPoint*>(PtrClone->GetPoint(0));
  ASSERT_NE(PtrCopied, nullptr);
  EXPECT_EQ(PtrCopied->MbrDblValue, 3);
  EXPECT_EQ(PtrClone->GetPoint(1)->MbrDblY, 5);
  EXPECT_EQ(PtrSegment->GetPoint(0)->MbrDblX, 1);

  TAxis Empty(2.0);
  std::unique_ptr<TAxis> PtrEmptyClone(Empty.Clone());
  EXPECT_EQ(PtrEmptyClone->GetSize(), 0);
  EXPECT_EQ(PtrEmptyClone->MbrDblResolution, 2.0);
}
