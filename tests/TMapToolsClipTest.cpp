#include <gtest/gtest.h>

#include <memory>

#include "ErrorText.h"
#include "MapFixtures.h"
#include "TMapTools.h"

using gridclip_test::MakeGrid;
using gridclip_test::Ordinates;

namespace {
// A rows x cols grid whose cell (x, y) holds 100 y + x.
std::vector<std::vector<double>> Numbered(int IntCols, int IntRows) {
  std::vector<std::vector<double>> Rows(static_cast<std::size_t>(IntRows));
  for (int IntY = 0; IntY < IntRows; ++IntY) {
    for (int IntX = 0; IntX < IntCols; ++IntX) {
      Rows[static_cast<std::size_t>(IntY)].push_back(100.0 * IntY + IntX);
    }
  }
  return Rows;
}

struct TClip {
  std::unique_ptr<TMap> PtrFirst;
  std::unique_ptr<TMap> PtrSecond;
};

TClip Clip(TMap* PtrMap1, TMap* PtrMap2) {
  TMap* PtrRaw1 = nullptr;
  TMap* PtrRaw2 = nullptr;
  TMapTools::Intersection(PtrMap1, PtrMap2, PtrRaw1, PtrRaw2);
  return {std::unique_ptr<TMap>(PtrRaw1), std::unique_ptr<TMap>(PtrRaw2)};
}

// The block of `Rows` from column X0 and row Y0, Cols x RowCount cells.
std::vector<std::vector<double>> Block(const std::vector<std::vector<double>>& Rows, int IntX0,
                                       int IntY0, int IntCols, int IntRowCount) {
  std::vector<std::vector<double>> Result;
  for (int IntY = IntY0; IntY < IntY0 + IntRowCount; ++IntY) {
    const auto& Row = Rows[static_cast<std::size_t>(IntY)];
    Result.emplace_back(Row.begin() + IntX0, Row.begin() + IntX0 + IntCols);
  }
  return Result;
}
}  // namespace

TEST(TMapTools, ExtractTakesCornersInEitherOrder) {
  auto PtrMap = MakeGrid(0, 0, 1, Numbered(5, 4), -32768);
  TPoint NorthWest(1.5, 2.5);  // column 1, row 1
  TPoint SouthEast(3.2, 0.1);  // column 3, row 3
  std::unique_ptr<TMap> PtrOne(TMapTools::Extract(PtrMap.get(), &NorthWest, &SouthEast));
  std::unique_ptr<TMap> PtrOther(TMapTools::Extract(PtrMap.get(), &SouthEast, &NorthWest));
  const auto Expected = Block(Numbered(5, 4), 1, 1, 3, 3);
  EXPECT_EQ(PtrOne->MbrVecRows, Expected);
  EXPECT_EQ(PtrOther->MbrVecRows, Expected);
  EXPECT_EQ(PtrOne->MbrDblNoDataValue, -32768);
  EXPECT_EQ(Ordinates(*PtrOne->MbrPtrXAxisInterval, 'X'), (std::vector<double>{1, 2, 3, 4}));
  EXPECT_EQ(Ordinates(*PtrOne->MbrPtrYAxisInterval, 'Y'), (std::vector<double>{3, 2, 1, 0}));
  TPoint West(-0.5, 1);
  EXPECT_THROW_MSG(TMapTools::Extract(PtrMap.get(), &West, &SouthEast),
                   "Ordinate is out of range in TAxis::GetIndex");
}

