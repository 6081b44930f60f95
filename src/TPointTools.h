#ifndef GRIDCLIP_TPOINTTOOLS_H
#define GRIDCLIP_TPOINTTOOLS_H

#include <vector>

#include "TPoint.h"

/// Plane geometry on points: component-wise extremes, mean point, pseudo-angle, triangle and
/// convex polygon areas, convex hull. Coordinates are map units. The caller's points are only
/// read, never kept or deleted, and must not be null. Nothing here throws (other than
/// `std::bad_alloc`).
class TPointTools {
 public:
  TPointTools() = delete;

  /// A new plain point (larger x, larger y) of a and b; a's value is kept on ties and NaN.
  /// The caller owns it.
  static TPoint* Max(const TPoint* PtrA, const TPoint* PtrB);

  /// A new plain point (smaller x, smaller y) of a and b; a's value is kept on ties and NaN.
  /// The caller owns it.
  static TPoint* Min(const TPoint* PtrA, const TPoint* PtrB);

  /// A new plain point at the mean of the points (not the centre of mass of their area);
  /// both coordinates NaN for an empty list. The caller owns it.
  static TPoint* FindCentroid(std::vector<TPoint*> VecPoints);

  /// A pseudo-angle in [0, 360) of the direction from b to a: 0, 90, 180 and 270 for
  /// increasing x, increasing y, decreasing x and decreasing y, growing counter-clockwise in
  /// between without being degrees ((2, 1) gives 30). Equal points give 0.
  static double Theta(const TPoint* PtrA, const TPoint* PtrB);

  /// The area of the triangle a, b, c by Heron's formula. Collinear corners give 0, or NaN
  /// when rounding makes the product under the square root negative.
  static double Heron(const TPoint* PtrA, const TPoint* PtrB, const TPoint* PtrC);

  /// The area of the convex polygon whose vertices are given in order (closed or not), as a
  /// fan of triangles from the mean of the vertices, closing triangle included. An empty list
  /// gives 0.
  static double FindConvexPolygonArea(std::vector<TPoint*> VecPoints);

  /// The convex hull of the points by gift wrapping: its extreme vertices only (points on an
  /// edge are left out), each once, counter-clockwise, starting at the lowest vertex (of two
  /// equally low vertices, the one listed first). Points on one line give the two ends; a
  /// point listed more than once gives the copy of its first listing. The result holds new
  /// copies (`Clone`, same class as the originals) owned by the caller; an empty list gives
  /// an empty result.
  static std::vector<TPoint*> FindConvexHull(std::vector<TPoint*> VecPoints);
};

#endif
