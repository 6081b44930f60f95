#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "ErrorText.h"
#include "MapFixtures.h"
#include "StackFixtures.h"
#include "TMapTools.h"
#include "TVectorTools.h"

using gridclip_test::MakeStack;
using gridclip_test::MakeUniformStack;
using gridclip_test::Ordinates;
using gridclip_test::Own;
using gridclip_test::TRows;

namespace {
constexpr double NoData = -9999.0;
const double NaN = std::numeric_limits<double>::quiet_NaN();

// A 3 x 3 map holding `DblCentre` at (1, 1) and zeros around it.
TRows Centred(double DblCentre) {
  return {{0, 0, 0}, {0, DblCentre, 0}, {0, 0, 0}};
}

bool SameBits(double DblA, double DblB) {
  return std::memcmp(&DblA, &DblB, sizeof DblA) == 0;
}
}  // namespace

TEST(TMapTools, GetValuesVectorReturnsTheCellsRunAsStored) {
  const auto Stack = MakeStack({{{1, 1}, {1, 5}}, {{0, 0}, {0, 0}}, {{1, 1}, {1, NoData}}});
  EXPECT_EQ(TMapTools::GetValuesVector(Stack.Maps(), 1, 1, 0, 2),
            (std::vector<double>{5, 0, NoData}));
  EXPECT_EQ(TMapTools::GetValuesVector(Stack.Maps(), 0, 1, 1, 2), (std::vector<double>{0, 1}));
  // Each map is checked against its own size.
  const auto Other = MakeStack({{{9, 9, 9}, {9, 8, 9}}});
  EXPECT_EQ(TMapTools::GetValuesVector({&Stack[0], &Other[0]}, 1, 1, 0, 1),
            (std::vector<double>{5, 8}));
}

TEST(TMapTools, GetValuesVectorRefusesBadRunsAndCells) {
  const auto Stack = MakeUniformStack({5, 6, 7}, 2, 2);
  const std::string StgStart = "Start map number is out of range in TMapTools::GetValuesVector";
  const std::string StgEnd = "End map number is out of range in TMapTools::GetValuesVector";
  const std::string StgOrder = "Stat map number must be less than end map number";
  const std::string StgX = "X-ordinate is out of range in TMap::GetPointVal";
  const std::string StgY = "Y-ordinate is out of range in TMap::GetPointVal";
  struct TCase {
    long LngX, LngY;
    int IntStart, IntEnd;
    std::string StgText;
  };
  const std::vector<TCase> Cases = {
      // x, y, start, end, message
      {0, 0, -1, 2, StgStart}, {0, 0, 3, 0, StgStart}, {0, 0, 0, 3, StgEnd},
      {0, 0, 1, -1, StgEnd},   {0, 0, 1, 1, StgOrder}, {0, 0, 2, 1, StgOrder},
      {2, 0, 0, 2, StgX},      {-1, 5, 0, 2, StgX},    {1, 2, 0, 2, StgY},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(std::to_string(Case.LngX) + "," + std::to_string(Case.LngY) + " maps " +
                 std::to_string(Case.IntStart) + ".." + std::to_string(Case.IntEnd));
    EXPECT_THROW_MSG(
        TMapTools::GetValuesVector(Stack.Maps(), Case.LngX, Case.LngY, Case.IntStart, Case.IntEnd),
        Case.StgText);
  }
}