TEST(TMapTools, IntersectionOfShiftedMaps) {
  struct Case {
    double DblDx, DblDy;  // shift of the second map, in cells
    int IntCols, IntRows;
    int IntX1, IntY1;  // first cell of the result in map 1
    int IntX2, IntY2;  // first cell of the result in map 2
  };
  const Case Cases[] = {
      {0, 0, 5, 5, 0, 0, 0, 0},   // identical maps
      {2, 0, 3, 5, 2, 0, 0, 0},   // two cells east
      {4, 0, 1, 5, 4, 0, 0, 0},   // one column of overlap
      {0, -2, 5, 3, 0, 2, 0, 0},  // two cells south
      {-1, 3, 4, 2, 0, 0, 1, 3},  // north-west
      {4, -4, 1, 1, 4, 4, 0, 0},  // one cell
  };
  const auto Rows = Numbered(5, 5);
  for (const Case& C : Cases) {
    SCOPED_TRACE(::testing::Message() << "shift " << C.DblDx << ", " << C.DblDy);
    auto PtrMap1 = MakeGrid(300, 500, 10, Rows);
    auto PtrMap2 = MakeGrid(300 + 10 * C.DblDx, 500 + 10 * C.DblDy, 10, Rows, -32768);
    const TClip Result = Clip(PtrMap1.get(), PtrMap2.get());
    EXPECT_EQ(Result.PtrFirst->MbrVecRows, Block(Rows, C.IntX1, C.IntY1, C.IntCols, C.IntRows));
    EXPECT_EQ(Result.PtrSecond->MbrVecRows, Block(Rows, C.IntX2, C.IntY2, C.IntCols, C.IntRows));
    EXPECT_EQ(Ordinates(*Result.PtrFirst->MbrPtrXAxisInterval, 'X'),
              Ordinates(*Result.PtrSecond->MbrPtrXAxisInterval, 'X'));
    EXPECT_EQ(Ordinates(*Result.PtrFirst->MbrPtrYAxisInterval, 'Y'),
              Ordinates(*Result.PtrSecond->MbrPtrYAxisInterval, 'Y'));
    EXPECT_EQ(Result.PtrFirst->MbrDblNoDataValue, -9999);
    EXPECT_EQ(Result.PtrSecond->MbrDblNoDataValue, -32768);
  }
}

TEST(TMapTools, IntersectionRefusesMapsWithoutACommonCell) {
  const auto Rows = Numbered(5, 5);
  auto PtrMap1 = MakeGrid(0, 0, 1, Rows);
  for (const auto& Shift : {std::pair<double, double>{5, 0}, {-5, 0}, {0, 5}, {0, -5}, {9, 9}}) {
    auto PtrMap2 = MakeGrid(Shift.first, Shift.second, 1, Rows);
    TMap* PtrRaw1 = nullptr;
    TMap* PtrRaw2 = nullptr;
    EXPECT_THROW_MSG(TMapTools::Intersection(PtrMap1.get(), PtrMap2.get(), PtrRaw1, PtrRaw2),
                     "Maps do not intersect in TMapTools::Intersection");
    EXPECT_EQ(PtrRaw1, nullptr);
    EXPECT_EQ(PtrRaw2, nullptr);
  }
}

TEST(TMapTools, IntersectionOnOneLatticeCoversTheCommonExtentDespiteRounding) {
  // Running sums of 0.1 from 0.3, and seven-digit northings: edges carry rounding.
  struct Case {
    double DblXll, DblYll, DblCell;
  };
  for (const Case& C :
       {Case{0.3, 0.3, 0.1}, Case{500000.3, 4512345.7, 0.1}, Case{654321.5, 7654321.5, 30}}) {
    SCOPED_TRACE(C.DblXll);
    const auto Rows = Numbered(40, 30);
    for (int IntShift = 1; IntShift < 30; IntShift += 7) {
      double DblX2 = C.DblXll;
      double DblY2 = C.DblYll;
      for (int IntI = 0; IntI < IntShift; ++IntI) DblX2 += C.DblCell;
      for (int IntI = 0; IntI < IntShift / 2; ++IntI) DblY2 -= C.DblCell;
      auto PtrMap1 = MakeGrid(C.DblXll, C.DblYll, C.DblCell, Rows);
      auto PtrMap2 = MakeGrid(DblX2, DblY2, C.DblCell, Rows);
      const TClip Result = Clip(PtrMap1.get(), PtrMap2.get());
      ASSERT_EQ(Result.PtrFirst->MbrLngXDim, 40 - IntShift);
      ASSERT_EQ(Result.PtrFirst->MbrLngYDim, 30 - IntShift / 2);
      EXPECT_EQ(Result.PtrSecond->MbrLngXDim, 40 - IntShift);
      EXPECT_EQ(Result.PtrSecond->MbrLngYDim, 30 - IntShift / 2);
      EXPECT_EQ(Result.PtrFirst->MbrVecRows,
                Block(Rows, IntShift, IntShift / 2, 40 - IntShift, 30 - IntShift / 2));
      EXPECT_EQ(Result.PtrSecond->MbrVecRows, Block(Rows, 0, 0, 40 - IntShift, 30 - IntShift / 2));
    }
  }
}

