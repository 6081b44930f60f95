// Every entry point with degenerate arguments: NaN and infinite coordinates and values, empty
// stacks and vectors, mismatched maps, indices at and beyond every bound, maps without cells.
// Each either gives its documented result or throws its documented message; the sanitizer
// build runs these too.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "ErrorText.h"
#include "MapFixtures.h"
#include "StackFixtures.h"
#include "TARCGISFileTools.h"
#include "TAxis.h"
#include "TAxisTools.h"
#include "TMap.h"
#include "TMapTools.h"
#include "TPoint.h"
#include "TPointTools.h"
#include "TStringTools.h"
#include "TVectorTools.h"

using gridclip_test::MakeAxis;
using gridclip_test::MakeGrid;
using gridclip_test::MakeStack;
using gridclip_test::Own;
using gridclip_test::TRows;

namespace {
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double Max = std::numeric_limits<double>::max();

// Indices at and beyond both ends of a range of `LngSize` (0 to LngSize - 1 valid).
std::vector<long> BadIndices(long LngSize) {
  return {-1, LngSize, LngSize + 1, LONG_MIN, LONG_MAX, INT_MIN, INT_MAX};
}

// Ordinates that lie on no grid.
const double BadOrdinates[] = {NaN, Inf, -Inf, Max, -Max};

// A 3 x 2 map at (0, 0) with cell size 1.
std::unique_ptr<TMap> Map32(double DblNoData = -9999.0) {
  return MakeGrid(0, 0, 1, {{1, 2, 3}, {4, 5, 6}}, DblNoData);
}

// Maps without cells, laid out as the file reader would: no rows, or rows without columns.
std::unique_ptr<TMap> NoRows() {
  return MakeGrid(0, 0, 1, TRows{});
}
std::unique_ptr<TMap> NoColumns() {
  return MakeGrid(0, 0, 1, TRows{{}, {}});
}

template <typename TValue>
std::unique_ptr<TValue> Own1(TValue* PtrValue) {
  return std::unique_ptr<TValue>(PtrValue);
}
}  // namespace

// ---- Points and axes ----

TEST(TPoint, DistanceWithNonFiniteCoordinates) {
  const TPoint Origin(0, 0);
  EXPECT_TRUE(std::isnan(TPoint(NaN, 0).Distance(&Origin)));
  EXPECT_EQ(TPoint(Inf, 0).Distance(&Origin), Inf);
  EXPECT_EQ(TPoint(Max, Max).Distance(&Origin), Inf);
  const TPoint FarAway(Inf, 0);
  EXPECT_TRUE(std::isnan(FarAway.Distance(&FarAway)));
}

TEST(TAxis, IndicesAtAndBeyondEveryBoundAreRefused) {
  const auto PtrAxis = MakeAxis({0, 1, 2}, 'X');
  TAxis Empty(1.0);
  for (long LngIndex : BadIndices(3)) {
    SCOPED_TRACE(LngIndex);
    EXPECT_THROW_MSG(PtrAxis->GetPoint(LngIndex), "Index is out of range in TAxis::GetPoint");
    auto PtrPoint = std::make_unique<TPoint>(9, 9);
    EXPECT_THROW_MSG(PtrAxis->SetPoint(LngIndex, PtrPoint.get()),
                     "Index is out of range in TAxis::SetPoint");
    EXPECT_THROW_MSG(Own1(PtrAxis->GetSegment(LngIndex, 1)),
                     "Start index is out of range in TAxis::GetSegment");
    EXPECT_THROW_MSG(Own1(PtrAxis->GetSegment(0, LngIndex)),
                     "End index is out of range in TAxis::GetSegment");
  }
  EXPECT_THROW_MSG(Own1(PtrAxis->GetSegment(2, 1)),
                   "Start index is greater than end index in TAxis::GetSegment");
  EXPECT_THROW_MSG(Empty.GetPoint(0), "Index is out of range in TAxis::GetPoint");
  EXPECT_THROW_MSG(Own1(Empty.GetSegment(0, 0)),
                   "Start index is out of range in TAxis::GetSegment");
  EXPECT_EQ(Own1(Empty.Clone())->GetSize(), 0);
  EXPECT_EQ(TAxis(1.0, -5).GetSize(), 0);
}

TEST(TAxis, GetIndexRefusesOrdinatesOffTheAxis) {
  const auto PtrAxis = MakeAxis({0, 1, 2}, 'X');
  const auto PtrDown = MakeAxis({2, 1, 0}, 'Y');
  const auto PtrOne = MakeAxis({5}, 'X');
  TAxis Empty(1.0);
  for (double DblOrdinate : BadOrdinates) {
    SCOPED_TRACE(DblOrdinate);
    EXPECT_THROW_MSG(PtrAxis->GetIndex(DblOrdinate, 'X'),
                     "Ordinate is out of range in TAxis::GetIndex");
    EXPECT_THROW_MSG(PtrDown->GetIndex(DblOrdinate, 'Y'),
                     "Ordinate is out of range in TAxis::GetIndex");
    EXPECT_THROW_MSG(PtrOne->GetIndex(DblOrdinate, 'X'),
                     "Ordinate is out of range in TAxis::GetIndex");
    EXPECT_THROW_MSG(Empty.GetIndex(DblOrdinate, 'X'),
                     "Ordinate is out of range in TAxis::GetIndex");
    const TPoint Inside(1, 1);
    const TPoint Outside(DblOrdinate, DblOrdinate);
    EXPECT_THROW_MSG(Own1(PtrAxis->GetSegment(&Inside, &Outside, 'X')),
                     "Ordinate is out of range in TAxis::GetIndex");
  }
  EXPECT_THROW_MSG(Empty.GetIndex(0, 'X'), "Ordinate is out of range in TAxis::GetIndex");
  EXPECT_EQ(PtrOne->GetIndex(5, 'X'), 0);
  // the ends of the range, and an axis reaching to infinity
  EXPECT_EQ(PtrAxis->GetIndex(2, 'X'), 1);
  EXPECT_EQ(PtrDown->GetIndex(2, 'Y'), 0);
  const auto PtrToInfinity = MakeAxis({0, 1, Inf}, 'X');
  EXPECT_EQ(PtrToInfinity->GetIndex(Inf, 'X'), 1);
  EXPECT_EQ(PtrToInfinity->GetIndex(Max, 'X'), 1);
}

TEST(TAxis, GetIndexOnAnAxisHoldingNaNAnswersWithinTheAxis) {
  // NaN points bound nothing; the lookup must still end with a segment index or the message.
  const std::vector<std::vector<double>> Axes = {
      {NaN, 1, 2}, {0, NaN, 2}, {0, 1, NaN}, {NaN, NaN}, {NaN}};
  for (const auto& Ordinates : Axes) {
    const auto PtrAxis = MakeAxis(Ordinates, 'X');
    for (double DblOrdinate : {0.0, 0.5, 1.0, 2.0, Inf}) {
      SCOPED_TRACE(DblOrdinate);
      const std::string StgText = gridclip_test::ThrownText([&] {
        const long LngIndex = PtrAxis->GetIndex(DblOrdinate, 'X');
        EXPECT_GE(LngIndex, 0);
        EXPECT_LE(LngIndex, std::max(PtrAxis->GetSize() - 2, 0L));
      });
      if (StgText != "<no error>") {
        EXPECT_EQ(StgText, "Ordinate is out of range in TAxis::GetIndex");
      }
    }
  }
}

