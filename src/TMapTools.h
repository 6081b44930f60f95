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

  /// Writes the grid body: each row from north to south on its own line, every value (the
  /// last included) followed by `ChrSeparator`. Numbers are written losslessly. A map with no
  /// columns gives one empty line per row. Passes on "X-ordinate is out of range in
  /// TMap::GetPointVal" for a row shorter than `MbrLngXDim`, after writing what precedes it.
  static void WriteFlatFile(TMap* PtrMap, std::ostream& Stream, char ChrSeparator);

  /// Writes one line "x,y,value" per cell (centre coordinates), column by column and within a
  /// column from row 0 down; no header line. Needs the centre axes.
  static void WriteCSVFile(TMap* PtrMap, std::ostream& Stream);

  // ---- Clipping ----

  /// A new map (caller owns) holding the block of cells from the cell that contains one
  /// corner point to the cell that contains the other, both included, corners in any order.
  /// It has the source's cell size, cell centres and no-data value. Passes on
  /// "Ordinate is out of range in TAxis::GetIndex" for a corner outside the map.
  static TMap* Extract(TMap* PtrMap, TPoint* PtrFirst, TPoint* PtrSecond);

  /// Clips both maps to their common extent: `PtrResult1` receives the first map's part and
  /// `PtrResult2` the second's (new maps, caller owns). Maps on one lattice give results of
  /// equal size covering the same ground. Throws "Maps do not intersect in
  /// TMapTools::Intersection" (neither result set) when the maps do not share at least one
  /// cell; `PtrResult1` is set before the second map is cut.
  static void Intersection(TMap* PtrMap1, TMap* PtrMap2, TMap*& PtrResult1, TMap*& PtrResult2);

  /// Writes every cell of `PtrSource` into the cell of `PtrDest` under its centre, row by row,
  /// west to east (the last write wins). Throws
  /// "Insert map's NW corner is outside of the destination map in TMapTools::Insert" or
  /// "Insert map's SE corner is outside of the destination map in TMapTools::Insert" before
  /// writing anything when the source reaches beyond the destination.
  static void Insert(TMap* PtrDest, TMap* PtrSource);

  // ---- Cell arithmetic ----

  // ---- Value rules ----

  // ---- Downscale, subdivide and bilinear interpolation ----

  // ---- Patch and overlay queries ----

  // ---- Stack statistics ----

  // ---- Per-cell series and gradients ----

  // ---- Value sampling ----
};

#endif
