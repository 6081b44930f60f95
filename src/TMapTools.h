#ifndef GRIDCLIP_TMAPTOOLS_H
#define GRIDCLIP_TMAPTOOLS_H

#include <map>
#include <ostream>
#include <vector>

#include "TMap.h"
#include "TPoint.h"

/// Operations on one map, on pairs of maps and on stacks (ordered series of maps of one
/// grid). Inputs are only read unless a function says otherwise; every map, point or vector
/// of them returned by pointer is new and belongs to the caller. Maps and points passed in
/// must not be null. A map whose stored rows are shorter than `MbrLngXDim` (possible only
/// through `TMap::AddRow`) makes a function that reads them throw the messages of
/// `TMap::GetPointVal`. A function that fails leaves nothing allocated (`Intersection`
/// says what it hands over before failing). A map without cells (no column or no row) has
/// empty centre axes, on which no result map can be built: operations that build one on them
/// throw "Index is out of range in TAxis::GetPoint".
class TMapTools {
 public:
  TMapTools() = delete;

  // ---- Grid body and CSV export ----

  /// Writes the grid body: each row from north to south on its own line, every value (the
  /// last included) followed by `ChrSeparator`. Numbers are written losslessly. A map with no
  /// columns gives one empty line per row. Passes on "X-ordinate is out of range in
  /// TMap::GetPointVal" for a row shorter than `MbrLngXDim`, after writing what precedes it.
  static void WriteFlatFile(TMap* PtrMap, std::ostream& Stream, char ChrSeparator);

  /// Writes one line "x,y,value" per cell (centre coordinates), column by column and within a
  /// column from row 0 down; no header line. Numbers are written losslessly. Needs the centre
  /// axes.
  static void WriteCSVFile(TMap* PtrMap, std::ostream& Stream);

  // ---- Clipping ----

  /// A new map (caller owns) holding the block of cells from the cell that contains one
  /// corner point to the cell that contains the other, both included, corners in any order.
  /// It has the source's cell size, cell centres and no-data value. Passes on
  /// "Ordinate is out of range in TAxis::GetIndex" for a corner outside the map.
  static TMap* Extract(TMap* PtrMap, TPoint* PtrFirst, TPoint* PtrSecond);

  /// Clips both maps to their common extent: `PtrResult1` receives the first map's part and
  /// `PtrResult2` the second's (new maps, caller owns). Maps on one lattice give results of
  /// equal size covering the same ground. Otherwise each map is cut from the cell holding the
  /// point half a cell of the finer map inside the north-west corner of the common extent to
  /// the cell holding the point as far inside its south-east corner. Throws "Maps do not
  /// intersect in TMapTools::Intersection" (neither result set) when the maps do not share at
  /// least one cell, and passes on the failures of `Extract`; `PtrResult1` is set (and the
  /// caller's to delete) before the second map is cut.
  static void Intersection(TMap* PtrMap1, TMap* PtrMap2, TMap*& PtrResult1, TMap*& PtrResult2);

  /// Writes every cell of `PtrSource` into the cell of `PtrDest` under its centre, row by row,
  /// west to east (the last write wins). Throws
  /// "Insert map's NW corner is outside of the destination map in TMapTools::Insert" or
  /// "Insert map's SE corner is outside of the destination map in TMapTools::Insert" before
  /// writing anything when the source reaches beyond the destination.
  static void Insert(TMap* PtrDest, TMap* PtrSource);

  // ---- Cell arithmetic ----

  /// The cell-by-cell sum of two maps matched by position: each cell centre of the finer map
  /// (the smaller cell size; the first map when both are equal) is looked up in the other map.
  /// The result (caller owns) has the finer map's cell size, dimensions, centre axes and
  /// no-data value; a cell where either map holds its own no-data value gets that value.
  /// Both maps need their axes. Throws the lookup's messages ("Ordinate is out of range in
  /// TAxis::GetIndex", ...) for the first cell, row by row, whose centre lies outside the
  /// other map.
  static TMap* Add(const TMap* PtrFirst, const TMap* PtrSecond);