TEST(TAxisTools, ConversionsOfEmptyAndNonFiniteAxes) {
  TAxis Empty(1.0);
  EXPECT_THROW_MSG(Own1(TAxisTools::PointsToIntervals(&Empty, 'X')),
                   "Index is out of range in TAxis::GetPoint");
  EXPECT_THROW_MSG(Own1(TAxisTools::IntervalsToPoints(&Empty, 'X')),
                   "Index is out of range in TAxis::GetPoint");
  const auto PtrOneEdge = MakeAxis({3}, 'X');
  EXPECT_EQ(Own1(TAxisTools::IntervalsToPoints(PtrOneEdge.get(), 'X'))->GetSize(), 0);
  // NaN and infinite points and resolutions give NaN and infinite points, never a failure
  for (double DblBad : {NaN, Inf, -Inf}) {
    SCOPED_TRACE(DblBad);
    const auto PtrCentres = MakeAxis({0, DblBad, 2}, 'Y', DblBad);
    const auto PtrEdges = Own1(TAxisTools::PointsToIntervals(PtrCentres.get(), 'Y'));
    EXPECT_EQ(PtrEdges->GetSize(), 4);
    EXPECT_EQ(Own1(TAxisTools::IntervalsToPoints(PtrCentres.get(), 'Y'))->GetSize(), 2);
  }
}

// ---- The map ----

TEST(TMap, IndicesAtAndBeyondEveryBoundAreRefused) {
  const auto PtrMap = Map32();
  for (long LngBad : BadIndices(3)) {
    SCOPED_TRACE(LngBad);
    EXPECT_THROW_MSG(PtrMap->GetPointVal(LngBad, 0),
                     "X-ordinate is out of range in TMap::GetPointVal");
    EXPECT_THROW_MSG(PtrMap->GetCoordinates(LngBad, 0),
                     "LngX is out of range for the X-axis in TMap::GetCoordinates");
    EXPECT_THROW_MSG(Own1(PtrMap->GetPoint(LngBad, 0)),
                     "LngX is out of range in TMap::GetPoint (long,long)");
  }
  for (long LngBad : BadIndices(2)) {
    SCOPED_TRACE(LngBad);
    EXPECT_THROW_MSG(PtrMap->GetPointVal(0, LngBad),
                     "Y-ordinate is out of range in TMap::GetPointVal");
    EXPECT_THROW_MSG(PtrMap->GetCoordinates(0, LngBad),
                     "LngY is out of range for the Y-axis in TMap::GetCoordinates");
    EXPECT_THROW_MSG(Own1(PtrMap->GetPoint(0, LngBad)),
                     "LngY is out of range in TMap::GetPoint (long,long)");
    EXPECT_THROW_MSG(PtrMap->GetRow(LngBad), "Index is out of bounds in TMap::GetRow");
  }
  // both bad: the column is named first
  EXPECT_THROW_MSG(PtrMap->GetPointVal(-1, -1), "X-ordinate is out of range in TMap::GetPointVal");
}

TEST(TMap, MapsWithoutCellsRefuseEveryCell) {
  for (const auto& PtrMap : {NoRows(), NoColumns()}) {
    EXPECT_THROW_MSG(PtrMap->GetPointVal(0, 0), "X-ordinate is out of range in TMap::GetPointVal");
    EXPECT_THROW_MSG(Own1(PtrMap->GetPoint(0, 0)),
                     "LngX is out of range in TMap::GetPoint (long,long)");
    const TPoint Corner(0, 0);
    EXPECT_THROW_MSG(PtrMap->GetPointVal(&Corner), "LngX is out of range in TMap::GetPointVal");
    EXPECT_THROW_MSG(PtrMap->SetPoint(&Corner, 1), "LngX is out of range in TMap::GetPointVal");
    EXPECT_TRUE(PtrMap->GetPointValues({}).empty());
    PtrMap->InitValues(7);
  }
  TMap Negative(1.0, -3, -2);
  EXPECT_TRUE(Negative.MbrVecRows.empty());
  EXPECT_THROW_MSG(Negative.GetPointVal(0, 0), "X-ordinate is out of range in TMap::GetPointVal");
  EXPECT_THROW_MSG(Negative.GetRow(0), "Index is out of bounds in TMap::GetRow");
}

TEST(TMap, ConstructorFromAxesRefusesMismatchedAndEmptyAxes) {
  const auto PtrX = MakeAxis({0.5, 1.5}, 'X', 1.0);
  const auto PtrY = MakeAxis({1.5, 0.5}, 'Y', 1.0);
  for (double DblBad : {2.0, NaN, Inf}) {
    SCOPED_TRACE(DblBad);
    const auto PtrOther = MakeAxis({1.5, 0.5}, 'Y', DblBad);
    EXPECT_THROW_MSG(TMap(PtrX.get(), PtrOther.get()),
                     "Axes resolutions do not match in TMap::TMap");
  }
  const auto PtrNaN = MakeAxis({0.5}, 'X', NaN);
  EXPECT_THROW_MSG(TMap(PtrNaN.get(), PtrNaN.get()), "Axes resolutions do not match in TMap::TMap");
  TAxis Empty(1.0);
  EXPECT_THROW_MSG(TMap(&Empty, PtrY.get()), "Index is out of range in TAxis::GetPoint");
  EXPECT_THROW_MSG(TMap(PtrX.get(), &Empty), "Index is out of range in TAxis::GetPoint");
}

TEST(TMap, LookupsOfNonFinitePointsAreRefused) {
  const auto PtrMap = Map32();
  for (double DblBad : BadOrdinates) {
    SCOPED_TRACE(DblBad);
    const TPoint BadX(DblBad, 1);
    const TPoint BadY(1, DblBad);
    EXPECT_THROW_MSG(PtrMap->GetIndex(DblBad, 'X'), "Ordinate is out of range in TAxis::GetIndex");
    EXPECT_THROW_MSG(PtrMap->GetIndex(DblBad, 'Y'), "Ordinate is out of range in TAxis::GetIndex");
    EXPECT_THROW_MSG(PtrMap->GetPointVal(&BadX), "Ordinate is out of range in TAxis::GetIndex");
    EXPECT_THROW_MSG(PtrMap->GetPointVal(&BadY), "Ordinate is out of range in TAxis::GetIndex");
    EXPECT_THROW_MSG(Own1(PtrMap->GetPoint(&BadY)), "Ordinate is out of range in TAxis::GetIndex");
    EXPECT_THROW_MSG(PtrMap->SetPoint(&BadX, 9), "Ordinate is out of range in TAxis::GetIndex");
    EXPECT_THROW_MSG(PtrMap->GetPointValues({const_cast<TPoint*>(&BadX)}),
                     "Ordinate is out of range in TAxis::GetIndex");
  }
  EXPECT_EQ(PtrMap->MbrVecRows, (TRows{{1, 2, 3}, {4, 5, 6}}));
}

TEST(TMap, AxisSettersRefuseWrongLengthsIncludingEmpty) {
  const auto PtrMap = Map32();
  TAxis Empty(1.0);
  EXPECT_THROW_MSG(PtrMap->SetXAxis(&Empty),
                   "Length of new X axis does not match the X dimension of the map");
  EXPECT_THROW_MSG(PtrMap->SetYAxis(&Empty),
                   "Length of new Y axis does not match the Y dimension of the map");
  EXPECT_THROW_MSG(PtrMap->SetXAxisInterval(&Empty),
                   "Length of new X interval axis does not fit the X dimension of the map");
  EXPECT_THROW_MSG(PtrMap->SetYAxisInterval(&Empty),
                   "Length of new Y interval axis does not fit the Y dimension of the map");
  // a map without columns takes no centre axis: the edges of none cannot be placed
  const auto PtrEmpty = NoColumns();
  EXPECT_THROW_MSG(PtrEmpty->SetXAxis(&Empty), "Index is out of range in TAxis::GetPoint");
  EXPECT_EQ(PtrEmpty->MbrPtrXAxisInterval->GetSize(), 1);
}