TEST(TMapTools, FindNonzeroNeighbourValScansColumnsWestToEastAndRowsNorthToSouth) {
  struct TCase {
    const char* ChrName;
    TRows Rows;
    long LngX, LngY;
    double DblExpected;
  };
  const std::vector<TCase> Cases = {
      // name, 4 x 4 map, cell, expected
      {"all zero", {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}, 1, 1, 0},
      {"negative zero is zero",
       {{-0.0, 0, 0, 0}, {0, -0.0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}},
       1,
       1,
       0},
      {"the cell itself", {{0, 0, 0, 0}, {0, 7, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}, 1, 1, 7},
      {"higher column beats the cell",
       {{0, 0, 0, 0}, {0, 7, 0, 0}, {0, 0, 8, 0}, {0, 0, 0, 0}},
       1,
       1,
       8},
      {"lower row first", {{0, 0, 6, 0}, {0, 0, 0, 0}, {0, 0, 8, 0}, {0, 0, 0, 0}}, 1, 1, 6},
      {"no-data value is non-zero",
       {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, NoData, 0}, {0, 0, 0, 0}},
       1,
       1,
       NoData},
      {"outside the block is ignored",
       {{0, 0, 0, 9}, {0, 0, 0, 9}, {0, 0, 0, 9}, {9, 9, 9, 9}},
       1,
       1,
       0},
      {"corner sees 2 x 2", {{0, 0, 5, 0}, {0, 0, 0, 0}, {5, 0, 0, 0}, {0, 0, 0, 0}}, 0, 0, 0},
      {"corner finds its neighbour",
       {{0, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}},
       0,
       0,
       3},
      {"south-east corner", {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 2, 0}, {0, 0, 0, 1}}, 3, 3, 1},
      {"eastern edge", {{0, 0, 0, 0}, {0, 0, 4, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}, 3, 1, 4},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.ChrName);
    const auto PtrMap = gridclip_test::MakeGrid(0, 0, 1, Case.Rows);
    const double DblFound = TMapTools::FindNonzeroNeighbourVal(PtrMap.get(), Case.LngX, Case.LngY);
    EXPECT_TRUE(SameBits(DblFound, Case.DblExpected)) << DblFound;
  }
  const auto PtrNaN = gridclip_test::MakeGrid(0, 0, 1, {{0, 0}, {0, NaN}});
  EXPECT_TRUE(std::isnan(TMapTools::FindNonzeroNeighbourVal(PtrNaN.get(), 0, 0)));
}

TEST(TMapTools, FindNonzeroNeighbourValRefusesCellsOutsideTheMap) {
  const auto PtrMap = gridclip_test::MakeGrid(0, 0, 1, {{1, 2, 3}, {4, 5, 6}});
  const std::string StgX = "X-ordinate is out of range in TMapTools::FindNonzeroNeighbourVal";
  const std::string StgY = "Y-ordinate is out of range in TMapTools::FindNonzeroNeighbourVal";
  EXPECT_THROW_MSG(TMapTools::FindNonzeroNeighbourVal(PtrMap.get(), -1, 0), StgX);
  EXPECT_THROW_MSG(TMapTools::FindNonzeroNeighbourVal(PtrMap.get(), 3, 0), StgX);
  EXPECT_THROW_MSG(TMapTools::FindNonzeroNeighbourVal(PtrMap.get(), 3, 9), StgX);
  EXPECT_THROW_MSG(TMapTools::FindNonzeroNeighbourVal(PtrMap.get(), 0, -1), StgY);
  EXPECT_THROW_MSG(TMapTools::FindNonzeroNeighbourVal(PtrMap.get(), 2, 2), StgY);
}

TEST(TMapTools, ValueGradientsGivesOneMapPerWindowPosition) {
  const auto Stack = MakeUniformStack({1, 2, 3, 4}, 3, 2);
  for (int IntWindow : {1, 2, 3, 4}) {
    SCOPED_TRACE(IntWindow);
    const auto Results = Own(TMapTools::ValueGradients(Stack.Maps(), IntWindow));
    ASSERT_EQ(Results.size(), static_cast<std::size_t>(4 - IntWindow));
    for (const auto& PtrResult : Results) {
      EXPECT_EQ(PtrResult->MbrVecRows, (TRows{{1, 1, 1}, {1, 1, 1}}));
      EXPECT_EQ(PtrResult->MbrDblNoDataValue, NoData);
      EXPECT_EQ(Ordinates(*PtrResult->MbrPtrXAxis, 'X'), Ordinates(*Stack[0].MbrPtrXAxis, 'X'));
      EXPECT_EQ(Ordinates(*PtrResult->MbrPtrYAxis, 'Y'), Ordinates(*Stack[0].MbrPtrYAxis, 'Y'));
    }
  }
  // Window i covers maps i to i + w: here 1, 4, 9 and then 4, 9, 10.
  const auto Curved = MakeUniformStack({1, 4, 9, 10}, 1, 1);
  const auto Results = Own(TMapTools::ValueGradients(Curved.Maps(), 2));
  ASSERT_EQ(Results.size(), 2u);
  EXPECT_EQ(Results[0]->GetPointVal(0, 0), 4);
  EXPECT_EQ(Results[1]->GetPointVal(0, 0), 3);
}

