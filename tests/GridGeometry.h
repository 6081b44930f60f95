#ifndef GRIDCLIP_TESTS_GRIDGEOMETRY_H
#define GRIDCLIP_TESTS_GRIDGEOMETRY_H

#include "TAxis.h"
#include "TMap.h"

namespace gridclip_test {

/// Gives the map the edge axes the grid reader builds: running sums of `DblCell` from the
/// lower-left corner (`DblXll`, `DblYll`), the Y edges from the southern edge up to point 0.
/// Shared by the tests and the fuzz targets, so it needs no test framework.
inline void SetReaderGeometry(TMap& Map, double DblXll, double DblYll, double DblCell) {
  TAxis YEdges(DblCell, Map.MbrLngYDim + 1);
  double DblY = DblYll;
  for (long LngJ = Map.MbrLngYDim; LngJ >= 0; --LngJ) {
    YEdges.SetPoint(LngJ, new TPoint(DblXll, DblY));
    DblY += DblCell;
  }
  const double DblNorth = YEdges.GetPoint(0)->MbrDblY;
  TAxis XEdges(DblCell, Map.MbrLngXDim + 1);
  double DblX = DblXll;
  for (long LngI = 0; LngI <= Map.MbrLngXDim; ++LngI) {
    XEdges.SetPoint(LngI, new TPoint(DblX, DblNorth));
    DblX += DblCell;
  }
  Map.SetXAxisInterval(&XEdges);
  Map.SetYAxisInterval(&YEdges);
}

}  // namespace gridclip_test

#endif