// ---- Grid files ----

TEST(TARCGISFileTools, MapsWithoutCellsAreWrittenButNotReadBack) {
  for (const auto& PtrMap : {NoRows(), NoColumns()}) {
    std::ostringstream Stream;
    TARCGISFileTools::WriteARCGISFile(PtrMap.get(), Stream);
    std::istringstream Back(Stream.str());
    EXPECT_THROW_MSG(Own1(TARCGISFileTools::LoadARCGISFile(Back)),
                     "File format error: invalid header value in TARCGISFileTools::LoadARCGISFile");
  }
  std::ostringstream Csv;
  TMapTools::WriteCSVFile(NoColumns().get(), Csv);
  EXPECT_EQ(Csv.str(), "");
}

TEST(TARCGISFileTools, StreamsThatHoldNothingGiveTheFirstTagMessage) {
  std::istream NoBuffer(nullptr);
  EXPECT_THROW_MSG(Own1(TARCGISFileTools::LoadARCGISFile(NoBuffer)),
                   "File format error: expected to find ncols tag");
  std::istringstream Spent("ncols 1 nrows 1");
  std::string StgWord;
  while (Spent >> StgWord) {
  }
  EXPECT_THROW_MSG(Own1(TARCGISFileTools::LoadARCGISFile(Spent)),
                   "File format error: expected to find ncols tag");
  EXPECT_THROW_MSG(TARCGISFileTools::LoadARCGISFile(std::string()), "Unable to open file ");
  EXPECT_TRUE(TARCGISFileTools::LoadFileList({}).empty());
  const auto PtrMap = Map32();
  EXPECT_THROW_MSG(TARCGISFileTools::WriteFileList({PtrMap.get()}, {}),
                   "Size of map list and filename list do not match in "
                   "TARCGISFileTools::WriteFileList");
  EXPECT_THROW_MSG(TARCGISFileTools::WriteARCGISFile(PtrMap.get(), std::string()),
                   "Unable to open file ");
}

// ---- Clipping ----

TEST(TMapTools, ClippingWithNonFiniteCornersAndMapsWithoutCells) {
  const auto PtrMap = Map32();
  const TPoint Inside(1.5, 0.5);
  for (double DblBad : BadOrdinates) {
    SCOPED_TRACE(DblBad);
    TPoint Bad(DblBad, DblBad);
    EXPECT_THROW_MSG(Own1(TMapTools::Extract(PtrMap.get(), const_cast<TPoint*>(&Inside), &Bad)),
                     "Ordinate is out of range in TAxis::GetIndex");
  }
  for (const auto& PtrEmpty : {NoRows(), NoColumns()}) {
    TPoint Corner(0, 0);
    EXPECT_THROW_MSG(Own1(TMapTools::Extract(PtrEmpty.get(), &Corner, &Corner)),
                     "Start index is out of range in TAxis::GetSegment");
    TMap* PtrResult1 = nullptr;
    TMap* PtrResult2 = nullptr;
    EXPECT_THROW_MSG(TMapTools::Intersection(PtrMap.get(), PtrEmpty.get(), PtrResult1, PtrResult2),
                     "Maps do not intersect in TMapTools::Intersection");
    EXPECT_THROW_MSG(TMapTools::Intersection(PtrEmpty.get(), PtrMap.get(), PtrResult1, PtrResult2),
                     "Maps do not intersect in TMapTools::Intersection");
    EXPECT_EQ(PtrResult1, nullptr);
    EXPECT_EQ(PtrResult2, nullptr);
    // nothing to insert; and nothing can be inserted into a map without cells
    TMapTools::Insert(PtrMap.get(), PtrEmpty.get());
    EXPECT_EQ(PtrMap->MbrVecRows, (TRows{{1, 2, 3}, {4, 5, 6}}));
    // no rows: the source reaches north of it; no columns: east of it
    EXPECT_THROW_MSG(TMapTools::Insert(PtrEmpty.get(), PtrMap.get()),
                     PtrEmpty->MbrLngYDim == 0
                         ? "Insert map's NW corner is outside of the destination map in "
                           "TMapTools::Insert"
                         : "Insert map's SE corner is outside of the destination map in "
                           "TMapTools::Insert");
  }
}

TEST(TMapTools, ClippingMapsWithNonFiniteGeometry) {
  // Cell sizes or corners that are not finite: the overlap test lets NaN pass, and the cut
  // then fails on the lookup; neither result is set.
  const auto PtrMap = Map32();
  const std::unique_ptr<TMap> Odd[] = {
      MakeGrid(0, 0, NaN, {{1, 2}}), MakeGrid(NaN, NaN, 1, {{1, 2}}), MakeGrid(Inf, 0, 1, {{1, 2}}),
      MakeGrid(0, 0, Inf, {{1, 2}}), MakeGrid(-Max, -Max, Max, {{1, 2}, {3, 4}})};
  for (const auto& PtrOdd : Odd) {
    for (bool BlnOddFirst : {true, false}) {
      TMap* PtrResult1 = nullptr;
      TMap* PtrResult2 = nullptr;
      const std::string StgText = gridclip_test::ThrownText([&] {
        if (BlnOddFirst) {
          TMapTools::Intersection(PtrOdd.get(), PtrMap.get(), PtrResult1, PtrResult2);
        } else {
          TMapTools::Intersection(PtrMap.get(), PtrOdd.get(), PtrResult1, PtrResult2);
        }
      });
      std::unique_ptr<TMap> PtrOwned1(PtrResult1);
      std::unique_ptr<TMap> PtrOwned2(PtrResult2);
      EXPECT_TRUE(StgText == "Maps do not intersect in TMapTools::Intersection" ||
                  StgText == "Ordinate is out of range in TAxis::GetIndex" ||
                  StgText == "<no error>")
          << StgText;
      if (StgText != "<no error>" && PtrResult1 == nullptr) {
        EXPECT_EQ(PtrResult2, nullptr);
      }
      const std::string StgInsert =
          gridclip_test::ThrownText([&] { TMapTools::Insert(PtrMap.get(), PtrOdd.get()); });
      EXPECT_TRUE(StgInsert.find("TMapTools::Insert") != std::string::npos ||
                  StgInsert == "Ordinate is out of range in TAxis::GetIndex")
          << StgInsert;
    }
  }
}

// ---- Cell arithmetic and value rules ----

