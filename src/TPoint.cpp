#include "TPoint.h"

#include <cmath>

TPoint* TPoint::Clone() const {
  return new TPoint(*this);
}

double TPoint::Distance(const TPoint* PtrOther) const {
  const double DblDx = MbrDblX - PtrOther->MbrDblX;
  const double DblDy = MbrDblY - PtrOther->MbrDblY;
  return std::sqrt(DblDx * DblDx + DblDy * DblDy);
}

TMapPoint* TMapPoint::Clone() const {
  return new TMapPoint(*this);
}
