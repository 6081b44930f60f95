#include "TAxisTools.h"

#include <cmath>
#include <memory>

TAxis* TAxisTools::PointsToIntervals(const TAxis* PtrCentres, char ChrAxis) {
  const long LngCount = PtrCentres->GetSize();
  const TPoint* PtrFirst = PtrCentres->GetPoint(0);
  const TPoint* PtrLast = PtrCentres->GetPoint(LngCount - 1);
  const double DblRes = PtrCentres->MbrDblResolution;
  const double DblHalf = DblRes * 0.5;

  double DblX = PtrFirst->MbrDblX - DblHalf;
  double DblY = 0.0;
  double DblStep = DblRes;
  const bool BlnAlongX = ChrAxis == 'X';
  // A single Y centre has no direction of its own: a map's Y axis runs north to south.
  const bool BlnDownward = PtrFirst->MbrDblY > PtrLast->MbrDblY || (LngCount == 1 && !BlnAlongX);
  if (BlnDownward) {
    DblY = PtrFirst->MbrDblY + DblHalf;
    if (!BlnAlongX) DblStep = -DblRes;
  } else {
    DblY = PtrFirst->MbrDblY - DblHalf;
  }

  auto PtrEdges = std::make_unique<TAxis>(DblRes);
  for (long LngI = 0; LngI < LngCount; ++LngI) {
    PtrEdges->AddPoint(new TPoint(DblX, DblY));
    if (BlnAlongX) {
      DblX += DblStep;
    } else {
      DblY += DblStep;
    }
  }
  PtrEdges->AddPoint(new TPoint(DblX, DblY));
  return PtrEdges.release();
}

TAxis* TAxisTools::IntervalsToPoints(const TAxis* PtrEdges, char /*ChrAxis*/) {
  const long LngCount = PtrEdges->GetSize();
  PtrEdges->GetPoint(0);  // an axis without points is refused here
  auto PtrCentres = std::make_unique<TAxis>(PtrEdges->MbrDblResolution);
  for (long LngK = 0; LngK + 1 < LngCount; ++LngK) {
    const TPoint* PtrA = PtrEdges->GetPoint(LngK);
    const TPoint* PtrB = PtrEdges->GetPoint(LngK + 1);
    PtrCentres->AddPoint(new TPoint(PtrA->MbrDblX + std::fabs(PtrB->MbrDblX - PtrA->MbrDblX) / 2,
                                    PtrA->MbrDblY - std::fabs(PtrB->MbrDblY - PtrA->MbrDblY) / 2));
  }
  return PtrCentres.release();
}