TEST(TMapTools, ArithmeticOnMismatchedMapsAndNonFiniteValues) {
  const auto PtrMap = MakeGrid(0, 0, 1, {{1, NaN, Inf}, {-Inf, 0, -9999}});
  const auto PtrOffGrid = MakeGrid(100, 100, 1, {{1, 2, 3}, {4, 5, 6}});
  const auto PtrOneColumn = MakeGrid(0, 0, 1, {{1}, {2}});
  EXPECT_THROW_MSG(Own1(TMapTools::Add(PtrMap.get(), PtrOffGrid.get())),
                   "Ordinate is out of range in TAxis::GetIndex");
  EXPECT_THROW_MSG(Own1(TMapTools::Multiply(PtrMap.get(), PtrOneColumn.get())),
                   "Ordinate is out of range in TAxis::GetIndex");
  EXPECT_THROW_MSG(Own1(TMapTools::Subtract(PtrMap.get(), PtrOneColumn.get())),
                   "X dimensions do not match in TMapTools::Subtract");
  const auto PtrCoarse = MakeGrid(0, 0, 2, {{1}});
  EXPECT_THROW_MSG(Own1(TMapTools::Divide(PtrCoarse.get(), PtrMap.get())),
                   "Divisor must be of equal of coarser resolution than the dividend in "
                   "TMapTools::Divide");
  // NaN and infinities go through the arithmetic; the no-data cell keeps its marker
  const auto PtrSum = Own1(TMapTools::Add(PtrMap.get(), PtrMap.get()));
  EXPECT_TRUE(std::isnan(PtrSum->GetPointVal(1, 0)));
  EXPECT_EQ(PtrSum->GetPointVal(2, 0), Inf);
  EXPECT_EQ(PtrSum->GetPointVal(2, 1), -9999);
  const auto PtrDifference = Own1(TMapTools::Subtract(PtrMap.get(), PtrMap.get()));
  EXPECT_TRUE(std::isnan(PtrDifference->GetPointVal(2, 0)));
  const auto PtrQuotient = Own1(TMapTools::Divide(PtrMap.get(), PtrMap.get()));
  EXPECT_TRUE(std::isnan(PtrQuotient->GetPointVal(1, 1)));
  for (double DblScalar : {0.0, NaN, Inf, -Inf, Max}) {
    SCOPED_TRACE(DblScalar);
    const auto PtrProduct = Own1(TMapTools::Multiply(PtrMap.get(), DblScalar));
    const auto PtrDivided = Own1(TMapTools::Divide(PtrMap.get(), DblScalar));
    EXPECT_EQ(PtrProduct->GetPointVal(2, 1), -9999);
    EXPECT_EQ(PtrDivided->GetPointVal(2, 1), -9999);
    const double DblExpected = 1 * DblScalar;
    EXPECT_TRUE(std::isnan(DblExpected) ? std::isnan(PtrProduct->GetPointVal(0, 0))
                                        : PtrProduct->GetPointVal(0, 0) == DblExpected);
  }
  const auto PtrRounded = Own1(TMapTools::RoundContents(PtrMap.get()));
  EXPECT_TRUE(std::isnan(PtrRounded->GetPointVal(1, 0)));
  EXPECT_EQ(PtrRounded->GetPointVal(2, 0), Inf);
  EXPECT_EQ(PtrRounded->GetPointVal(0, 1), -Inf);
}

TEST(TMapTools, ValueRulesWithNonFiniteArguments) {
  const auto PtrMap = MakeGrid(0, 0, 1, {{1, NaN, Inf}, {-Inf, 0, -9999}});
  const auto PtrNaNThreshold = Own1(TMapTools::Threshold(PtrMap.get(), NaN));
  EXPECT_EQ(PtrNaNThreshold->MbrVecRows, (TRows{{0, 0, 0}, {0, 0, 0}}));
  const auto PtrInfThreshold = Own1(TMapTools::Threshold(PtrMap.get(), Inf));
  EXPECT_EQ(PtrInfThreshold->MbrVecRows, (TRows{{0, 0, Inf}, {0, 0, 0}}));
  const auto PtrReplaced = Own1(TMapTools::ThresholdReplace(PtrMap.get(), -Inf, 5));
  EXPECT_TRUE(std::isnan(PtrReplaced->GetPointVal(1, 0)));
  EXPECT_EQ(PtrReplaced->GetPointVal(0, 1), 5);
  const auto PtrMasked = Own1(TMapTools::Mask(PtrMap.get(), PtrMap.get(), NaN, 7));
  EXPECT_TRUE(std::isnan(PtrMasked->GetPointVal(1, 0)));
  const auto PtrOneColumn = MakeGrid(0, 0, 1, {{1}, {2}});
  const auto PtrOneRow = MakeGrid(0, 0, 1, {{1, 2, 3}});
  EXPECT_THROW_MSG(Own1(TMapTools::Mask(PtrMap.get(), PtrOneColumn.get(), 0, 0)),
                   "X dimensions do not match in TMapTools::Mask");
  EXPECT_THROW_MSG(Own1(TMapTools::Mask(PtrMap.get(), PtrOneRow.get(), 0, 0)),
                   "Y dimensions do not match in TMapTools::Mask");
  // (a std::map holds a NaN key only alone: it counts as equal to every other key)
  const auto PtrNaNKey = Own1(TMapTools::ReplaceValue(PtrMap.get(), {{NaN, 1}}, -1));
  EXPECT_EQ(PtrNaNKey->MbrVecRows, (TRows{{-1, -1, -1}, {-1, -1, -1}}));
  const auto PtrTable = Own1(TMapTools::ReplaceValue(PtrMap.get(), {{Inf, 2}, {-Inf, 3}}, -1));
  EXPECT_EQ(PtrTable->MbrVecRows, (TRows{{-1, -1, 2}, {3, -1, -1}}));
  const auto PtrEmptyTable = Own1(TMapTools::ReplaceValue(PtrMap.get(), {}, NaN));
  EXPECT_TRUE(std::isnan(PtrEmptyTable->GetPointVal(0, 0)));
  EXPECT_EQ(TMapTools::CountValues(PtrMap.get(), NaN), 0);
  EXPECT_EQ(TMapTools::CountValues(PtrMap.get(), Inf), 1);
  EXPECT_EQ(TMapTools::CountValues(PtrMap.get()).size(), 5u);
}

TEST(TMapTools, FillBlockRefusesIndicesAtAndBeyondEveryBound) {
  const auto PtrMap = Map32();
  const char* const North = "Northern ordinate is out of range in TMapTools::FillBlock";
  const char* const South = "Southern ordinate is out of range in TMapTools::FillBlock";
  const char* const West = "Western ordinate is out of range in TMapTools::FillBlock";
  const char* const East = "Eastern ordinate is out of range in TMapTools::FillBlock";
  const struct {
    long LngNorth, LngSouth, LngWest, LngEast;
    const char* ChrMessage;
  } Cases[] = {
      // north     south     west      east      message
      {-1, 0, 0, 0, North},
      {LONG_MIN, 0, 0, 0, North},
      {0, 2, 0, 0, South},
      {0, LONG_MAX, 0, 0, South},
      {2, 2, 0, 0, North},
      {0, 0, -1, 0, West},
      {0, 0, LONG_MIN, 2, West},
      {0, 0, 0, 3, East},
      {0, 0, 0, LONG_MAX, East},
      {1, 0, 0, 0, "Northern edge must be less than southern edge in TMapTools::FillBlock"},
      {LONG_MAX, LONG_MIN, 0, 0,
       "Northern edge must be less than southern edge in TMapTools::FillBlock"},
      {0, 0, 2, 1, "Western edge must be less than eastern edge in TMapTools::FillBlock"},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.ChrMessage);
    EXPECT_THROW_MSG(TMapTools::FillBlock(PtrMap.get(), 9, Case.LngNorth, Case.LngSouth,
                                          Case.LngWest, Case.LngEast),
                     Case.ChrMessage);
  }
  EXPECT_EQ(PtrMap->MbrVecRows, (TRows{{1, 2, 3}, {4, 5, 6}}));
  TMapTools::FillBlock(PtrMap.get(), NaN, 0, 1, 0, 2);
  EXPECT_TRUE(std::isnan(PtrMap->GetPointVal(2, 1)));
  EXPECT_THROW_MSG(TMapTools::FillBlock(NoRows().get(), 9, 0, 0, 0, 0), North);
  EXPECT_THROW_MSG(TMapTools::FillBlock(NoColumns().get(), 9, 0, 0, 0, 0), East);
}

// ---- Resampling ----

