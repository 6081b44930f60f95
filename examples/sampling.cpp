// sampling: pick sample points on one map and read other maps there.
// The west tile's overlap is cut into 10 m elevation bands; the first cell of each band is
// its sample point, and both tiles are read at those points.
// Usage: sampling west.asc east.asc

#include <exception>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ClippedPair.h"
#include "TMap.h"
#include "TMapTools.h"
#include "TPoint.h"

namespace {
// Releases the points of a list made by GetFirstValues when it goes out of scope.
struct TPointListGuard {
  std::map<double, TMapPoint*>& MapPoints;
  ~TPointListGuard() { TMapTools::DeletePoints(MapPoints); }
};
}  // namespace

int main(int IntArgs, char** ChrArgs) {
  if (IntArgs != 3) {
    std::cerr << "usage: sampling west.asc east.asc\n";
    return 2;
  }
  std::cout.precision(10);
  try {
    const TClippedPair Overlap = LoadClippedPair(ChrArgs[1], ChrArgs[2]);
    TMap* PtrWest = Overlap.PtrFirst.get();
    TMap* PtrEast = Overlap.PtrSecond.get();
    const std::unique_ptr<TMap> PtrTenths(TMapTools::Divide(PtrWest, 10.0));
    const std::unique_ptr<TMap> PtrBands(TMapTools::RoundContents(PtrTenths.get()));

    // [readme]
    // One point per band value: the centre of the first cell holding it (column by column).
    // The points are the caller's; the guard releases them with DeletePoints.
    std::map<double, TMapPoint*> MapPoints =
        TMapTools::GetFirstValues(PtrBands.get(), {PtrBands->MbrDblNoDataValue});
    const TPointListGuard Guard{MapPoints};

    // Under each band, the value of each map at that band's point.
    const std::vector<std::map<double, double>> VecValues =
        TMapTools::FetchMapValues({PtrWest, PtrEast}, {MapPoints, MapPoints});
    // [/readme]

    for (const auto& [DblBand, PtrPoint] : MapPoints) {
      std::cout << "band " << DblBand * 10.0 << " m at (" << PtrPoint->MbrDblX << ", "
                << PtrPoint->MbrDblY << "): west " << VecValues[0].at(DblBand) << ", east "
                << VecValues[1].at(DblBand) << '\n';
    }
  } catch (...) {
    return ReportFailure();
  }
  return 0;
}
