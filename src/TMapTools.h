#ifndef GRIDCLIP_TMAPTOOLS_H
#define GRIDCLIP_TMAPTOOLS_H

#include <map>
#include <ostream>
#include <vector>

#include "TMap.h"
#include "TPoint.h"

/// Operations on one map, on pairs of maps and on stacks (ordered series of maps of one
/// grid). Inputs are only read unless a function says otherwise; every map, point or vector
/// of them returned by pointer is new and belongs to the caller.
class TMapTools {
 public:
  TMapTools() = delete;

  // ---- Grid body and CSV export ----

  // ---- Clipping ----

  // ---- Cell arithmetic ----

  // ---- Value rules ----

  // ---- Downscale, subdivide and bilinear interpolation ----

  /// An empty grid of cell size `DblResolution` (map units) over the area of `PtrMap`: it
  /// starts at the source's first X and Y edges (the north-west corner of a map read from a
  /// grid file), runs in the source's Y direction and has r * C / s columns and r * R / s rows,
  /// cut toward zero, so it never reaches beyond the source. Every cell and the no-data value
  /// are -9999; no source value is read. The source needs its edge axes; the caller owns the
  /// result. Throws "New resolution must be > 0.0 in TMapTools::Downscale" (NaN included),
  /// "Result grid is too large in TMapTools::Downscale" when a count does not fit in 32 bits,
  /// "Index is out of range in TAxis::GetPoint" when the grid would have no column or no row.
  static TMap* Downscale(const TMap* PtrMap, double DblResolution);

  /// `PtrMap` with every cell split into `IntFactor` x `IntFactor` cells of cell size r / k
  /// that carry the source cell's value; the result keeps the source's edges, Y direction and
  /// no-data value. The source needs its edge axes; the caller owns the result. Throws
  /// "Subdivision factor must be > 0 in TMapTools::Subdivide", "Result grid is too large in
  /// TMapTools::Subdivide" when a count does not fit in 32 bits, and passes on the source's
  /// "X-ordinate is out of range in TMap::GetPointVal" for a row shorter than the map.
  static TMap* Subdivide(const TMap* PtrMap, int IntFactor);

  /// The bilinear interpolation at (x, y) of the values q11 at (x1, y1), q21 at (x2, y1),
  /// q12 at (x1, y2) and q22 at (x2, y2). Not clamped: outside the rectangle it extrapolates;
  /// x1 == x2 or y1 == y2 gives infinity or NaN. Throws nothing.
  static double BilinearInterpolate(double DblQ11, double DblQ21, double DblQ12, double DblQ22,
                                    double DblX, double DblX1, double DblX2, double DblY,
                                    double DblY1, double DblY2);

  /// Sets `PtrP5->MbrDblValue` to the interpolation at P5's coordinates from the corner values
  /// of P1 to P4 (q11, q21, q12, q22), with x1, y1 from P1, x2 from P2 and y2 from P3; nothing
  /// else is read or changed. Throws nothing.
  static void BilinearInterpolate(const TMapPoint* PtrP1, const TMapPoint* PtrP2,
                                  const TMapPoint* PtrP3, const TMapPoint* PtrP4, TMapPoint* PtrP5);

  /// Resamples `PtrMap` to cell size `DblResolution` on the grid of `Downscale`, interpolating
  /// between the centres of the source cells. Cells in a band about one source cell wide along
  /// the edges are not sampled and hold the source's no-data value, which is also the result's.
  /// Corner values are used as numbers, no-data included. The caller owns the result.
  /// Throws "New resolution cannot be <= 0.0 in TMapTools::BilinearInterpolate" (NaN included),
  /// the messages of `Downscale`, "LngGetX1 is out of range in TMapTools::BilinearInterpolate"
  /// (then LngGetX2, LngGetY1, LngGetY2) when a sample's enclosing cells leave the source, and
  /// "Ordinate is out of range in TAxis::GetIndex" for a sample outside the source or result.
  static TMap* BilinearInterpolate(const TMap* PtrMap, double DblResolution);

  // ---- Patch and overlay queries ----

  // ---- Stack statistics ----

  // ---- Per-cell series and gradients ----

  // ---- Value sampling ----
};

#endif