  /// The first map minus the second, matched by column and row index; only the second map's
  /// dimensions and values are used. The result (caller owns) is on the first map's grid and
  /// takes its no-data value; a cell where either map holds its own no-data value gets the
  /// first map's. Throws "X dimensions do not match in TMapTools::Subtract", then
  /// "Y dimensions do not match in TMapTools::Subtract", and "Axes resolutions do not match
  /// in TMap::TMap" when the first map's axes differ in resolution.
  static TMap* Subtract(const TMap* PtrFirst, const TMap* PtrSecond);

  /// The cell-by-cell product of two maps, matched by position exactly as `Add`.
  static TMap* Multiply(const TMap* PtrFirst, const TMap* PtrSecond);

  /// The dividend divided by the divisor, matched by position as `Add` with the dividend as
  /// the base: the result (caller owns) is on the dividend's grid and takes its no-data value.
  /// A divisor cell of 0 gives an infinite or NaN quotient. Throws "Divisor must be of equal
  /// of coarser resolution than the dividend in TMapTools::Divide" when the dividend's cell
  /// size is greater than the divisor's, and the lookup's messages as `Add`.
  static TMap* Divide(const TMap* PtrDividend, const TMap* PtrDivisor);

  /// Each cell times `DblFactor`; cells equal to the map's no-data value keep it. The result
  /// (caller owns) is on the map's grid with the map's no-data value. Throws "Axes
  /// resolutions do not match in TMap::TMap" when the map's axes differ in resolution.
  static TMap* Multiply(const TMap* PtrMap, double DblFactor);

  /// Each cell divided by `DblDivisor` (0 gives infinities or NaN); cells equal to the map's
  /// no-data value keep it. Result and failure as `Multiply(const TMap*, double)`.
  static TMap* Divide(const TMap* PtrMap, double DblDivisor);

  /// Each cell rounded to the nearest whole number, halves upward (2.5 gives 3, -2.5 gives
  /// -2), in double precision for any magnitude; NaN, infinities and cells equal to the map's
  /// no-data value are kept. Result and failure as `Multiply(const TMap*, double)`.
  static TMap* RoundContents(const TMap* PtrMap);

  // ---- Value rules ----

  /// A map (caller owns) keeping each value at or above `DblThreshold`; every other cell,
  /// NaN included, becomes 0.0. It is on the map's grid with the map's no-data value, which
  /// is not treated specially. Throws "Axes resolutions do not match in TMap::TMap" when the
  /// map's axes differ in resolution.
  static TMap* Threshold(const TMap* PtrMap, double DblThreshold);

  /// A map (caller owns) where each value at or above `DblThreshold` becomes `DblReplacement`
  /// and every other value, NaN included, is kept. Grid, no-data value and failure as
  /// `Threshold`.
  static TMap* ThresholdReplace(const TMap* PtrMap, double DblThreshold, double DblReplacement);

  /// The value map's cells on the grid map's grid, each equal to `DblMaskValue` replaced by
  /// `DblReplacement` (a NaN mask value matches nothing). The grid map's values are not read.
  /// The result (caller owns) takes the value map's no-data value. Throws, in this order,
  /// "X dimensions do not match in TMapTools::Mask", "Y dimensions do not match in
  /// TMapTools::Mask", then "Axes resolutions do not match in TMap::TMap" for the grid map's
  /// axes.
  static TMap* Mask(const TMap* PtrGridMap, const TMap* PtrValueMap, double DblMaskValue,
                    double DblReplacement);

  /// Each cell translated through `MapTable` (old value to new value, exact match); a value
  /// the table does not name, NaN included, becomes `DblDefault`. NaN keys match nothing.
  /// Grid, no-data value and failure as `Threshold`.
  static TMap* ReplaceValue(const TMap* PtrMap, std::map<double, double> MapTable,
                            double DblDefault);

