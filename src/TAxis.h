#ifndef GRIDCLIP_TAXIS_H
#define GRIDCLIP_TAXIS_H

#include <memory>
#include <vector>

#include "TPoint.h"

/// An ordered list of points along one direction of a map, with the map's cell
/// size. The axis owns its points. An axis letter of 'X' reads the points' x;
/// every other letter reads y. Lookups note the axis's order on first use, so an axis (and a
/// map that holds it) read from several threads at once needs a lock even for const calls.
class TAxis {
 public:
  /// An axis without points, grown with `AddPoint`.
  explicit TAxis(double DblResolution);
  /// An axis of `LngSize` empty (null) slots, to be filled with `SetPoint`; none for a
  /// negative size.
  TAxis(double DblResolution, long LngSize);
  ~TAxis();
  TAxis(const TAxis&) = delete;
  TAxis& operator=(const TAxis&) = delete;

  /// The number of slots.
  long GetSize() const { return static_cast<long>(MbrVecPoints.size()); }

  /// Lends the stored point (null for an empty slot); the axis keeps owning it.
  /// Move a point with `SetPoint`, not by changing the lent one, while lookups use the axis.
  /// Throws "Index is out of range in TAxis::GetPoint".
  TPoint* GetPoint(long LngIndex) const;

  /// Stores `PtrPoint` in slot `LngIndex`, taking it over and deleting the point it replaces.
  /// Storing the pointer the slot already holds changes nothing.
  /// Throws "Index is out of range in TAxis::SetPoint"; the point then stays the caller's.
  void SetPoint(long LngIndex, TPoint* PtrPoint);

  /// Appends `PtrPoint` at the end, taking it over.
  void AddPoint(TPoint* PtrPoint);

  /// The index of the first segment (points i and i+1) whose smaller end is <= the
  /// ordinate < its larger end. Only the first and last points bound the range; an
  /// ordinate equal to the larger end belongs to the segment at that end, and a one-point
  /// axis answers 0. Logarithmic on monotonic axes, a linear scan otherwise.
  /// Throws "Ordinate is out of range in TAxis::GetIndex" for an ordinate outside the range,
  /// a NaN ordinate, or an axis without points. Every slot must be filled.
  long GetIndex(double DblOrdinate, char ChrAxis) const;

  /// A new axis (caller owns) holding clones of points `LngStart` to `LngEnd`, both included.
  /// Throws, in this order: "Start index is out of range in TAxis::GetSegment",
  /// "End index is out of range in TAxis::GetSegment",
  /// "Start index is greater than end index in TAxis::GetSegment". The slots copied must be
  /// filled.
  TAxis* GetSegment(long LngStart, long LngEnd) const;

  /// `GetSegment` from the segment holding the first point's ordinate to the segment
  /// holding the second's; passes on the failures of `GetIndex` and `GetSegment`.
  TAxis* GetSegment(const TPoint* PtrFirst, const TPoint* PtrSecond, char ChrAxis) const;

  /// A deep copy (caller owns); each point is copied by its own `Clone`. Every slot must be
  /// filled.
  TAxis* Clone() const;

  double MbrDblResolution;

 private:
  enum class TOrder : unsigned char { Unknown, Increasing, Decreasing, Unordered };

  double Ordinate(long LngIndex, char ChrAxis) const;
  TOrder Order(char ChrAxis) const;
  long ScanIndex(double DblOrdinate, char ChrAxis) const;
  long BisectIndex(double DblOrdinate, char ChrAxis, bool BlnIncreasing) const;
  void ForgetOrder();

  std::vector<std::unique_ptr<TPoint>> MbrVecPoints;
  // The monotonic order of the x and y ordinates, found on first lookup and
  // forgotten whenever a point is stored.
  mutable TOrder MbrOrderX = TOrder::Unknown;
  mutable TOrder MbrOrderY = TOrder::Unknown;
};

#endif
