// map_algebra: cell arithmetic and value rules on the overlap of the two sample tiles.
// The tiles were surveyed separately, so where they overlap their difference shows how well
// they agree.
// Usage: map_algebra west.asc east.asc

#include <exception>
#include <iostream>
#include <memory>
#include <string>

#include "ClippedPair.h"
#include "TMap.h"
#include "TMapTools.h"

int main(int IntArgs, char** ChrArgs) {
  if (IntArgs != 3) {
    std::cerr << "usage: map_algebra west.asc east.asc\n";
    return 2;
  }
  try {
    const TClippedPair Overlap = LoadClippedPair(ChrArgs[1], ChrArgs[2]);
    const TMap* PtrWest = Overlap.PtrFirst.get();
    const TMap* PtrEast = Overlap.PtrSecond.get();

    // [readme]
    // West minus east, cell by cell; a cell where either holds no data gets west's marker.
    const std::unique_ptr<TMap> PtrDiff(TMapTools::Subtract(PtrWest, PtrEast));
    const long LngSame = TMapTools::CountValues(PtrDiff.get(), 0.0);
    const long LngGaps = TMapTools::CountValues(PtrDiff.get(), PtrDiff->MbrDblNoDataValue);

    // Elevation in feet, rounded to whole feet; no-data cells keep their marker.
    const std::unique_ptr<TMap> PtrFeet(TMapTools::Multiply(PtrWest, 3.28084));
    const std::unique_ptr<TMap> PtrWholeFeet(TMapTools::RoundContents(PtrFeet.get()));

    // Cells below 390 m become 0.0, the others keep their value. Value rules treat the
    // no-data marker (-32768 here) as a number like any other.
    const std::unique_ptr<TMap> PtrHigh(TMapTools::Threshold(PtrWest, 390.0));
    const long LngLow = TMapTools::CountValues(PtrHigh.get(), 0.0);
    // [/readme]

    const long LngCells = PtrDiff->MbrLngXDim * PtrDiff->MbrLngYDim;
    std::cout << "overlap: " << PtrDiff->MbrLngXDim << " x " << PtrDiff->MbrLngYDim << " cells\n";
    std::cout << "tiles agree exactly in " << LngSame << " of " << LngCells << " cells, " << LngGaps
              << " cells lack data in one tile\n";
    std::cout << "north-west cell: " << PtrWest->GetPointVal(0, 0) << " m - "
              << PtrEast->GetPointVal(0, 0) << " m = " << PtrDiff->GetPointVal(0, 0) << " m, "
              << PtrWholeFeet->GetPointVal(0, 0) << " ft\n";
    std::cout << LngLow << " cells hold less than 390, "
              << TMapTools::CountValues(PtrWest, PtrWest->MbrDblNoDataValue)
              << " of them the no-data marker\n";
  } catch (...) {
    return ReportFailure();
  }
  return 0;
}
