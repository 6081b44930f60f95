#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "TAxis.h"
#include "TMap.h"
#include "TMapTools.h"

namespace {
// A square map on unit cells whose cells hold `ClassOf(column, row)`.
template <typename TClassOf>
std::unique_ptr<TMap> MakeClassMap(long LngSize, TClassOf ClassOf) {
  TAxis XAxis(1.0);
  TAxis YAxis(1.0);
  for (long LngI = 0; LngI < LngSize; ++LngI) {
    XAxis.AddPoint(new TPoint(static_cast<double>(LngI) + 0.5, 0.0));
    YAxis.AddPoint(new TPoint(0.0, static_cast<double>(LngSize - LngI) - 0.5));
  }
  auto PtrMap = std::make_unique<TMap>(&XAxis, &YAxis);
  for (long LngY = 0; LngY < LngSize; ++LngY) {
    for (long LngX = 0; LngX < LngSize; ++LngX) PtrMap->SetPoint(LngX, LngY, ClassOf(LngX, LngY));
  }
  return PtrMap;
}

// 64 zones in horizontal bands of 16 rows each cut into 4 blocks of columns: long runs down
// each column, as in land-use or catchment maps.
double BandedZone(long LngX, long LngY) {
  return static_cast<double>((LngY / 16) % 16 * 4 + LngX * 4 / 1000);
}

void BM_GetValuesOverlay(benchmark::State& State) {
  auto PtrZones = MakeClassMap(1000, BandedZone);
  auto PtrValues =
      MakeClassMap(1000, [](long LngX, long LngY) { return static_cast<double>(LngX * 7 + LngY); });
  const std::vector<double> VecExcluded = {-9999, 3, 17, 40, 41};
  for (auto _ : State) {
    benchmark::DoNotOptimize(
        TMapTools::GetValuesOverlay(PtrValues.get(), PtrZones.get(), VecExcluded));
  }
  State.SetItemsProcessed(State.iterations() * 1000 * 1000);
}

void BM_GetFirstValues(benchmark::State& State) {
  const bool BlnNoisy = State.range(0) != 0;
  auto PtrMap = BlnNoisy ? MakeClassMap(1000,
                                        [](long LngX, long LngY) {
                                          return static_cast<double>((LngX * 31 + LngY * 17) % 256);
                                        })
                         : MakeClassMap(1000, BandedZone);
  const std::vector<double> VecExcluded = {-9999, 3, 17, 40, 41};
  for (auto _ : State) {
    auto MapPoints = TMapTools::GetFirstValues(PtrMap.get(), VecExcluded);
    benchmark::DoNotOptimize(MapPoints);
    TMapTools::DeletePoints(MapPoints);
  }
  State.SetItemsProcessed(State.iterations() * 1000 * 1000);
}

void BM_FindPatchExtent(benchmark::State& State) {
  auto PtrMap = MakeClassMap(1000, BandedZone);
  long LngNorth = 0, LngSouth = 0, LngWest = 0, LngEast = 0;
  for (auto _ : State) {
    TMapTools::FindPatchExtent(PtrMap.get(), 21, LngNorth, LngSouth, LngWest, LngEast);
    benchmark::DoNotOptimize(LngSouth);
  }
  State.SetItemsProcessed(State.iterations() * 1000 * 1000);
}
}  // namespace

BENCHMARK(BM_GetValuesOverlay)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetFirstValues)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindPatchExtent)->Unit(benchmark::kMillisecond);
