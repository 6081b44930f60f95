#ifndef GRIDCLIP_TMAP_H
#define GRIDCLIP_TMAP_H

#include <memory>
#include <string>
#include <vector>

#include "TAxis.h"
#include "TPoint.h"

/// A georeferenced grid of double values. Column `LngX` runs with the X axes (west to
/// east), row `LngY` with the Y axes (row 0 is the northern row of every map read from a
/// grid file). The map owns its rows and its four axes: centre axes (`MbrPtrXAxis`,
/// `MbrPtrYAxis`, one point per cell) and edge axes (`MbrPtrXAxisInterval`,
/// `MbrPtrYAxisInterval`, one point more). Setting one axis of a direction derives the other.
/// Maps are created with `new`, passed by pointer and never copied.
class TMap {
 public:
  /// 0 columns, 0 rows, no axes, no-data value -9999; grown with `AddRow`.
  explicit TMap(double DblResolution);
  /// `LngXDim` columns by `LngYDim` rows of -9999, no-data value -9999, no axes.
  TMap(double DblResolution, long LngXDim, long LngYDim);
  /// A complete map on clones of the two centre axes (which stay the caller's): every cell and
  /// the no-data value -9999. Throws "Axes resolutions do not match in TMap::TMap" when the
  /// resolutions differ or either is NaN, and "Index is out of range in TAxis::GetPoint" when
  /// an axis has no points (its edges cannot be placed).
  TMap(const TAxis* PtrXAxis, const TAxis* PtrYAxis);
  ~TMap();
  TMap(const TMap&) = delete;
  TMap& operator=(const TMap&) = delete;

  /// Drops the axes, sets the cell size, dimensions and no-data value, and appends `LngYDim`
  /// rows of `LngXDim` copies of the no-data value (no rows or columns for negative counts).
  /// Meant for a map that has no rows yet.
  void Init(double DblResolution, long LngXDim, long LngYDim, double DblNoDataValue);

  /// Unchecked store of a cell value: the caller keeps both indices within the grid.
  void SetPoint(long LngX, long LngY, double DblValue) {
    MbrVecRows[static_cast<std::size_t>(LngY)][static_cast<std::size_t>(LngX)] = DblValue;
  }

  /// The value of cell (`LngX`, `LngY`). Throws "X-ordinate is out of range in
  /// TMap::GetPointVal", then "Y-ordinate is out of range in TMap::GetPointVal"; a column
  /// beyond the end of a short row added by `AddRow` gets the X message too.
  double GetPointVal(long LngX, long LngY) const {
    if (LngX < 0 || LngX >= MbrLngXDim) throw "X-ordinate is out of range in TMap::GetPointVal";
    if (LngY < 0 || LngY >= MbrLngYDim) throw "Y-ordinate is out of range in TMap::GetPointVal";
    const auto& VecRow = MbrVecRows[static_cast<std::size_t>(LngY)];
    if (static_cast<std::size_t>(LngX) >= VecRow.size()) {
      throw "X-ordinate is out of range in TMap::GetPointVal";
    }
    return VecRow[static_cast<std::size_t>(LngX)];
  }

  /// Sets every cell to `DblValue`; the no-data value is unchanged.
  void InitValues(double DblValue);

  /// A copy of stored row `LngIndex`. Throws "Index is out of bounds in TMap::GetRow".
  std::vector<double> GetRow(long LngIndex) const;

  /// Appends a row and counts it in `MbrLngYDim`; the first row sets `MbrLngXDim` when it is 0.
  /// Row lengths are not enforced and the axes are not touched.
  void AddRow(std::vector<double> VecRow);

  /// A new point (caller owns) at the centre of cell (`LngX`, `LngY`). Throws
  /// "LngX is out of range for the X-axis in TMap::GetCoordinates", then
  /// "LngY is out of range for the Y-axis in TMap::GetCoordinates". Needs the centre axes.
  TPoint* GetCoordinates(long LngX, long LngY) const;