TEST(TMapTools, InsertWritesUnderTheSourceCentres) {
  auto PtrDest = MakeGrid(0, 0, 1, Numbered(4, 4));
  auto PtrSource = MakeGrid(1, 1, 1, {{-1, -2}, {-3, -4}});  // columns 1-2, rows 1-2
  TMapTools::Insert(PtrDest.get(), PtrSource.get());
  EXPECT_EQ(PtrDest->MbrVecRows,
            (std::vector<std::vector<double>>{
                {0, 1, 2, 3}, {100, -1, -2, 103}, {200, -3, -4, 203}, {300, 301, 302, 303}}));
  EXPECT_EQ(PtrSource->MbrVecRows, (std::vector<std::vector<double>>{{-1, -2}, {-3, -4}}));
}

TEST(TMapTools, InsertOfAFinerSourceKeepsTheLastCellWrittenRowByRow) {
  auto PtrDest = MakeGrid(0, 0, 2, Numbered(2, 2));
  auto PtrSource = MakeGrid(0, 0, 1, Numbered(4, 4));  // four source centres per destination cell
  TMapTools::Insert(PtrDest.get(), PtrSource.get());
  EXPECT_EQ(PtrDest->MbrVecRows, (std::vector<std::vector<double>>{{101, 103}, {301, 303}}));
}

TEST(TMapTools, InsertWritesTheCellsBeforeAShortSourceRow) {
  auto PtrDest = MakeGrid(0, 0, 1, Numbered(4, 4));
  auto PtrSource = MakeGrid(1, 1, 1, {{-1, -2}, {-3, -4}});
  PtrSource->MbrVecRows[1].resize(1);
  EXPECT_THROW_MSG(TMapTools::Insert(PtrDest.get(), PtrSource.get()),
                   "X-ordinate is out of range in TMap::GetPointVal");
  EXPECT_EQ(PtrDest->MbrVecRows,
            (std::vector<std::vector<double>>{
                {0, 1, 2, 3}, {100, -1, -2, 103}, {200, -3, 202, 203}, {300, 301, 302, 303}}));
}

TEST(TMapTools, InsertRefusesSourcesBeyondTheDestination) {
  auto PtrDest = MakeGrid(0, 0, 1, Numbered(4, 4));
  const auto Before = PtrDest->MbrVecRows;
  const struct {
    double DblXll, DblYll;
    const char* ChrMessage;
  } Cases[] = {
      {1, 3, "Insert map's NW corner is outside of the destination map in TMapTools::Insert"},
      {-1, 1, "Insert map's NW corner is outside of the destination map in TMapTools::Insert"},
      {1, -1, "Insert map's SE corner is outside of the destination map in TMapTools::Insert"},
      {3, 1, "Insert map's SE corner is outside of the destination map in TMapTools::Insert"},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.ChrMessage);
    auto PtrSource = MakeGrid(Case.DblXll, Case.DblYll, 1, {{-1, -2}, {-3, -4}});
    EXPECT_THROW_MSG(TMapTools::Insert(PtrDest.get(), PtrSource.get()), Case.ChrMessage);
    EXPECT_EQ(PtrDest->MbrVecRows, Before);
  }
}

TEST(TMapTools, InsertNeverWritesPastAShortDestinationRow) {
  auto PtrDest = MakeGrid(0, 0, 1, Numbered(4, 4));
  PtrDest->MbrVecRows[1].resize(2);  // as a row added short by AddRow leaves it
  auto PtrSource = MakeGrid(1, 1, 1, {{-1, -2}, {-3, -4}});  // columns 1-2, rows 1-2
  EXPECT_THROW_MSG(TMapTools::Insert(PtrDest.get(), PtrSource.get()),
                   "LngX is out of range in TMap::GetPointVal");
  EXPECT_EQ(PtrDest->MbrVecRows[1], (std::vector<double>{100, -1}));  // written up to the failure
}