TEST(TMapTools, ValueGradientsChecksWindowThenShape) {
  const auto Stack = MakeUniformStack({1, 2, 3, 4}, 3, 2);
  const auto Wide = MakeUniformStack({1}, 2, 3);
  const std::string StgPositive = "Window size must be > 0 in TMapTools::ValueGradients";
  const std::string StgLonger = "Window size must be < number of maps in TMapTools::ValueGradients";
  const std::string StgShape = "Map dimensions do not match in TMapTools::ValueGradients";
  EXPECT_THROW_MSG(TMapTools::ValueGradients(Stack.Maps(), 5), StgLonger);
  EXPECT_THROW_MSG(TMapTools::ValueGradients({}, 1), StgLonger);
  EXPECT_THROW_MSG(TMapTools::ValueGradients(Stack.Maps(), 0), StgPositive);
  EXPECT_THROW_MSG(TMapTools::ValueGradients(Stack.Maps(), -1), StgPositive);
  EXPECT_THROW_MSG(TMapTools::ValueGradients({}, 0), StgPositive);
  const std::vector<TMap*> VecMixed = {&Stack[0], &Stack[1], &Wide[0]};
  EXPECT_THROW_MSG(TMapTools::ValueGradients(VecMixed, 2), StgShape);
  EXPECT_THROW_MSG(TMapTools::ValueGradients(VecMixed, 3), StgShape);
  EXPECT_THROW_MSG(TMapTools::ValueGradients(VecMixed, 0), StgPositive);
  EXPECT_THROW_MSG(TMapTools::ValueGradients(VecMixed, 4), StgLonger);
}

TEST(TMapTools, ValueGradientsTreatsZeroAsMissingAndLeavesOutNoData) {
  const TRows Zeros = Centred(0);
  struct TCase {
    const char* ChrName;
    std::vector<TRows> VecGrids;
    double DblExpected;  // slope at the centre of the first window
  };
  TRows WithFour = Zeros;
  WithFour[0][2] = 4;
  TRows WithNoData = Zeros;
  WithNoData[2][0] = NoData;
  const std::vector<TCase> Cases = {
      // name, maps, slope
      {"rising", {Centred(1), Centred(2), Centred(3)}, 1},
      {"falling", {Centred(3), Centred(2), Centred(1)}, -1},
      {"zero with an all-zero block stays zero", {Centred(1), Centred(2), Centred(3), Zeros}, -0.2},
      {"zero takes the block's non-zero value", {Centred(1), Centred(2), Centred(3), WithFour}, 1},
      {"no-data value is left out", {Centred(1), Centred(NoData), Centred(3)}, 1},
      {"zero replaced by no-data is left out", {Centred(1), WithNoData, Centred(3)}, 1},
      {"one value left gives NaN", {Centred(5), Centred(NoData), Centred(NoData)}, NaN},
      {"first value NaN goes on", {Centred(NaN), Centred(2), Centred(3)}, NaN},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.ChrName);
    const auto Stack = MakeStack(Case.VecGrids);
    const int IntWindow = static_cast<int>(Case.VecGrids.size()) - 1;
    const auto Results = Own(TMapTools::ValueGradients(Stack.Maps(), IntWindow));
    ASSERT_FALSE(Results.empty());
    const double DblSlope = Results[0]->GetPointVal(1, 1);
    if (std::isnan(Case.DblExpected)) {
      EXPECT_TRUE(std::isnan(DblSlope)) << DblSlope;
    } else {
      EXPECT_NEAR(DblSlope, Case.DblExpected, 1e-12);
    }
    // The zeros around the centre of the first map keep the result's no-data value.
    EXPECT_EQ(Results[0]->GetPointVal(0, 0), NoData);
    EXPECT_EQ(Results[0]->GetPointVal(2, 2), NoData);
  }
}

TEST(TMapTools, ValueGradientsJudgesEachMapByItsOwnNoDataValue) {
  auto Stack = MakeStack({Centred(1), Centred(-1), Centred(NoData), Centred(4)});
  Stack[1].MbrDblNoDataValue = -1.0;
  Stack[2].MbrDblNoDataValue = -1.0;
  const auto Results = Own(TMapTools::ValueGradients(Stack.Maps(), 3));
  // Values 1, 4 at positions 0, 3 and -9999 at 2 (data for its map): the fit of all three.
  EXPECT_EQ(Results[0]->GetPointVal(1, 1), TVectorTools::Gradient({0, 2, 3}, {1, NoData, 4}));
}

