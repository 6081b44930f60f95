// stack_trend: per-cell statistics over a stack (an ordered series of maps of one grid).
// The overlap of the two sample tiles was surveyed twice, once with each tile: taken as a
// series of two surveys, the average merges them and the gradient is the change per survey.
// Usage: stack_trend west.asc east.asc

#include <cmath>
#include <exception>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "ClippedPair.h"
#include "TMap.h"
#include "TMapTools.h"

int main(int IntArgs, char** ChrArgs) {
  if (IntArgs != 3) {
    std::cerr << "usage: stack_trend west.asc east.asc\n";
    return 2;
  }
  try {
    const TClippedPair Overlap = LoadClippedPair(ChrArgs[1], ChrArgs[2]);

    // [readme]
    // The stack lends its maps: they stay owned by Overlap.
    const std::vector<TMap*> VecSurveys = {Overlap.PtrFirst.get(), Overlap.PtrSecond.get()};

    // Per-cell mean; a cell where any survey lacks data holds the first map's marker.
    const std::unique_ptr<TMap> PtrMean(TMapTools::Average(VecSurveys));
    // Per-cell number of surveys that hold data.
    const std::unique_ptr<TMap> PtrCounts(TMapTools::DataCounts(VecSurveys));

    // Least-squares slope over windows of 1 step: one map per window, in metres per survey.
    std::vector<std::unique_ptr<TMap>> VecTrends;
    for (TMap* PtrTrend : TMapTools::ValueGradients(VecSurveys, 1))
      VecTrends.emplace_back(PtrTrend);
    // [/readme]

    const TMap* PtrTrend = VecTrends.at(0).get();
    std::cout << VecTrends.size() << " trend map of " << PtrTrend->MbrLngXDim << " x "
              << PtrTrend->MbrLngYDim << " cells\n";
    for (long LngX = 0; LngX < 3; ++LngX) {
      std::cout << "cell (" << LngX << ", 0): surveys " << VecSurveys[0]->GetPointVal(LngX, 0)
                << " and " << VecSurveys[1]->GetPointVal(LngX, 0) << ", mean "
                << PtrMean->GetPointVal(LngX, 0) << ", trend " << PtrTrend->GetPointVal(LngX, 0)
                << " m per survey\n";
    }
    // Cell (5, 2) lacks data in the second survey: no mean, and too few values for a slope.
    const double DblTrend = PtrTrend->GetPointVal(5, 2);
    std::cout << "cell (5, 2): " << PtrCounts->GetPointVal(5, 2) << " survey with data, mean "
              << PtrMean->GetPointVal(5, 2) << ", trend "
              << (std::isnan(DblTrend) ? std::string("NaN") : std::to_string(DblTrend)) << '\n';
  } catch (...) {
    return ReportFailure();
  }
  return 0;
}
