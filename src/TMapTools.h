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

  // ---- Patch and overlay queries ----

  /// The smallest block holding every cell whose value equals `DblValue` exactly, written to
  /// `LngNorth`, `LngSouth` (rows) and `LngWest`, `LngEast` (columns), both ends included. The
  /// cells need not touch. When no cell holds the value (a NaN never matches) all four become 0,
  /// the same block as a value found only in cell (0, 0). Throws nothing.
  static void FindPatchExtent(const TMap* PtrMap, double DblValue, long& LngNorth, long& LngSouth,
                              long& LngWest, long& LngEast);

  /// Widens the block `LngNorth`, `LngSouth`, `LngWest`, `LngEast` in place by `LngN` cells on
  /// every side (for `LngN` >= 0) and clips it to the map's rows and columns; indices outside
  /// the map are clipped as well. Throws nothing.
  static void BufferIndices(const TMap* PtrMap, long LngN, long& LngNorth, long& LngSouth,
                            long& LngWest, long& LngEast);

  /// For every zone value of `PtrZoneMap`, the values of `PtrValueMap` at the cells of that
  /// zone, in cell order (column by column from column 0, each from row 0). Zone values listed
  /// in `VecExcluded`, and NaN zone values, get no entry; no-data markers are not special.
  /// Every vector of the result is non-empty. Throws "Map X-dimensions do not match", then
  /// "Map Y-Dimensions do not match", before anything is collected.
  static std::map<double, std::vector<double>> GetValuesOverlay(const TMap* PtrValueMap,
                                                                const TMap* PtrZoneMap,
                                                                std::vector<double> VecExcluded);

  // ---- Stack statistics ----

  // ---- Per-cell series and gradients ----

  // ---- Value sampling ----

  /// The distinct values of the map, each keyed to a new point (centre and value) of the first
  /// cell holding it in cell order (column by column from column 0, each from row 0). Values in
  /// `VecExcluded` and NaN cells are not listed. A run of equal cells is looked at once, and
  /// the scan starts as if after a cell holding the map's no-data value: a run of no-data cells
  /// at the start is skipped, so the no-data value (unless excluded) is listed with its first
  /// cell after another value, or not at all.
  /// The points belong to the caller, the list only holds their pointers: release them with
  /// `DeletePoints`. The map must have its centre axes. Passes on the errors of
  /// `TMap::GetPointVal(long, long)` for rows shorter than the map, and then leaves nothing
  /// allocated.
  static std::map<double, TMapPoint*> GetFirstValues(const TMap* PtrMap,
                                                     std::vector<double> VecExcluded);

  /// `GetFirstValues` of each map in order, one list per map. The points of every list belong
  /// to the caller (`DeletePoints`); on failure none are left allocated.
  static std::vector<std::map<double, TMapPoint*>> GetFirstValues(std::vector<TMap*> VecMaps,
                                                                  std::vector<double> VecExcluded);

  /// Under each key of `MapPoints`, the value of `PtrMap` at that key's point (the cell holding
  /// the point's coordinates; the point's own value is not used). The points stay the caller's
  /// and must not be null. Passes on the errors of `TMap::GetPointVal(const TPoint*)` for a
  /// point outside the map.
  static std::map<double, double> FetchMapValues(const TMap* PtrMap,
                                                 std::map<double, TMapPoint*> MapPoints);

  /// `FetchMapValues` of map i with point list i, for every map in order; point lists beyond
  /// the number of maps are ignored. Throws "Number of point lists is less than number of maps
  /// in TMapTools::FetchMapValues" before reading anything when there are fewer lists than
  /// maps, and passes on the errors of the single-map form.
  static std::vector<std::map<double, double>> FetchMapValues(
      std::vector<TMap*> VecMaps, std::vector<std::map<double, TMapPoint*>> VecPointLists);

  /// Deletes every point of a list made by `GetFirstValues` and empties the list.
  static void DeletePoints(std::map<double, TMapPoint*>& MapPoints);
  /// Deletes the points of every list and empties the vector.
  static void DeletePoints(std::vector<std::map<double, TMapPoint*>>& VecPointLists);
};

#endif
