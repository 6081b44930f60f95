#include <gtest/gtest.h>

#include <memory>

#include "ErrorText.h"
#include "MapFixtures.h"
#include "TMap.h"

using gridclip_test::MakeAxis;
using gridclip_test::MakeGrid;
using gridclip_test::Ordinates;

namespace {
// 3 columns by 2 rows; lower-left (100, 200), cell size 10: X edges 100..130, Y edges 220..200.
std::unique_ptr<TMap> SmallGrid() {
  return MakeGrid(100, 200, 10, {{1, 2, 3}, {4, 5, 6}});
}
}  // namespace

TEST(TMap, ConstructorWithDimensionsFillsNoData) {
  TMap Map(0.5, 3, 2);
  EXPECT_EQ(Map.MbrLngXDim, 3);
  EXPECT_EQ(Map.MbrLngYDim, 2);
  EXPECT_EQ(Map.MbrDblResolution, 0.5);
  EXPECT_EQ(Map.MbrDblNoDataValue, -9999);
  EXPECT_EQ(Map.MbrVecRows, (std::vector<std::vector<double>>(2, {-9999, -9999, -9999})));
  EXPECT_FALSE(Map.MbrPtrXAxis || Map.MbrPtrYAxis || Map.MbrPtrXAxisInterval ||
               Map.MbrPtrYAxisInterval);
  EXPECT_TRUE(Map.MbrStgName.empty());
}

TEST(TMap, ConstructorFromAxesClonesAndDerivesEdges) {
  auto PtrX = MakeAxis({0.5, 1.5, 2.5, 3.5}, 'X', 1.0, 2.5);
  auto PtrY = MakeAxis({2.5, 1.5, 0.5}, 'Y', 1.0, 0.5);
  TMap Map(PtrX.get(), PtrY.get());
  EXPECT_EQ(Map.MbrLngXDim, 4);
  EXPECT_EQ(Map.MbrLngYDim, 3);
  EXPECT_EQ(Map.MbrPtrXAxisInterval->GetSize(), 5);
  EXPECT_EQ(Map.MbrPtrYAxisInterval->GetSize(), 4);
  EXPECT_EQ(Ordinates(*Map.MbrPtrYAxisInterval, 'Y'), (std::vector<double>{3, 2, 1, 0}));
  EXPECT_NE(Map.MbrPtrXAxis.get(), PtrX.get());
  EXPECT_EQ(Map.GetPointVal(3, 2), -9999);
  EXPECT_EQ(Map.MbrDblNoDataValue, -9999);

  auto PtrCoarse = MakeAxis({1, 3, 5}, 'Y', 2.0);
  EXPECT_THROW_MSG(TMap(PtrX.get(), PtrCoarse.get()),
                   "Axes resolutions do not match in TMap::TMap");
  auto PtrNaN = MakeAxis({1}, 'Y', std::numeric_limits<double>::quiet_NaN());
  EXPECT_THROW_MSG(TMap(PtrNaN.get(), PtrNaN.get()), "Axes resolutions do not match in TMap::TMap");
}

TEST(TMap, AddRowGrowsTheMap) {
  TMap Map(1.0);
  EXPECT_EQ(Map.MbrLngXDim, 0);
  Map.AddRow({1, 2, 3, 4, 5});
  EXPECT_EQ(Map.MbrLngXDim, 5);
  EXPECT_EQ(Map.MbrLngYDim, 1);
  Map.AddRow({6, 7, 8});
  EXPECT_EQ(Map.MbrLngXDim, 5);
  EXPECT_EQ(Map.MbrLngYDim, 2);
  EXPECT_EQ(Map.GetRow(1), (std::vector<double>{6, 7, 8}));
  EXPECT_EQ(Map.GetPointVal(2, 1), 8);
  // The short row has no column 4: refused, never read past its end.
  EXPECT_THROW_MSG(Map.GetPointVal(4, 1), "X-ordinate is out of range in TMap::GetPointVal");
}

TEST(TMap, SetPointByCoordinatesNeverWritesPastAShortRow) {
  auto PtrMap = gridclip_test::MakeGrid(0, 0, 1, {{1, 2, 3}, {4, 5, 6}});
  PtrMap->MbrVecRows[1].resize(1);  // as a row added short by AddRow leaves it
  TPoint InShortRow(2.5, 0.5);
  EXPECT_THROW_MSG(PtrMap->SetPoint(&InShortRow, 9), "LngX is out of range in TMap::GetPointVal");
  EXPECT_THROW_MSG(PtrMap->GetPointVal(&InShortRow), "LngX is out of range in TMap::GetPointVal");
  EXPECT_EQ(PtrMap->MbrVecRows[1], std::vector<double>{4});
}

