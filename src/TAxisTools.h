#ifndef GRIDCLIP_TAXISTOOLS_H
#define GRIDCLIP_TAXISTOOLS_H

#include "TAxis.h"

/// Conversions between an axis of cell centres and the axis of the cell edges around them.
/// The given axis stays the caller's; the returned axis is new, owned by the caller, has the
/// given axis's resolution and holds plain `TPoint`s.
class TAxisTools {
 public:
  TAxisTools() = delete;

  /// The n + 1 cell edges around n >= 1 centres, spaced by the resolution r (not by the
  /// centres) and built by running sums from the first centre - r/2. 'X' edges always
  /// increase. 'Y' edges run downward from the first centre + r/2 when the centres run
  /// downward or there is only one centre (a map's Y axis runs north to south), and upward
  /// from the first centre - r/2 otherwise.
  /// Throws "Index is out of range in TAxis::GetPoint" for an axis without points.
  static TAxis* PointsToIntervals(const TAxis* PtrCentres, char ChrAxis);

  /// The n - 1 centres between n >= 1 neighbouring edges: x = a.x + |b.x - a.x| / 2 and
  /// y = a.y - |b.y - a.y| / 2 for edges a, b. The letter is not used.
  /// Throws "Index is out of range in TAxis::GetPoint" for an axis without points.
  static TAxis* IntervalsToPoints(const TAxis* PtrEdges, char ChrAxis);
};

#endif
