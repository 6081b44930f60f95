#include <benchmark/benchmark.h>

#include <cstddef>
#include <memory>
#include <vector>

#include "StackFixtures.h"
#include "TMapTools.h"

namespace {
// `LngMaps` maps of `LngSide` x `LngSide` cells holding varied values, with about one cell in
// 97 at 0 (so gradients search neighbourhoods) and one in 89 without data.
gridclip_test::TStack MakeBenchStack(long LngMaps, long LngSide) {
  std::vector<gridclip_test::TRows> VecGrids;
  unsigned long UlnState = 12345u;
  for (long LngM = 0; LngM < LngMaps; ++LngM) {
    gridclip_test::TRows Rows(static_cast<std::size_t>(LngSide),
                              std::vector<double>(static_cast<std::size_t>(LngSide)));
    for (auto& VecRow : Rows) {
      for (double& DblCell : VecRow) {
        UlnState = UlnState * 6364136223846793005ul + 1442695040888963407ul;
        const unsigned long UlnDraw = UlnState >> 33;
        DblCell = UlnDraw % 97 == 0   ? 0.0
                  : UlnDraw % 89 == 0 ? -9999.0
                                      : static_cast<double>(UlnDraw % 10000) / 100.0;
      }
    }
    VecGrids.push_back(std::move(Rows));
  }
  return gridclip_test::MakeStack(VecGrids);
}

void BM_StackAverage(benchmark::State& State) {
  const long LngSide = State.range(0);
  const auto Stack = MakeBenchStack(10, LngSide);
  const std::vector<TMap*> VecMaps = Stack.Maps();
  for (auto _ : State) {
    std::unique_ptr<TMap> PtrAverage(TMapTools::Average(VecMaps));
    benchmark::DoNotOptimize(PtrAverage.get());
  }
  State.SetItemsProcessed(State.iterations() * LngSide * LngSide);
}

// The first of the three passes of `Average`, to show where its time goes.
void BM_StackSum(benchmark::State& State) {
  const long LngSide = State.range(0);
  const auto Stack = MakeBenchStack(10, LngSide);
  const std::vector<TMap*> VecMaps = Stack.Maps();
  for (auto _ : State) {
    std::unique_ptr<TMap> PtrSum(TMapTools::Sum(VecMaps));
    benchmark::DoNotOptimize(PtrSum.get());
  }
  State.SetItemsProcessed(State.iterations() * LngSide * LngSide);
}

void BM_StackValueGradients(benchmark::State& State) {
  const long LngSide = State.range(0);
  const auto Stack = MakeBenchStack(20, LngSide);
  const std::vector<TMap*> VecMaps = Stack.Maps();
  for (auto _ : State) {
    const auto Results = gridclip_test::Own(TMapTools::ValueGradients(VecMaps, 5));
    benchmark::DoNotOptimize(Results.data());
  }
  // Cells of all window positions.
  State.SetItemsProcessed(State.iterations() * 15 * LngSide * LngSide);
}
}  // namespace

// 10 maps; 1000 x 1000 cells, 4x fewer and 4x more. From 500 to 1000 the stack (20 MB, then
// 80 MB) outgrows the caches; 1000 to 2000 compares two sizes that both leave them.
BENCHMARK(BM_StackAverage)->Arg(500)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StackSum)->Arg(1000)->Unit(benchmark::kMillisecond);
// 20 maps, window of 5; 500 x 500 cells and 4x fewer.
BENCHMARK(BM_StackValueGradients)->Arg(250)->Arg(500)->Unit(benchmark::kMillisecond);