TEST(TMap, GetPointValChecksColumnThenRow) {
  auto PtrMap = SmallGrid();
  EXPECT_EQ(PtrMap->GetPointVal(2, 1), 6);
  EXPECT_THROW_MSG(PtrMap->GetPointVal(3, 0), "X-ordinate is out of range in TMap::GetPointVal");
  EXPECT_THROW_MSG(PtrMap->GetPointVal(-1, 99), "X-ordinate is out of range in TMap::GetPointVal");
  EXPECT_THROW_MSG(PtrMap->GetPointVal(0, 2), "Y-ordinate is out of range in TMap::GetPointVal");
  EXPECT_THROW_MSG(PtrMap->GetPointVal(0, -1), "Y-ordinate is out of range in TMap::GetPointVal");
}

TEST(TMap, GetRowChecksBounds) {
  auto PtrMap = SmallGrid();
  EXPECT_EQ(PtrMap->GetRow(0), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(PtrMap->GetRow(1), (std::vector<double>{4, 5, 6}));
  EXPECT_THROW_MSG(PtrMap->GetRow(2), "Index is out of bounds in TMap::GetRow");
  EXPECT_THROW_MSG(PtrMap->GetRow(-1), "Index is out of bounds in TMap::GetRow");
}

TEST(TMap, InitValuesKeepsNoData) {
  auto PtrMap = SmallGrid();
  PtrMap->MbrDblNoDataValue = -32768;
  PtrMap->InitValues(7.0);
  EXPECT_EQ(PtrMap->MbrVecRows, (std::vector<std::vector<double>>(2, {7, 7, 7})));
  EXPECT_EQ(PtrMap->MbrDblNoDataValue, -32768);
}

TEST(TMap, CentreAxesFollowTheEdges) {
  auto PtrMap = SmallGrid();
  EXPECT_EQ(Ordinates(*PtrMap->MbrPtrXAxisInterval, 'X'),
            (std::vector<double>{100, 110, 120, 130}));
  EXPECT_EQ(Ordinates(*PtrMap->MbrPtrYAxisInterval, 'Y'), (std::vector<double>{220, 210, 200}));
  EXPECT_EQ(Ordinates(*PtrMap->MbrPtrXAxis, 'X'), (std::vector<double>{105, 115, 125}));
  EXPECT_EQ(Ordinates(*PtrMap->MbrPtrYAxis, 'Y'), (std::vector<double>{215, 205}));
}

TEST(TMap, GetCoordinatesAndGetPointByIndices) {
  auto PtrMap = SmallGrid();
  std::unique_ptr<TPoint> PtrCentre(PtrMap->GetCoordinates(1, 0));
  EXPECT_EQ(PtrCentre->MbrDblX, 115);
  EXPECT_EQ(PtrCentre->MbrDblY, 215);
  std::unique_ptr<TMapPoint> PtrPoint(PtrMap->GetPoint(2, 1));
  EXPECT_EQ(PtrPoint->MbrDblX, 125);
  EXPECT_EQ(PtrPoint->MbrDblY, 205);
  EXPECT_EQ(PtrPoint->MbrDblValue, 6);
  EXPECT_THROW_MSG(PtrMap->GetCoordinates(3, 0),
                   "LngX is out of range for the X-axis in TMap::GetCoordinates");
  EXPECT_THROW_MSG(PtrMap->GetCoordinates(0, 2),
                   "LngY is out of range for the Y-axis in TMap::GetCoordinates");
  EXPECT_THROW_MSG(PtrMap->GetPoint(-1, 0), "LngX is out of range in TMap::GetPoint (long,long)");
  EXPECT_THROW_MSG(PtrMap->GetPoint(0, 2), "LngY is out of range in TMap::GetPoint (long,long)");
}

TEST(TMap, LookupByCoordinates) {
  auto PtrMap = SmallGrid();
  TPoint Inside(117, 203);  // column 1, row 1
  EXPECT_EQ(PtrMap->GetPointVal(&Inside), 5);
  std::unique_ptr<TMapPoint> PtrPoint(PtrMap->GetPoint(&Inside));
  EXPECT_EQ(PtrPoint->MbrDblX, 117);  // the query's own coordinates
  EXPECT_EQ(PtrPoint->MbrDblY, 203);
  EXPECT_EQ(PtrPoint->MbrDblValue, 5);
  TPoint Border(110, 210);  // eastern column, northern row
  EXPECT_EQ(PtrMap->GetPointVal(&Border), 2);
  EXPECT_EQ(PtrMap->GetIndex(130, 'X'), 2);
  EXPECT_EQ(PtrMap->GetIndex(200, 'Y'), 1);
  EXPECT_EQ(PtrMap->GetIndex(219, 'Q'), 0);
  TPoint West(99, 205);
  EXPECT_THROW_MSG(PtrMap->GetPointVal(&West), "Ordinate is out of range in TAxis::GetIndex");
  EXPECT_THROW_MSG(PtrMap->GetPoint(&West), "Ordinate is out of range in TAxis::GetIndex");
  std::vector<TPoint*> Points{&Inside, &Border};
  EXPECT_EQ(PtrMap->GetPointValues(Points), (std::vector<double>{5, 2}));
  Points.push_back(&West);
  EXPECT_THROW_MSG(PtrMap->GetPointValues(Points), "Ordinate is out of range in TAxis::GetIndex");
}

TEST(TMap, SetPointByCoordinates) {
  auto PtrMap = SmallGrid();
  TPoint Inside(101, 219);
  PtrMap->SetPoint(&Inside, 42);
  EXPECT_EQ(PtrMap->GetPointVal(0, 0), 42);
  TPoint South(101, 199);
  EXPECT_THROW_MSG(PtrMap->SetPoint(&South, 1), "Ordinate is out of range in TAxis::GetIndex");
}

TEST(TMap, LookupOutsideTheGridUsesTheMapMessages) {
  // An edge axis longer than the grid lets a lookup find a column the map does not have.
  auto PtrMap = SmallGrid();
  auto PtrWide = MakeAxis({100, 110, 120, 130, 140}, 'X', 10, 220);
  PtrMap->MbrPtrXAxisInterval.reset(PtrWide->Clone());
  TPoint Beyond(135, 205);
  EXPECT_THROW_MSG(PtrMap->GetPointVal(&Beyond), "LngX is out of range in TMap::GetPointVal");
  EXPECT_THROW_MSG(PtrMap->GetPoint(&Beyond), "LngX is out of range in TMap::GetPoint (TPoint*)");
  EXPECT_THROW_MSG(PtrMap->SetPoint(&Beyond, 1), "LngX is out of range in TMap::GetPointVal");
  auto PtrTall = MakeAxis({230, 220, 210, 200}, 'Y', 10, 100);
  PtrMap->MbrPtrXAxisInterval.reset(MakeAxis({100, 110, 120, 130}, 'X', 10, 220).release());
  PtrMap->MbrPtrYAxisInterval.reset(PtrTall.release());
  TPoint North(105, 225);  // row 0 of the tall axis
  TPoint Low(105, 201);    // row 2 of the tall axis, which a 2-row map does not have
  EXPECT_EQ(PtrMap->GetPointVal(&North), 1);
  EXPECT_THROW_MSG(PtrMap->GetPointVal(&Low), "LngY is out of range in TMap::GetPointVal");
  EXPECT_THROW_MSG(PtrMap->GetPoint(&Low), "LngY is out of range in TMap::GetPoint (TPoint*)");
  const auto Before = PtrMap->MbrVecRows;
  EXPECT_THROW_MSG(PtrMap->SetPoint(&Low, 1), "LngY is out of range in TMap::GetPointVal");
  EXPECT_EQ(PtrMap->MbrVecRows, Before);
}

TEST(TMap, AxisSettersCheckLengthAndKeepTheMap) {
  auto PtrMap = SmallGrid();
  auto PtrShort = MakeAxis({1, 2}, 'X', 10);
  TAxis* PtrXBefore = PtrMap->MbrPtrXAxis.get();
  TAxis* PtrEdgesBefore = PtrMap->MbrPtrXAxisInterval.get();
  EXPECT_THROW_MSG(PtrMap->SetXAxis(PtrShort.get()),
                   "Length of new X axis does not match the X dimension of the map");
  EXPECT_EQ(PtrMap->MbrPtrXAxis.get(), PtrXBefore);
  EXPECT_EQ(PtrMap->MbrPtrXAxisInterval.get(), PtrEdgesBefore);
  auto PtrOne = MakeAxis({1}, 'Y', 10);
  EXPECT_THROW_MSG(PtrMap->SetYAxis(PtrOne.get()),
                   "Length of new Y axis does not match the Y dimension of the map");
  EXPECT_THROW_MSG(PtrMap->SetXAxisInterval(PtrShort.get()),
                   "Length of new X interval axis does not fit the X dimension of the map");
  EXPECT_THROW_MSG(PtrMap->SetYAxisInterval(PtrShort.get()),
                   "Length of new Y interval axis does not fit the Y dimension of the map");

  auto PtrNewX = MakeAxis({0.5, 1.5, 2.5}, 'X', 1);
  PtrMap->SetXAxis(PtrNewX.get());
  EXPECT_EQ(Ordinates(*PtrMap->MbrPtrXAxisInterval, 'X'), (std::vector<double>{0, 1, 2, 3}));
  auto PtrNewY = MakeAxis({5, 3}, 'Y', 2);
  PtrMap->SetYAxis(PtrNewY.get());
  EXPECT_EQ(Ordinates(*PtrMap->MbrPtrYAxisInterval, 'Y'), (std::vector<double>{6, 4, 2}));
}