  /// Sets the block of rows `LngNorth` to `LngSouth` and columns `LngWest` to `LngEast`
  /// (cell indices, both ends included) of `PtrMap` to `DblValue`, in place. Checks, in this
  /// order, before writing anything: "Northern edge must be less than southern edge in
  /// TMapTools::FillBlock" (north > south), "Western edge must be less than eastern edge in
  /// TMapTools::FillBlock" (west > east), "Northern ordinate is out of range in
  /// TMapTools::FillBlock", "Southern ordinate is out of range in TMapTools::FillBlock" (rows
  /// outside 0 to `MbrLngYDim` - 1), "Western ordinate is out of range in
  /// TMapTools::FillBlock" (west < 0), "Eastern ordinate is out of range in
  /// TMapTools::FillBlock" (east at or beyond the columns of the map or of a stored row).
  static void FillBlock(TMap* PtrMap, double DblValue, long LngNorth, long LngSouth, long LngWest,
                        long LngEast);

  /// Each distinct cell value and the number of cells holding it, by increasing value. NaN
  /// cells are left out; the no-data value is counted like any value.
  static std::map<double, long> CountValues(const TMap* PtrMap);

  /// The number of cells equal to `DblValue`; 0 for NaN.
  static long CountValues(const TMap* PtrMap, double DblValue);

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
  /// between the centres of the source cells. Samples start one source cell inside the first
  /// edges and step by the new cell size; each lands in its own result cell, which takes the
  /// value at the sample point, not at its centre (for a new size that divides the source's,
  /// the south-west corner of the cell on a map read from a grid file). Cells in a band about
  /// one source cell wide along the edges are not sampled and hold the source's no-data value,
  /// which is also the result's.
  /// Corner values are used as numbers, no-data included. The caller owns the result.
  /// Throws "New resolution cannot be <= 0.0 in TMapTools::BilinearInterpolate" (NaN included),
  /// the messages of `Downscale`, then, when a sample's enclosing cells leave the source, the
  /// first of "LngGetX1 is out of range in TMapTools::BilinearInterpolate",
  /// "LngGetX2 is out of range in TMapTools::BilinearInterpolate",
  /// "LngGetY1 is out of range in TMapTools::BilinearInterpolate",
  /// "LngGetY2 is out of range in TMapTools::BilinearInterpolate" that applies, and
  /// "Ordinate is out of range in TAxis::GetIndex" for a sample outside the source or result.
  static TMap* BilinearInterpolate(const TMap* PtrMap, double DblResolution);

  // ---- Patch and overlay queries ----

  /// The smallest block holding every cell whose value equals `DblValue` exactly, written to
  /// `LngNorth`, `LngSouth` (rows) and `LngWest`, `LngEast` (columns), both ends included. The
  /// cells need not touch. When no cell holds the value (a NaN never matches) all four become 0,
  /// the same block as a value found only in cell (0, 0). Throws nothing.
  static void FindPatchExtent(const TMap* PtrMap, double DblValue, long& LngNorth, long& LngSouth,
                              long& LngWest, long& LngEast);

  /// Widens the block `LngNorth`, `LngSouth`, `LngWest`, `LngEast` in place by `LngN` cells on
  /// every side (a negative `LngN` counts as 0) and clips it to the map's rows and columns;
  /// an index beyond the map on the side it moves toward is clipped as well, while one beyond
  /// the opposite side (a western index east of the map) is only moved. Throws nothing.
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

  // A stack is a vector of maps of one grid in series order; the maps stay the caller's and are
  // only read. A cell of a map lacks data when it equals that map's own `MbrDblNoDataValue`
  // (NaN never does). Result maps lie on copies of the first map's centre axes, which it must
  // have, and belong to the caller. Building them passes on "Axes resolutions do not match in
  // TMap::TMap". A map whose stored rows are shorter than its dimensions say gives the messages
  // of `TMap::GetPointVal`.

  /// Per-cell sum of the stack, values added in stack order. The result's `MbrDblNoDataValue`
  /// is the first map's, and a cell where any map lacks data holds it.
  /// Throws "Must have more than 2 maps to sum in TMapTools::Sum" for fewer than two maps, then,
  /// at the first map whose size differs from the first map's,
  /// "X-dimension of maps are inconsistent in TMapTools::Sum" or
  /// "Y-dimension of maps are inconsistent in TMapTools::Sum".
  static TMap* Sum(std::vector<TMap*> VecMaps);

