// resampling: the west sample tile on finer and coarser grids.
// Usage: resampling west.asc

#include <cmath>
#include <exception>
#include <iostream>
#include <memory>
#include <string>

#include "ClippedPair.h"
#include "TARCGISFileTools.h"
#include "TMap.h"
#include "TMapTools.h"
#include "TPoint.h"

namespace {
void PrintGrid(const char* ChrName, const TMap* PtrMap) {
  std::cout << ChrName << ": " << PtrMap->MbrLngXDim << " x " << PtrMap->MbrLngYDim << " cells of "
            << PtrMap->MbrDblResolution << " m, no-data " << PtrMap->MbrDblNoDataValue << '\n';
}

// The cell's centre and value.
void PrintCell(const char* ChrName, const TMap* PtrMap, long LngX, long LngY) {
  const std::unique_ptr<TMapPoint> PtrPoint(PtrMap->GetPoint(LngX, LngY));
  std::cout << ChrName << " cell (" << LngX << ", " << LngY << ") at (" << PtrPoint->MbrDblX << ", "
            << PtrPoint->MbrDblY << "): " << PtrPoint->MbrDblValue << '\n';
}
}  // namespace

int main(int IntArgs, char** ChrArgs) {
  if (IntArgs != 2) {
    std::cerr << "usage: resampling west.asc\n";
    return 2;
  }
  std::cout.precision(10);
  try {
    const std::unique_ptr<TMap> PtrWest(TARCGISFileTools::LoadARCGISFile(std::string(ChrArgs[1])));

    // [readme]
    // Half the cell size, interpolated between the centres of the source cells. A band about
    // one source cell wide along the edges is not sampled and holds the no-data value.
    const std::unique_ptr<TMap> PtrFine(TMapTools::BilinearInterpolate(PtrWest.get(), 12.5));

    // Each cell split into 2 x 2 cells that carry its value.
    const std::unique_ptr<TMap> PtrSplit(TMapTools::Subdivide(PtrWest.get(), 2));

    // An empty grid of 50 m cells over the tile, every cell -9999, to be filled by the caller.
    const std::unique_ptr<TMap> PtrCoarse(TMapTools::Downscale(PtrWest.get(), 50.0));
    // [/readme]

    PrintGrid("source", PtrWest.get());
    PrintGrid("bilinear", PtrFine.get());
    PrintGrid("subdivided", PtrSplit.get());
    PrintGrid("downscaled", PtrCoarse.get());
    std::cout << "bilinear cells sampled: "
              << PtrFine->MbrLngXDim * PtrFine->MbrLngYDim -
                     TMapTools::CountValues(PtrFine.get(), PtrFine->MbrDblNoDataValue)
              << '\n';
    // Result cell (2, 2) is sampled at its south-west corner, (512425, 5276562.5): on the
    // line through the centres of source row 1, halfway between columns 0 and 1.
    PrintCell("source", PtrWest.get(), 0, 1);
    PrintCell("source", PtrWest.get(), 1, 1);
    PrintCell("bilinear", PtrFine.get(), 2, 2);
    PrintCell("subdivided", PtrSplit.get(), 1, 1);
  } catch (...) {
    return ReportFailure();
  }
  return 0;
}
