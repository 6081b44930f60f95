// Property tests: random maps written as grid files and read back are identical bit for bit
// (every NaN reads back as a NaN), through the stream and the file-name forms.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <random>
#include <sstream>
#include <string>

#include "MapFixtures.h"
#include "TARCGISFileTools.h"

using gridclip_test::MakeGrid;

namespace {
using TLimits = std::numeric_limits<double>;

double FromBits(std::uint64_t IntBits) {
  double DblValue = 0.0;
  std::memcpy(&DblValue, &IntBits, sizeof DblValue);
  return DblValue;
}

std::uint64_t ToBits(double DblValue) {
  std::uint64_t IntBits = 0;
  std::memcpy(&IntBits, &DblValue, sizeof IntBits);
  return IntBits;
}

// Draws doubles from the kinds that break text round trips.
class TValueSource {
 public:
  explicit TValueSource(std::uint64_t IntSeed) : MbrEngine(IntSeed) {}

  // Any value, NaN and infinities included.
  double Any() {
    switch (Pick(9)) {
      case 0:  // integers, some beyond 2^31, some near 2^53
        return static_cast<double>(static_cast<long long>(MbrEngine() >> (11 + Pick(40))) *
                                   (Pick(2) ? 1 : -1));
      case 1:  // six significant digits at scales from 1e-8 to 1e3
        return static_cast<double>(static_cast<long>(Pick(1999999)) - 999999) *
               std::pow(10.0, static_cast<double>(Pick(12)) - 14.0);
      case 2:  // random bit patterns of normal doubles: most need 16 or 17 digits
        return Finite();
      case 3:  // subnormals
        return FromBits((MbrEngine() & 0x800FFFFFFFFFFFFFULL) | 1);
      case 4: {  // the largest and smallest magnitudes
        const double Extremes[] = {TLimits::max(), std::nextafter(TLimits::max(), 0.0),
                                   TLimits::min(), TLimits::denorm_min(), TLimits::epsilon()};
        return Extremes[Pick(5)] * (Pick(2) ? 1 : -1);
      }
      case 5:
        return Pick(2) ? -0.0 : 0.0;
      case 6:
        return Pick(2) ? TLimits::quiet_NaN() : -TLimits::quiet_NaN();
      case 7:
        return Pick(2) ? TLimits::infinity() : -TLimits::infinity();
      default:  // decimals people write: 0.1, 1234.5678, 4512345.5
        return static_cast<double>(static_cast<long long>(Pick(100000000))) /
               std::pow(10.0, static_cast<double>(Pick(9)));
    }
  }

  // A finite value of any magnitude.
  double Finite() {
    for (;;) {
      const double DblValue = FromBits(MbrEngine());
      if (std::isfinite(DblValue)) return DblValue;
    }
  }

  // A value the header accepts as a corner: finite, from every kind above.
  double Corner() {
    for (;;) {
      const double DblValue = Any();
      if (std::isfinite(DblValue)) return DblValue;
    }
  }

  double CellSize() { return std::fabs(Corner()) + TLimits::denorm_min(); }

  long Dimension() { return static_cast<long>(Pick(12)) + 1; }