TEST(TMapTools, ValueGradientsFirstZeroOfAWindowGivesNoData) {
  const auto Stack = MakeStack({{{0.0, -0.0, 1}}, {{5, 5, 0}}, {{6, 6, 2}}, {{7, 7, 3}}});
  const auto Results = Own(TMapTools::ValueGradients(Stack.Maps(), 2));
  ASSERT_EQ(Results.size(), 2u);
  // Window 0: two missing first values; the third cell's 0 becomes its neighbour's 5.
  EXPECT_EQ(Results[0]->MbrVecRows, (TRows{{NoData, NoData, 0.5}}));
  // Window 1 starts at map 1, where the third cell is 0: no data, whatever maps 2 and 3 hold.
  EXPECT_EQ(Results[1]->MbrVecRows, (TRows{{1, 1, NoData}}));
}

// The per-cell fit must give, bit for bit, what the step-by-step definition gives: the cell's
// run, zeros replaced from the neighbourhood, no-data pairs left out, `TVectorTools::Gradient`.
TEST(TMapTools, ValueGradientsMatchesTheStepByStepFitBitForBit) {
  std::mt19937 Generator(20240611u);
  std::uniform_real_distribution<double> Uniform(-50.0, 50.0);
  std::uniform_int_distribution<int> Kind(0, 9);
  const long LngCols = 7;
  const long LngRows = 5;
  std::vector<TRows> VecGrids(9, TRows(LngRows, std::vector<double>(LngCols)));
  for (auto& Rows : VecGrids) {
    for (auto& VecRow : Rows) {
      for (double& DblCell : VecRow) {
        const int IntKind = Kind(Generator);
        DblCell = IntKind < 3 ? 0.0 : IntKind == 3 ? NoData : Uniform(Generator);
      }
    }
  }
  const auto Stack = MakeStack(VecGrids);
  const std::vector<TMap*> VecMaps = Stack.Maps();
  for (int IntWindow : {1, 2, 4, 8}) {
    SCOPED_TRACE(IntWindow);
    const auto Results = Own(TMapTools::ValueGradients(VecMaps, IntWindow));
    ASSERT_EQ(Results.size(), VecMaps.size() - static_cast<std::size_t>(IntWindow));
    for (std::size_t SizeI = 0; SizeI < Results.size(); ++SizeI) {
      const int IntStart = static_cast<int>(SizeI);
      const std::vector<double> VecPositions =
          TVectorTools::VectorSeries(IntStart, IntStart + IntWindow, 1);
      for (long LngX = 0; LngX < LngCols; ++LngX) {
        for (long LngY = 0; LngY < LngRows; ++LngY) {
          double DblExpected = NoData;
          if (VecMaps[SizeI]->GetPointVal(LngX, LngY) != 0.0) {
            std::vector<double> VecValues =
                TMapTools::GetValuesVector(VecMaps, LngX, LngY, IntStart, IntStart + IntWindow);
            std::vector<double> VecKeptX;
            std::vector<double> VecKeptY;
            for (std::size_t SizeK = 0; SizeK < VecValues.size(); ++SizeK) {
              const TMap* PtrMap = VecMaps[SizeI + SizeK];
              if (VecValues[SizeK] == 0.0) {
                VecValues[SizeK] = TMapTools::FindNonzeroNeighbourVal(PtrMap, LngX, LngY);
              }
              if (VecValues[SizeK] == PtrMap->MbrDblNoDataValue) continue;
              VecKeptX.push_back(VecPositions[SizeK]);
              VecKeptY.push_back(VecValues[SizeK]);
            }
            DblExpected = TVectorTools::Gradient(VecKeptX, VecKeptY);
          }
          const double DblActual = Results[SizeI]->GetPointVal(LngX, LngY);
          EXPECT_TRUE(SameBits(DblActual, DblExpected) ||
                      (std::isnan(DblActual) && std::isnan(DblExpected)))
              << "window " << SizeI << " cell " << LngX << "," << LngY << ": " << DblActual
              << " vs " << DblExpected;
        }
      }
    }
  }
}
