#ifndef GRIDCLIP_TPOINT_H
#define GRIDCLIP_TPOINT_H

/// A point of the map plane, in map units. Points live on the heap and are
/// deleted through `TPoint*`, derived points included.
class TPoint {
 public:
  /// The point (`DblX`, `DblY`): easting and northing of a map read from a grid file.
  TPoint(double DblX, double DblY) : MbrDblX(DblX), MbrDblY(DblY) {}
  virtual ~TPoint() = default;

  /// A new point of the same class with the same members; the caller owns it.
  virtual TPoint* Clone() const;

  /// Euclidean distance to `PtrOther`, which must not be null.
  double Distance(const TPoint* PtrOther) const;

  double MbrDblX;
  double MbrDblY;

 protected:
  TPoint(const TPoint&) = default;
  TPoint& operator=(const TPoint&) = default;
};

/// A point that also carries the value of the map cell it stands for.
class TMapPoint : public TPoint {
 public:
  /// A map point at (x, y) whose value is 0.0.
  TMapPoint(double DblX, double DblY) : TPoint(DblX, DblY) {}

  /// A new `TMapPoint` with the same x, y and value; the caller owns it.
  TMapPoint* Clone() const override;

  double MbrDblValue = 0.0;
};

#endif