TEST(TMapTools, ResamplingRefusesResolutionsAndFactorsOutOfRange) {
  const auto PtrMap = Map32();
  for (double DblBad : {0.0, -1.0, -Inf, NaN}) {
    SCOPED_TRACE(DblBad);
    EXPECT_THROW_MSG(Own1(TMapTools::Downscale(PtrMap.get(), DblBad)),
                     "New resolution must be > 0.0 in TMapTools::Downscale");
    EXPECT_THROW_MSG(Own1(TMapTools::BilinearInterpolate(PtrMap.get(), DblBad)),
                     "New resolution cannot be <= 0.0 in TMapTools::BilinearInterpolate");
  }
  // coarser than the whole map: no column; finer than 32-bit counts allow
  for (double DblCoarse : {4.0, 1e300, Inf}) {
    SCOPED_TRACE(DblCoarse);
    EXPECT_THROW_MSG(Own1(TMapTools::Downscale(PtrMap.get(), DblCoarse)),
                     "Index is out of range in TAxis::GetPoint");
    EXPECT_THROW_MSG(Own1(TMapTools::BilinearInterpolate(PtrMap.get(), DblCoarse)),
                     "Index is out of range in TAxis::GetPoint");
  }
  for (double DblFine : {1e-9, std::numeric_limits<double>::denorm_min()}) {
    EXPECT_THROW_MSG(Own1(TMapTools::Downscale(PtrMap.get(), DblFine)),
                     "Result grid is too large in TMapTools::Downscale");
    EXPECT_THROW_MSG(Own1(TMapTools::BilinearInterpolate(PtrMap.get(), DblFine)),
                     "Result grid is too large in TMapTools::Downscale");
  }
  for (int IntBad : {0, -1, INT_MIN}) {
    EXPECT_THROW_MSG(Own1(TMapTools::Subdivide(PtrMap.get(), IntBad)),
                     "Subdivision factor must be > 0 in TMapTools::Subdivide");
  }
  EXPECT_THROW_MSG(Own1(TMapTools::Subdivide(PtrMap.get(), INT_MAX)),
                   "Result grid is too large in TMapTools::Subdivide");
  for (const auto& PtrEmpty : {NoRows(), NoColumns()}) {
    EXPECT_THROW_MSG(Own1(TMapTools::Downscale(PtrEmpty.get(), 0.5)),
                     "Index is out of range in TAxis::GetPoint");
    EXPECT_THROW_MSG(Own1(TMapTools::BilinearInterpolate(PtrEmpty.get(), 0.5)),
                     "Index is out of range in TAxis::GetPoint");
    const auto PtrSplit = Own1(TMapTools::Subdivide(PtrEmpty.get(), 3));
    EXPECT_EQ(PtrSplit->MbrLngXDim, 3 * PtrEmpty->MbrLngXDim);
    EXPECT_EQ(PtrSplit->MbrLngYDim, 3 * PtrEmpty->MbrLngYDim);
  }
}

TEST(TMapTools, ResamplingMapsWithNonFiniteValuesAndGeometry) {
  const auto PtrValues = MakeGrid(0, 0, 1, {{NaN, Inf, 1, 2}, {3, -Inf, 4, 5}, {6, 7, 8, 9}});
  const auto PtrSampled = Own1(TMapTools::BilinearInterpolate(PtrValues.get(), 0.5));
  EXPECT_EQ(PtrSampled->MbrLngXDim, 8);
  const auto PtrSplit = Own1(TMapTools::Subdivide(PtrValues.get(), 2));
  EXPECT_TRUE(std::isnan(PtrSplit->GetPointVal(1, 1)));
  // geometry the running sums cannot hold: a result, or one of the documented messages
  const std::unique_ptr<TMap> Odd[] = {
      MakeGrid(0, 0, NaN, {{1, 2}, {3, 4}}), MakeGrid(NaN, 0, 1, {{1, 2}, {3, 4}}),
      MakeGrid(Inf, Inf, 1, {{1, 2}, {3, 4}}), MakeGrid(1e300, 1e300, 1, {{1, 2, 3}, {4, 5, 6}}),
      MakeGrid(-Max, -Max, Max, {{1, 2}, {3, 4}})};
  for (const auto& PtrOdd : Odd) {
    for (double DblResolution : {0.5, 1.0, 3.0}) {
      SCOPED_TRACE(DblResolution);
      const std::string StgText = gridclip_test::ThrownText(
          [&] { Own1(TMapTools::BilinearInterpolate(PtrOdd.get(), DblResolution)); });
      EXPECT_TRUE(StgText == "<no error>" ||
                  StgText.find("TMapTools::BilinearInterpolate") != std::string::npos ||
                  StgText.find("TMapTools::Downscale") != std::string::npos ||
                  StgText == "Ordinate is out of range in TAxis::GetIndex" ||
                  StgText == "Index is out of range in TAxis::GetPoint")
          << StgText;
    }
    const std::string StgSplit =
        gridclip_test::ThrownText([&] { Own1(TMapTools::Subdivide(PtrOdd.get(), 2)); });
    EXPECT_EQ(StgSplit, "<no error>");
  }
  EXPECT_TRUE(std::isnan(TMapTools::BilinearInterpolate(1, 2, 3, 4, 0.5, 0, 0, 0.5, 0, 1)));
  EXPECT_TRUE(std::isnan(TMapTools::BilinearInterpolate(1, 2, 3, 4, NaN, 0, 1, 0.5, 0, 1)));
  TMapPoint P1(0, 0), P2(1, 0), P3(0, 1), P4(1, 1), P5(Inf, 0.5);
  TMapTools::BilinearInterpolate(&P1, &P2, &P3, &P4, &P5);
  EXPECT_TRUE(std::isnan(P5.MbrDblValue));
}

// ---- Queries ----

TEST(TMapTools, BlockQueriesOnEmptyMapsAndExtremeIndices) {
  const auto PtrMap = MakeGrid(0, 0, 1, {{NaN, 1, 2}, {3, 4, 5}});
  long LngNorth = 9, LngSouth = 9, LngWest = 9, LngEast = 9;
  TMapTools::FindPatchExtent(PtrMap.get(), NaN, LngNorth, LngSouth, LngWest, LngEast);
  EXPECT_EQ(std::vector<long>({LngNorth, LngSouth, LngWest, LngEast}),
            std::vector<long>({0, 0, 0, 0}));
  for (const auto& PtrEmpty : {NoRows(), NoColumns()}) {
    LngNorth = LngSouth = LngWest = LngEast = 9;
    TMapTools::FindPatchExtent(PtrEmpty.get(), -9999, LngNorth, LngSouth, LngWest, LngEast);
    EXPECT_EQ(std::vector<long>({LngNorth, LngSouth, LngWest, LngEast}),
              std::vector<long>({0, 0, 0, 0}));
  }
  // indices far outside, widened by nothing or by everything: clipped to the map
  for (long LngN : {0L, 1L, LONG_MAX}) {
    SCOPED_TRACE(LngN);
    LngNorth = LONG_MIN;
    LngSouth = LONG_MAX;
    LngWest = LONG_MIN;
    LngEast = LONG_MAX;
    TMapTools::BufferIndices(PtrMap.get(), LngN, LngNorth, LngSouth, LngWest, LngEast);
    EXPECT_EQ(std::vector<long>({LngNorth, LngSouth, LngWest, LngEast}),
              std::vector<long>({0, 1, 0, 2}));
    LngNorth = LngSouth = 1;
    LngWest = LngEast = 1;
    TMapTools::BufferIndices(PtrMap.get(), LngN, LngNorth, LngSouth, LngWest, LngEast);
    EXPECT_EQ(std::vector<long>({LngNorth, LngSouth, LngWest, LngEast}),
              LngN == 0 ? std::vector<long>({1, 1, 1, 1}) : std::vector<long>({0, 1, 0, 2}));
  }
}

