#include <benchmark/benchmark.h>

#include <memory>

#include "TAxis.h"

namespace {
// An edge axis of `LngSize` points built as the grid reader builds it: running sums.
std::unique_ptr<TAxis> MakeEdgeAxis(long LngSize, bool BlnIncreasing) {
  auto PtrAxis = std::make_unique<TAxis>(30.0);
  double DblValue = BlnIncreasing ? 500000.0 : 4512345.0;
  for (long LngI = 0; LngI < LngSize; ++LngI) {
    PtrAxis->AddPoint(new TPoint(DblValue, DblValue));
    DblValue += BlnIncreasing ? 30.0 : -30.0;
  }
  return PtrAxis;
}

void LookupsOnAxis(benchmark::State& State, bool BlnIncreasing) {
  const long LngSize = State.range(0);
  auto PtrAxis = MakeEdgeAxis(LngSize, BlnIncreasing);
  const double DblFirst = PtrAxis->GetPoint(0)->MbrDblX;
  const double DblStep = BlnIncreasing ? 30.0 : -30.0;
  long LngI = 0;
  for (auto _ : State) {
    const double DblOrdinate = DblFirst + (static_cast<double>(LngI) + 0.5) * DblStep;
    benchmark::DoNotOptimize(PtrAxis->GetIndex(DblOrdinate, 'X'));
    LngI = (LngI + 7919) % (LngSize - 1);
  }
  State.SetItemsProcessed(State.iterations());
}

void BM_AxisGetIndexIncreasing(benchmark::State& State) {
  LookupsOnAxis(State, true);
}
void BM_AxisGetIndexDecreasing(benchmark::State& State) {
  LookupsOnAxis(State, false);
}
}  // namespace

BENCHMARK(BM_AxisGetIndexIncreasing)->Arg(25000)->Arg(100000);
BENCHMARK(BM_AxisGetIndexDecreasing)->Arg(25000)->Arg(100000);