  /// Per-cell number of maps that hold data, as 0.0, 1.0, ...; the result's no-data value is
  /// -9999 and no cell holds it. Throws "Must have at least 1 map in TMapTools::DataCounts",
  /// then "X-dimension of maps are inconsistent in TMapTools::DataCounts" or
  /// "Y-dimension of maps are inconsistent in TMapTools::DataCounts".
  static TMap* DataCounts(std::vector<TMap*> VecMaps);

  /// Per-cell mean: `Sum` divided by `DataCounts` with `Divide`. A cell where any map lacks data
  /// holds the first map's no-data value, which is also the result's. Throws what `Sum` throws.
  static TMap* Average(std::vector<TMap*> VecMaps);

  /// The `Average` of every run of `IntWindow` consecutive maps: result k averages maps k to
  /// k + `IntWindow` - 1, so there are n - `IntWindow` + 1 results, none when the window is
  /// longer than the stack. A window of fewer than 2 maps throws
  /// "Must have more than 2 maps to sum in TMapTools::Sum" (unless the stack is shorter than
  /// it). Throws what `Average` throws; a failure returns no results.
  static std::vector<TMap*> MovingAverage(std::vector<TMap*> VecMaps, int IntWindow);

  /// The single-map `Threshold` of each map, in stack order; the maps may differ in size. An
  /// empty stack gives an empty vector. Passes on the failures of the single-map `Threshold`;
  /// a failure returns no results.
  static std::vector<TMap*> Threshold(std::vector<TMap*> VecMaps, double DblThreshold);

  // ---- Per-cell series and gradients ----

  /// The values of cell (`LngX`, `LngY`) in maps `IntStart` to `IntEnd` (0-based, inclusive),
  /// in stack order and as stored. Throws
  /// "Start map number is out of range in TMapTools::GetValuesVector", then
  /// "End map number is out of range in TMapTools::GetValuesVector", then
  /// "Stat map number must be less than end map number" when `IntStart` >= `IntEnd`, then the
  /// messages of `TMap::GetPointVal` when the cell lies outside one of the maps.
  static std::vector<double> GetValuesVector(std::vector<TMap*> VecMaps, long LngX, long LngY,
                                             int IntStart, int IntEnd);

  /// A non-zero value of the 3 x 3 block around cell (`LngX`, `LngY`), the cell included and
  /// the block cut at the map's edges: the first non-zero value, in row order, of the
  /// highest-index column that holds one; 0.0 when every value is zero. NaN and the no-data
  /// value count as non-zero. Throws
  /// "X-ordinate is out of range in TMapTools::FindNonzeroNeighbourVal", then
  /// "Y-ordinate is out of range in TMapTools::FindNonzeroNeighbourVal".
  static double FindNonzeroNeighbourVal(const TMap* PtrMap, long LngX, long LngY);

  /// One slope map per window of `IntWindow` steps: result i holds, per cell, the least-squares
  /// slope (value units per map step) of the cell's values in maps i to i + `IntWindow` against
  /// their stack positions. A value of 0.0 counts as missing: where map i holds 0.0 the result
  /// keeps -9999; any other 0.0 is replaced by `FindNonzeroNeighbourVal` of its map. Values
  /// equal to their map's no-data value are left out; fewer than two values left give NaN.
  /// Gives n - `IntWindow` results (none when `IntWindow` equals n), on copies of the first
  /// map's centre axes, no-data value -9999; the caller owns the vector's maps. Throws
  /// "Window size must be > 0 in TMapTools::ValueGradients", then
  /// "Window size must be < number of maps in TMapTools::ValueGradients" when `IntWindow` > n,
  /// then "Map dimensions do not match in TMapTools::ValueGradients".
  static std::vector<TMap*> ValueGradients(std::vector<TMap*> VecMaps, int IntWindow);

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