// A negative width once moved the edges past each other and out of the map, and overflowed
// for LONG_MIN; it now widens by nothing.
TEST(TMapTools, BufferIndicesWithNegativeWidthKeepsTheBlockInsideTheMap) {
  const auto PtrMap = Map32();
  for (long LngN : {-1L, -5L, LONG_MIN}) {
    SCOPED_TRACE(LngN);
    long LngNorth = 1, LngSouth = 1, LngWest = 1, LngEast = 1;
    TMapTools::BufferIndices(PtrMap.get(), LngN, LngNorth, LngSouth, LngWest, LngEast);
    EXPECT_EQ(std::vector<long>({LngNorth, LngSouth, LngWest, LngEast}),
              std::vector<long>({1, 1, 1, 1}));
    // edges beyond the far side of the map are moved by the width only: here not at all
    LngNorth = LngWest = LONG_MAX;
    LngSouth = LngEast = LONG_MIN;
    TMapTools::BufferIndices(PtrMap.get(), LngN, LngNorth, LngSouth, LngWest, LngEast);
    EXPECT_EQ(std::vector<long>({LngNorth, LngSouth, LngWest, LngEast}),
              std::vector<long>({LONG_MAX, LONG_MIN, LONG_MAX, LONG_MIN}));
  }
}

TEST(TMapTools, GetValuesOverlayOnMismatchedEmptyAndNaNZones) {
  const auto PtrZones = MakeGrid(0, 0, 1, {{NaN, 1}, {1, NaN}});
  const auto PtrValues = MakeGrid(0, 0, 1, {{10, 11}, {12, 13}});
  const auto PtrOneColumn = MakeGrid(0, 0, 1, {{1}, {2}});
  const auto PtrOneRow = MakeGrid(0, 0, 1, {{1, 2}});
  EXPECT_THROW_MSG(TMapTools::GetValuesOverlay(PtrValues.get(), PtrOneColumn.get(), {}),
                   "Map X-dimensions do not match");
  EXPECT_THROW_MSG(TMapTools::GetValuesOverlay(PtrValues.get(), PtrOneRow.get(), {}),
                   "Map Y-Dimensions do not match");
  const auto MapZones = TMapTools::GetValuesOverlay(PtrValues.get(), PtrZones.get(), {NaN});
  EXPECT_EQ(MapZones, (std::map<double, std::vector<double>>{{1, {12, 11}}}));
  EXPECT_TRUE(TMapTools::GetValuesOverlay(PtrValues.get(), PtrZones.get(), {1}).empty());
  EXPECT_TRUE(TMapTools::GetValuesOverlay(NoRows().get(), NoRows().get(), {}).empty());
  EXPECT_TRUE(TMapTools::GetValuesOverlay(NoColumns().get(), NoColumns().get(), {}).empty());
}

// ---- Stacks ----

TEST(TMapTools, StackStatisticsOnEmptyShortAndMismatchedStacks) {
  const char* const SumCount = "Must have more than 2 maps to sum in TMapTools::Sum";
  const auto Stack = MakeStack({{{1, NaN}, {Inf, -9999}}, {{2, 3}, {4, 5}}, {{6, 7}, {8, 9}}});
  const auto PtrWide = MakeGrid(0, 0, 1, {{1, 2, 3}, {4, 5, 6}});
  const auto PtrTall = MakeGrid(0, 0, 1, {{1, 2}, {3, 4}, {5, 6}});
  EXPECT_THROW_MSG(Own1(TMapTools::Sum({})), SumCount);
  EXPECT_THROW_MSG(Own1(TMapTools::Sum({&Stack[0]})), SumCount);
  EXPECT_THROW_MSG(Own1(TMapTools::Average({})), SumCount);
  EXPECT_THROW_MSG(Own1(TMapTools::DataCounts({})),
                   "Must have at least 1 map in TMapTools::DataCounts");
  EXPECT_THROW_MSG(Own1(TMapTools::Sum({&Stack[0], PtrWide.get()})),
                   "X-dimension of maps are inconsistent in TMapTools::Sum");
  EXPECT_THROW_MSG(Own1(TMapTools::Sum({&Stack[0], PtrTall.get()})),
                   "Y-dimension of maps are inconsistent in TMapTools::Sum");
  EXPECT_THROW_MSG(Own1(TMapTools::DataCounts({&Stack[0], PtrWide.get()})),
                   "X-dimension of maps are inconsistent in TMapTools::DataCounts");
  EXPECT_THROW_MSG(Own1(TMapTools::DataCounts({&Stack[0], PtrTall.get()})),
                   "Y-dimension of maps are inconsistent in TMapTools::DataCounts");
  // windows of every size, on an empty stack and on three maps
  for (int IntWindow : {INT_MIN, -1, 0, 1}) {
    SCOPED_TRACE(IntWindow);
    EXPECT_THROW_MSG(Own(TMapTools::MovingAverage(Stack.Maps(), IntWindow)), SumCount);
  }
  for (int IntWindow : {4, INT_MAX})
    EXPECT_TRUE(TMapTools::MovingAverage(Stack.Maps(), IntWindow).empty());
  EXPECT_THROW_MSG(Own(TMapTools::MovingAverage({}, 0)), SumCount);
  EXPECT_TRUE(TMapTools::MovingAverage({}, 1).empty());
  EXPECT_EQ(Own(TMapTools::MovingAverage(Stack.Maps(), 3)).size(), 1u);
  EXPECT_TRUE(TMapTools::Threshold(std::vector<TMap*>{}, NaN).empty());
  // NaN and infinities are summed as numbers; the no-data cell stays no-data
  const auto PtrSum = Own1(TMapTools::Sum(Stack.Maps()));
  EXPECT_TRUE(std::isnan(PtrSum->GetPointVal(1, 0)));
  EXPECT_EQ(PtrSum->GetPointVal(0, 1), Inf);
  EXPECT_EQ(PtrSum->GetPointVal(1, 1), -9999);
}

TEST(TMapTools, SeriesQueriesRefuseIndicesAtAndBeyondEveryBound) {
  const auto Stack = MakeStack({{{1, 2}, {3, 4}}, {{5, 6}, {7, 8}}, {{9, 0}, {0, 0}}});
  const char* const Start = "Start map number is out of range in TMapTools::GetValuesVector";
  const char* const End = "End map number is out of range in TMapTools::GetValuesVector";
  for (int IntBad : {-1, 3, 4, INT_MIN, INT_MAX}) {
    SCOPED_TRACE(IntBad);
    EXPECT_THROW_MSG(TMapTools::GetValuesVector(Stack.Maps(), 0, 0, IntBad, 1), Start);
    EXPECT_THROW_MSG(TMapTools::GetValuesVector(Stack.Maps(), 0, 0, 0, IntBad), End);
  }
  EXPECT_THROW_MSG(TMapTools::GetValuesVector({}, 0, 0, 0, 0), Start);
  EXPECT_THROW_MSG(TMapTools::GetValuesVector(Stack.Maps(), 0, 0, 1, 1),
                   "Stat map number must be less than end map number");
  EXPECT_THROW_MSG(TMapTools::GetValuesVector(Stack.Maps(), 0, 0, 2, 1),
                   "Stat map number must be less than end map number");
  for (long LngBad : BadIndices(2)) {
    SCOPED_TRACE(LngBad);
    EXPECT_THROW_MSG(TMapTools::GetValuesVector(Stack.Maps(), LngBad, 0, 0, 2),
                     "X-ordinate is out of range in TMap::GetPointVal");
    EXPECT_THROW_MSG(TMapTools::GetValuesVector(Stack.Maps(), 0, LngBad, 0, 2),
                     "Y-ordinate is out of range in TMap::GetPointVal");
    EXPECT_THROW_MSG(TMapTools::FindNonzeroNeighbourVal(&Stack[0], LngBad, 0),
                     "X-ordinate is out of range in TMapTools::FindNonzeroNeighbourVal");
    EXPECT_THROW_MSG(TMapTools::FindNonzeroNeighbourVal(&Stack[0], 0, LngBad),
                     "Y-ordinate is out of range in TMapTools::FindNonzeroNeighbourVal");
  }
  EXPECT_THROW_MSG(TMapTools::FindNonzeroNeighbourVal(NoRows().get(), 0, 0),
                   "X-ordinate is out of range in TMapTools::FindNonzeroNeighbourVal");
  EXPECT_EQ(TMapTools::FindNonzeroNeighbourVal(&Stack[2], 1, 1), 9);
}