 private:
  std::uint64_t Pick(std::uint64_t IntCount) { return MbrEngine() % IntCount; }
  std::mt19937_64 MbrEngine;
};

std::unique_ptr<TMap> RandomMap(TValueSource& Values) {
  const long LngCols = Values.Dimension();
  const long LngRows = Values.Dimension();
  std::vector<std::vector<double>> Rows(static_cast<std::size_t>(LngRows));
  for (auto& VecRow : Rows) {
    for (long LngX = 0; LngX < LngCols; ++LngX) VecRow.push_back(Values.Any());
  }
  // Corners and cell sizes whose grid reaches past the largest double are refused by the
  // reader; they are drawn again.
  for (;;) {
    const double DblXll = Values.Corner();
    const double DblYll = Values.Corner();
    const double DblCell = Values.CellSize();
    auto PtrMap = MakeGrid(DblXll, DblYll, DblCell, Rows, Values.Corner());
    if (std::isfinite(PtrMap->MbrPtrXAxisInterval->GetPoint(LngCols)->MbrDblX) &&
        std::isfinite(PtrMap->MbrPtrYAxisInterval->GetPoint(0)->MbrDblY)) {
      return PtrMap;
    }
  }
}

::testing::AssertionResult SameBits(double DblIn, double DblOut) {
  if (std::isnan(DblIn) ? std::isnan(DblOut) : ToBits(DblIn) == ToBits(DblOut)) {
    return ::testing::AssertionSuccess();
  }
  std::ostringstream Text;
  Text.precision(17);
  Text << DblIn << " came back as " << DblOut;
  return ::testing::AssertionFailure() << Text.str();
}

void ExpectSameGrid(const TMap& In, const TMap& Out) {
  ASSERT_EQ(Out.MbrLngXDim, In.MbrLngXDim);
  ASSERT_EQ(Out.MbrLngYDim, In.MbrLngYDim);
  EXPECT_TRUE(SameBits(In.MbrDblResolution, Out.MbrDblResolution));
  EXPECT_TRUE(SameBits(In.MbrDblNoDataValue, Out.MbrDblNoDataValue));
  EXPECT_TRUE(SameBits(In.MbrPtrXAxisInterval->GetPoint(0)->MbrDblX,
                       Out.MbrPtrXAxisInterval->GetPoint(0)->MbrDblX));
  EXPECT_TRUE(SameBits(In.MbrPtrYAxisInterval->GetPoint(In.MbrLngYDim)->MbrDblY,
                       Out.MbrPtrYAxisInterval->GetPoint(Out.MbrLngYDim)->MbrDblY));
  for (long LngY = 0; LngY < In.MbrLngYDim; ++LngY) {
    for (long LngX = 0; LngX < In.MbrLngXDim; ++LngX) {
      EXPECT_TRUE(SameBits(In.GetPointVal(LngX, LngY), Out.GetPointVal(LngX, LngY)))
          << "cell " << LngX << ", " << LngY;
    }
  }
}

std::string Write(TMap* PtrMap) {
  std::ostringstream Stream;
  TARCGISFileTools::WriteARCGISFile(PtrMap, Stream);
  return Stream.str();
}

constexpr int MapCount = 300;
}  // namespace

TEST(TARCGISFileTools, RandomMapsRoundTripBitForBitThroughStreams) {
  TValueSource Values(20240611);
  for (int IntI = 0; IntI < MapCount; ++IntI) {
    SCOPED_TRACE("map " + std::to_string(IntI));
    const auto PtrMap = RandomMap(Values);
    const std::string StgText = Write(PtrMap.get());
    std::istringstream Stream(StgText);
    const std::unique_ptr<TMap> PtrBack(TARCGISFileTools::LoadARCGISFile(Stream));
    ExpectSameGrid(*PtrMap, *PtrBack);
    EXPECT_EQ(Write(PtrBack.get()), StgText);
    if (HasFailure()) return;
  }
}

TEST(TARCGISFileTools, RandomMapsRoundTripBitForBitThroughFiles) {
  const std::filesystem::path Folder =
      std::filesystem::temp_directory_path() /
      ("gridclip_roundtrip_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  std::filesystem::create_directories(Folder);
  const std::string StgFile = (Folder / "map.asc").string();
  TValueSource Values(77);
  for (int IntI = 0; IntI < MapCount; ++IntI) {
    SCOPED_TRACE("map " + std::to_string(IntI));
    const auto PtrMap = RandomMap(Values);
    TARCGISFileTools::WriteARCGISFile(PtrMap.get(), StgFile);
    const std::unique_ptr<TMap> PtrBack(TARCGISFileTools::LoadARCGISFile(StgFile));
    ExpectSameGrid(*PtrMap, *PtrBack);
    if (HasFailure()) break;
  }
  std::filesystem::remove_all(Folder);
}

TEST(TARCGISFileTools, ValuesThatBreakNaiveFormattingRoundTrip) {
  // the values named one by one, so a failure names the value
  const double Values[] = {0.1,
                           0.30000000000000004,
                           1.0 / 3,
                           1234.5678,
                           4512345.5,
                           123456.789012345,
                           9007199254740993.0,
                           -0.0,
                           TLimits::max(),
                           -TLimits::max(),
                           std::nextafter(TLimits::max(), 0.0),
                           TLimits::min(),
                           std::nextafter(TLimits::min(), 0.0),
                           TLimits::denorm_min(),
                           -TLimits::denorm_min(),
                           2.2250738585072009e-308,
                           1e23,
                           5e-324,
                           9.5367431640625e-07,
                           TLimits::infinity(),
                           -TLimits::infinity(),
                           TLimits::quiet_NaN()};
  for (double DblValue : Values) {
    const double DblFinite = std::isfinite(DblValue) ? DblValue : -9999.0;
    const auto PtrMap = MakeGrid(DblFinite, -0.0, 1, {{DblValue, -DblValue}}, DblFinite);
    std::istringstream Stream(Write(PtrMap.get()));
    const std::unique_ptr<TMap> PtrBack(TARCGISFileTools::LoadARCGISFile(Stream));
    SCOPED_TRACE(Write(PtrMap.get()));
    ExpectSameGrid(*PtrMap, *PtrBack);
  }
}
