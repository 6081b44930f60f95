#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "../tests/MapFixtures.h"
#include "TMapTools.h"

namespace {
// A square map of `LngSize` cells of 30 m laid out as the grid reader lays it out.
std::unique_ptr<TMap> MakeSquareMap(long LngSize) {
  std::vector<std::vector<double>> Rows(static_cast<std::size_t>(LngSize),
                                        std::vector<double>(static_cast<std::size_t>(LngSize)));
  for (std::size_t SizeY = 0; SizeY < Rows.size(); ++SizeY) {
    for (std::size_t SizeX = 0; SizeX < Rows.size(); ++SizeX) {
      Rows[SizeY][SizeX] = std::sin(0.01 * static_cast<double>(SizeX)) * static_cast<double>(SizeY);
    }
  }
  return gridclip_test::MakeGrid(500000.0, 4000000.0, 30.0, Rows);
}

// The map form to half the source's cell size: four result cells per source cell.
void BM_BilinearInterpolateMapToHalfCell(benchmark::State& State) {
  const auto PtrSource = MakeSquareMap(State.range(0));
  long LngCells = 0;
  for (auto _ : State) {
    std::unique_ptr<TMap> PtrResult(TMapTools::BilinearInterpolate(PtrSource.get(), 15.0));
    LngCells = PtrResult->MbrLngXDim * PtrResult->MbrLngYDim;
    benchmark::DoNotOptimize(PtrResult->MbrVecRows.data());
  }
  State.SetItemsProcessed(State.iterations() * LngCells);
}

// The empty result grid alone, the part of the map form that samples nothing.
void BM_DownscaleToHalfCell(benchmark::State& State) {
  const auto PtrSource = MakeSquareMap(State.range(0));
  for (auto _ : State) {
    std::unique_ptr<TMap> PtrResult(TMapTools::Downscale(PtrSource.get(), 15.0));
    benchmark::DoNotOptimize(PtrResult->MbrVecRows.data());
  }
  State.SetItemsProcessed(State.iterations() * 4 * State.range(0) * State.range(0));
}
}  // namespace

// From 500 to 1000 the result (8 MB, then 32 MB) outgrows the caches; 1000 to 2000 compares
// two sizes that both leave them.
BENCHMARK(BM_BilinearInterpolateMapToHalfCell)
    ->Arg(500)
    ->Arg(1000)
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DownscaleToHalfCell)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond);