TEST(TMapTools, ValueGradientsRefuseWindowsOutOfRange) {
  const auto Stack = MakeStack({{{1, NaN}}, {{2, Inf}}, {{3, 1}}});
  for (int IntBad : {0, -1, INT_MIN}) {
    EXPECT_THROW_MSG(Own(TMapTools::ValueGradients(Stack.Maps(), IntBad)),
                     "Window size must be > 0 in TMapTools::ValueGradients");
  }
  for (int IntBad : {4, INT_MAX}) {
    EXPECT_THROW_MSG(Own(TMapTools::ValueGradients(Stack.Maps(), IntBad)),
                     "Window size must be < number of maps in TMapTools::ValueGradients");
  }
  EXPECT_THROW_MSG(Own(TMapTools::ValueGradients({}, 1)),
                   "Window size must be < number of maps in TMapTools::ValueGradients");
  EXPECT_TRUE(TMapTools::ValueGradients(Stack.Maps(), 3).empty());
  const auto PtrOther = MakeGrid(0, 0, 1, {{1}, {2}});
  EXPECT_THROW_MSG(Own(TMapTools::ValueGradients({&Stack[0], PtrOther.get()}, 1)),
                   "Map dimensions do not match in TMapTools::ValueGradients");
  const auto VecSlopes = Own(TMapTools::ValueGradients(Stack.Maps(), 2));
  ASSERT_EQ(VecSlopes.size(), 1u);
  EXPECT_EQ(VecSlopes[0]->GetPointVal(0, 0), 1);
  EXPECT_TRUE(std::isnan(VecSlopes[0]->GetPointVal(1, 0)));
}

// ---- Sampling ----

TEST(TMapTools, SamplingMapsWithoutCellsAndPointsOffTheMap) {
  auto PtrMap = MakeGrid(0, 0, 1, {{NaN, 1}, {Inf, 1}});
  auto MapPoints = TMapTools::GetFirstValues(PtrMap.get(), {NaN});
  ASSERT_EQ(MapPoints.size(), 2u);
  EXPECT_EQ(MapPoints.count(Inf), 1u);
  EXPECT_TRUE(TMapTools::GetFirstValues(NoRows().get(), {}).empty());
  EXPECT_TRUE(TMapTools::GetFirstValues(NoColumns().get(), {}).empty());
  EXPECT_TRUE(TMapTools::GetFirstValues(std::vector<TMap*>{}, {}).empty());
  EXPECT_TRUE(TMapTools::FetchMapValues(PtrMap.get(), {}).empty());
  EXPECT_TRUE(TMapTools::FetchMapValues(std::vector<TMap*>{}, {}).empty());
  EXPECT_THROW_MSG(TMapTools::FetchMapValues(std::vector<TMap*>{PtrMap.get()}, {}),
                   "Number of point lists is less than number of maps in "
                   "TMapTools::FetchMapValues");
  for (double DblBad : BadOrdinates) {
    TMapPoint Bad(DblBad, 0.5);
    EXPECT_THROW_MSG(TMapTools::FetchMapValues(PtrMap.get(), {{1.0, &Bad}}),
                     "Ordinate is out of range in TAxis::GetIndex");
  }
  TMapTools::DeletePoints(MapPoints);
  EXPECT_TRUE(MapPoints.empty());
  std::vector<std::map<double, TMapPoint*>> VecNone;
  TMapTools::DeletePoints(VecNone);
}

// ---- Geometry, vectors and strings ----

TEST(TPointTools, NonFiniteAndEmptyArguments) {
  const TPoint A(NaN, 1);
  const TPoint B(2, NaN);
  const auto PtrMax = Own1(TPointTools::Max(&A, &B));
  EXPECT_TRUE(std::isnan(PtrMax->MbrDblX));  // a's value kept on NaN
  EXPECT_EQ(PtrMax->MbrDblY, 1);
  const auto PtrMin = Own1(TPointTools::Min(&B, &A));
  EXPECT_EQ(PtrMin->MbrDblX, 2);
  const auto PtrCentre = Own1(TPointTools::FindCentroid({}));
  EXPECT_TRUE(std::isnan(PtrCentre->MbrDblX) && std::isnan(PtrCentre->MbrDblY));
  const TPoint Origin(0, 0);
  EXPECT_EQ(TPointTools::Theta(&Origin, &Origin), 0);
  EXPECT_TRUE(std::isnan(TPointTools::Theta(&A, &Origin)));
  const TPoint Far(Inf, Inf);
  EXPECT_TRUE(std::isnan(TPointTools::Heron(&Origin, &Far, &A)));
  EXPECT_EQ(TPointTools::FindConvexPolygonArea({}), 0);
  TPoint Single(3, 4);
  EXPECT_EQ(TPointTools::FindConvexPolygonArea({&Single}), 0);
  EXPECT_TRUE(TPointTools::FindConvexHull({}).empty());
  // points with NaN or infinite coordinates: a bounded result of copies, nothing leaked
  TPoint P1(0, 0), P2(1, 0), P3(NaN, 1), P4(Inf, 2), P5(0, -Inf), P6(1, 1);
  const std::vector<std::vector<TPoint*>> Lists = {
      {&P3}, {&P3, &P3}, {&P1, &P3, &P2}, {&P1, &P2, &P4, &P6}, {&P5, &P1, &P4, &P3, &P6}};
  for (const auto& VecPoints : Lists) {
    std::vector<std::unique_ptr<TPoint>> VecHull;
    for (TPoint* PtrPoint : TPointTools::FindConvexHull(VecPoints)) VecHull.emplace_back(PtrPoint);
    EXPECT_GE(VecHull.size(), 1u);
    EXPECT_LE(VecHull.size(), VecPoints.size());
    TPointTools::FindConvexPolygonArea(VecPoints);
  }
}

