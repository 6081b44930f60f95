#include <benchmark/benchmark.h>

#include <memory>

#include "TAxis.h"
#include "TMap.h"
#include "TMapTools.h"

namespace {
// A square map of `LngSize` cells of `DblCell` whose lower-left corner is (`DblXll`,
// `DblYll`), with edge axes built by running sums as the grid reader builds them.
std::unique_ptr<TMap> MakeSquareMap(long LngSize, double DblCell, double DblXll, double DblYll) {
  auto PtrMap = std::make_unique<TMap>(DblCell, LngSize, LngSize);
  for (long LngY = 0; LngY < LngSize; ++LngY) {
    for (long LngX = 0; LngX < LngSize; ++LngX) {
      PtrMap->SetPoint(LngX, LngY, static_cast<double>((LngX * 7 + LngY * 13) % 101));
    }
  }
  TAxis XEdges(DblCell);
  TAxis YEdges(DblCell);
  const double DblNorth = DblYll + static_cast<double>(LngSize) * DblCell;
  double DblX = DblXll;
  double DblY = DblNorth;
  for (long LngI = 0; LngI <= LngSize; ++LngI) {
    XEdges.AddPoint(new TPoint(DblX, DblNorth));
    YEdges.AddPoint(new TPoint(DblXll, DblY));
    DblX += DblCell;
    DblY -= DblCell;
  }
  PtrMap->SetXAxisInterval(&XEdges);
  PtrMap->SetYAxisInterval(&YEdges);
  return PtrMap;
}

// Add of a fine map of N x N cells of 30 and a coarse map of cells of 90 that covers it with
// a margin, so that every fine centre is looked up in the coarse map.
void BM_AddFineAndCoarse(benchmark::State& State) {
  const long LngSize = State.range(0);
  auto PtrFine = MakeSquareMap(LngSize, 30.0, 500000.0, 4000000.0);
  auto PtrCoarse = MakeSquareMap(LngSize / 3 + 2, 90.0, 500000.0 - 90.0, 4000000.0 - 90.0);
  for (auto _ : State) {
    std::unique_ptr<TMap> PtrSum(TMapTools::Add(PtrFine.get(), PtrCoarse.get()));
    benchmark::DoNotOptimize(PtrSum.get());
  }
  State.SetItemsProcessed(State.iterations() * LngSize * LngSize);
}
}  // namespace

// From 1000 to 2000 the maps (16 MB, then 64 MB) outgrow the caches; 2000 to 4000 compares
// two sizes that both leave them.
BENCHMARK(BM_AddFineAndCoarse)->Arg(1000)->Arg(2000)->Arg(4000)->Unit(benchmark::kMillisecond);