  /// A new point (caller owns) at the centre of cell (`LngX`, `LngY`) carrying its value.
  /// Throws "LngX is out of range in TMap::GetPoint (long,long)", then
  /// "LngY is out of range in TMap::GetPoint (long,long)". Needs the centre axes.
  TMapPoint* GetPoint(long LngX, long LngY) const;

  /// Axis setters: each clones its argument (which stays the caller's) and derives the other
  /// axis of the direction (`TAxisTools`), replacing both; every slot of the argument must be
  /// filled. A centre axis without points (a map of 0 columns or rows) throws "Index is out of
  /// range in TAxis::GetPoint", as edges cannot be derived from it. Each throws, with the map
  /// unchanged, when the length is wrong:
  /// "Length of new X axis does not match the X dimension of the map" (`MbrLngXDim` points),
  /// "Length of new Y axis does not match the Y dimension of the map" (`MbrLngYDim` points),
  /// "Length of new X interval axis does not fit the X dimension of the map" (+1 points),
  /// "Length of new Y interval axis does not fit the Y dimension of the map" (+1 points).
  void SetXAxis(const TAxis* PtrAxis);
  void SetYAxis(const TAxis* PtrAxis);
  void SetXAxisInterval(const TAxis* PtrAxis);
  void SetYAxisInterval(const TAxis* PtrAxis);

  /// The column ('X') or row (any other letter) whose edges hold the ordinate; a value on a
  /// border belongs to the eastern column or the northern row. Passes on
  /// "Ordinate is out of range in TAxis::GetIndex". Needs the edge axes.
  long GetIndex(double DblOrdinate, char ChrAxis) const;

  /// The value of the cell holding the point. Both indices are looked up on the edge axes
  /// first, x then y: a point outside the grid throws "Ordinate is out of range in
  /// TAxis::GetIndex". Then "LngX is out of range in TMap::GetPointVal" or "LngY is out of
  /// range in TMap::GetPointVal" when the edge axes reach beyond the dimensions, and the X
  /// message when a short row added by `AddRow` lacks the column.
  double GetPointVal(const TPoint* PtrPoint) const;

  /// A new point (caller owns) with the query's own x and y and the value of the cell holding
  /// it. Throws the failures of `GetIndex` (x, then y) for a point outside the grid, then
  /// "LngX is out of range in TMap::GetPoint (TPoint*)" or
  /// "LngY is out of range in TMap::GetPoint (TPoint*)" when the edge axes reach beyond the
  /// dimensions.
  TMapPoint* GetPoint(const TPoint* PtrPoint) const;

  /// Stores `DblValue` in the cell holding the point. Throws the messages of
  /// `GetPointVal(const TPoint*)`, having written nothing.
  void SetPoint(const TPoint* PtrPoint, double DblValue);

  /// `GetPointVal` of each point, in order; the first failing point ends the call.
  std::vector<double> GetPointValues(std::vector<TPoint*> VecPoints) const;

  /// The side of a square cell, in map units.
  double MbrDblResolution;
  /// Columns and rows.
  long MbrLngXDim = 0;
  long MbrLngYDim = 0;
  /// The cells, `MbrVecRows[row][column]`; `MbrLngYDim` rows of `MbrLngXDim` values.
  std::vector<std::vector<double>> MbrVecRows;
  /// Cell centres (one point per column or row) and cell edges (one more), owned by the map.
  /// Null until set; whatever needs coordinates needs them.
  std::unique_ptr<TAxis> MbrPtrXAxis;
  std::unique_ptr<TAxis> MbrPtrYAxis;
  std::unique_ptr<TAxis> MbrPtrXAxisInterval;
  std::unique_ptr<TAxis> MbrPtrYAxisInterval;
  /// A label for the caller's use; the library neither sets nor reads it.
  std::string MbrStgName;
  /// A cell holds no data when it equals this value exactly.
  double MbrDblNoDataValue = -9999.0;

 private:
  struct TCell {
    long LngX;
    long LngY;
  };
  // The cell whose edges enclose the point, both indices looked up before either is tested.
  TCell LocateCell(const TPoint* PtrPoint) const;
  // Throws "LngX is out of range in TMap::GetPointVal" or the row message for a cell outside.
  void CheckCellForPointVal(TCell Cell) const;
};

#endif