TEST(TVectorTools, EmptyMismatchedAndNonFiniteVectors) {
  EXPECT_EQ(TVectorTools::SumVector({}), 0);
  EXPECT_TRUE(std::isnan(TVectorTools::VectorMean({})));
  EXPECT_TRUE(std::isnan(TVectorTools::VectorWeightedMean({}, {})));
  EXPECT_TRUE(std::isnan(TVectorTools::VectorWeightedMean({1, 2}, {1, -1})) ||
              std::isinf(TVectorTools::VectorWeightedMean({1, 2}, {1, -1})));
  EXPECT_THROW_MSG(TVectorTools::VectorWeightedMean({1}, {}),
                   "Length of value and weight vectors do not match in "
                   "TVectorTools::WeightedMean");
  EXPECT_FALSE(TVectorTools::HasValue(std::vector<double>{NaN}, NaN));
  EXPECT_FALSE(TVectorTools::HasValue(std::vector<int>{}, 0));
  EXPECT_EQ(TVectorTools::StringToInt({"", "x", "-"}), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(TVectorTools::StringToDouble({"", "1e999"}), (std::vector<double>{0, Inf}));
  EXPECT_THROW_MSG(TVectorTools::VectorProduct({1}, {}),
                   "Length of vectors does not match in TVectorTools::VectorProduct");
  EXPECT_THROW_MSG(TVectorTools::Gradient({1, 2}, {1}),
                   "Length of vectors does not match in TVectorTools::VectorProduct");
  EXPECT_TRUE(std::isnan(TVectorTools::Gradient({}, {})));
  EXPECT_TRUE(std::isnan(TVectorTools::Gradient({1, 1}, {1, 2})) ||
              std::isinf(TVectorTools::Gradient({1, 1}, {1, 2})));
}

TEST(TVectorTools, VectorSeriesWithDegenerateBoundsAndSteps) {
  const char* const StepNotPositive = "Step must be greater than 0 in TVectorTools::VectorSeries";
  const char* const StepLost = "Step is too small to advance in TVectorTools::VectorSeries";
  EXPECT_TRUE(TVectorTools::VectorSeries(NaN, 1, 1).empty());
  EXPECT_TRUE(TVectorTools::VectorSeries(0, NaN, 1).empty());
  EXPECT_TRUE(TVectorTools::VectorSeries(1, 0, NaN).empty());
  EXPECT_THROW_MSG(TVectorTools::VectorSeries(Inf, Inf, 1),
                   "Step is too small to advance in TVectorTools::VectorSeries");
  for (double DblStep : {0.0, -1.0, NaN, -Inf}) {
    EXPECT_THROW_MSG(TVectorTools::VectorSeries(0, 1, DblStep), StepNotPositive);
  }
  EXPECT_EQ(TVectorTools::VectorSeries(0, 1, Inf), (std::vector<double>{0}));
  EXPECT_THROW_MSG(TVectorTools::VectorSeries(-Inf, 0, 1), StepLost);
  EXPECT_THROW_MSG(TVectorTools::VectorSeries(1, 2, 1e-300), StepLost);
  // a series without end gives the message at once instead of filling memory first
  EXPECT_THROW_MSG(TVectorTools::VectorSeries(0, Inf, 1), StepLost);
  EXPECT_THROW_MSG(TVectorTools::VectorSeries(0, Inf, Max), StepLost);
}

TEST(TVectorTools, VectorSeriesTooLongForMemoryFailsAtOnce) {
  // The documented end would come only after more values than memory holds.
  for (const double DblStep : {1e-300, 1.0, 5e-324}) {
    SCOPED_TRACE(DblStep);
    bool BlnRefused = false;
    try {
      TVectorTools::VectorSeries(0, 1e300, DblStep);
    } catch (const std::length_error&) {
      BlnRefused = true;
    } catch (const std::bad_alloc&) {
      BlnRefused = true;
    }
    EXPECT_TRUE(BlnRefused);
  }
}

TEST(TStringTools, EmptyAndExtremeArguments) {
  EXPECT_THROW_MSG(TStringTools::StgToBool(""),
                   "Invalid boolean string in TStringTools::HasSubstring");
  EXPECT_THROW_MSG(TStringTools::StgToBool(std::string(1, '\0')),
                   "Invalid boolean string in TStringTools::HasSubstring");
  EXPECT_TRUE(TStringTools::HasSubstring("", ""));
  EXPECT_FALSE(TStringTools::HasSubstring("", "a"));
  std::string StgText;
  TStringTools::ToUpper(StgText);
  TStringTools::Trim(StgText);
  EXPECT_EQ(StgText, "");
  std::string StgBytes = "\xff\x80 a\0b";
  TStringTools::ToUpper(StgBytes);
  EXPECT_EQ(StgBytes, "\xff\x80 A");
  EXPECT_EQ(TStringTools::FindAndReplace("", "", "x"), "");
  EXPECT_EQ(TStringTools::FindAndReplace("aaa", "a", ""), "");
  EXPECT_EQ(TStringTools::ToString(LONG_MIN), std::to_string(LONG_MIN));
  EXPECT_EQ(TStringTools::ToString(INT_MIN), std::to_string(INT_MIN));
  EXPECT_EQ(TStringTools::ToString(NaN), "nan");
  EXPECT_EQ(TStringTools::ToString(-Inf), "-inf");
  EXPECT_EQ(TStringTools::ToString(Max), "1.79769e+308");
  std::vector<std::string> VecTokens{"stale"};
  TStringTools::Tokenize("", VecTokens, " ");
  EXPECT_TRUE(VecTokens.empty());
  TStringTools::Tokenize("   ", VecTokens, " ");
  EXPECT_TRUE(VecTokens.empty());
  TStringTools::Tokenize("a b", VecTokens, "");
  EXPECT_EQ(VecTokens, (std::vector<std::string>{"a b"}));
}

// ---- Maps without cells given to the operations that build maps ----

TEST(TMapTools, OperationsOnMapsWithoutCellsGiveTheEmptyAxisMessage) {
  // A map without cells has empty centre axes, and a result map cannot be built on them: the
  // edges of an empty axis cannot be placed.
  const char* const EmptyAxis = "Index is out of range in TAxis::GetPoint";
  for (const auto& PtrEmpty : {NoRows(), NoColumns()}) {
    SCOPED_TRACE(PtrEmpty->MbrLngYDim);
    const auto PtrTwin = PtrEmpty->MbrLngYDim == 0 ? NoRows() : NoColumns();
    TMap* const PtrA = PtrEmpty.get();
    TMap* const PtrB = PtrTwin.get();
    EXPECT_THROW_MSG(Own1(TMapTools::Add(PtrA, PtrB)), EmptyAxis);
    EXPECT_THROW_MSG(Own1(TMapTools::Subtract(PtrA, PtrB)), EmptyAxis);
    EXPECT_THROW_MSG(Own1(TMapTools::Multiply(PtrA, PtrB)), EmptyAxis);
    EXPECT_THROW_MSG(Own1(TMapTools::Divide(PtrA, PtrB)), EmptyAxis);
    EXPECT_THROW_MSG(Own1(TMapTools::Multiply(PtrA, 2.0)), EmptyAxis);
    EXPECT_THROW_MSG(Own1(TMapTools::Divide(PtrA, 2.0)), EmptyAxis);
    EXPECT_THROW_MSG(Own1(TMapTools::RoundContents(PtrA)), EmptyAxis);
    EXPECT_THROW_MSG(Own1(TMapTools::Threshold(PtrA, 0)), EmptyAxis);
    EXPECT_THROW_MSG(Own1(TMapTools::ThresholdReplace(PtrA, 0, 1)), EmptyAxis);
    EXPECT_THROW_MSG(Own1(TMapTools::Mask(PtrA, PtrB, 0, 1)), EmptyAxis);
    EXPECT_THROW_MSG(Own1(TMapTools::ReplaceValue(PtrA, {}, 0)), EmptyAxis);
    EXPECT_THROW_MSG(Own(TMapTools::Threshold(std::vector<TMap*>{PtrA}, 0)), EmptyAxis);
    EXPECT_THROW_MSG(Own1(TMapTools::Sum({PtrA, PtrB})), EmptyAxis);
    EXPECT_THROW_MSG(Own1(TMapTools::DataCounts({PtrA})), EmptyAxis);
    EXPECT_THROW_MSG(Own1(TMapTools::Average({PtrA, PtrB})), EmptyAxis);
    EXPECT_THROW_MSG(Own(TMapTools::MovingAverage({PtrA, PtrB}, 2)), EmptyAxis);
    EXPECT_THROW_MSG(Own(TMapTools::ValueGradients({PtrA, PtrB}, 1)), EmptyAxis);
    EXPECT_TRUE(TMapTools::CountValues(PtrA).empty());
    EXPECT_EQ(TMapTools::CountValues(PtrA, -9999), 0);
    EXPECT_THROW_MSG(TMapTools::GetValuesVector({PtrA, PtrB}, 0, 0, 0, 1),
                     "X-ordinate is out of range in TMap::GetPointVal");
  }
}
