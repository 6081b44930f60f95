#include "TPointTools.h"

#include <cmath>
#include <cstddef>
#include <memory>

namespace {

bool SamePlace(const TPoint* PtrA, const TPoint* PtrB) {
  return PtrA->MbrDblX == PtrB->MbrDblX && PtrA->MbrDblY == PtrB->MbrDblY;
}

double SquaredDistance(const TPoint* PtrA, const TPoint* PtrB) {
  const double DblDx = PtrA->MbrDblX - PtrB->MbrDblX;
  const double DblDy = PtrA->MbrDblY - PtrB->MbrDblY;
  return DblDx * DblDx + DblDy * DblDy;
}

}  // namespace

TPoint* TPointTools::Max(const TPoint* PtrA, const TPoint* PtrB) {
  return new TPoint(PtrB->MbrDblX > PtrA->MbrDblX ? PtrB->MbrDblX : PtrA->MbrDblX,
                    PtrB->MbrDblY > PtrA->MbrDblY ? PtrB->MbrDblY : PtrA->MbrDblY);
}

TPoint* TPointTools::Min(const TPoint* PtrA, const TPoint* PtrB) {
  return new TPoint(PtrA->MbrDblX > PtrB->MbrDblX ? PtrB->MbrDblX : PtrA->MbrDblX,
                    PtrA->MbrDblY > PtrB->MbrDblY ? PtrB->MbrDblY : PtrA->MbrDblY);
}

TPoint* TPointTools::FindCentroid(std::vector<TPoint*> VecPoints) {
  double DblSumX = 0.0;
  double DblSumY = 0.0;
  for (const TPoint* PtrPoint : VecPoints) {
    DblSumX += PtrPoint->MbrDblX;
    DblSumY += PtrPoint->MbrDblY;
  }
  const double DblCount = static_cast<double>(VecPoints.size());
  return new TPoint(DblSumX / DblCount, DblSumY / DblCount);
}

double TPointTools::Theta(const TPoint* PtrA, const TPoint* PtrB) {
  const double DblDx = PtrA->MbrDblX - PtrB->MbrDblX;
  const double DblDy = PtrA->MbrDblY - PtrB->MbrDblY;
  const double DblT =
      (DblDx == 0.0 && DblDy == 0.0) ? 0.0 : DblDy / (std::fabs(DblDx) + std::fabs(DblDy));
  if (DblDx < 0.0) return (2.0 - DblT) * 90.0;
  if (DblDy < 0.0) return (DblT + 4.0) * 90.0;
  return DblT * 90.0;
}

double TPointTools::Heron(const TPoint* PtrA, const TPoint* PtrB, const TPoint* PtrC) {
  const double DblD1 = PtrA->Distance(PtrB);
  const double DblD2 = PtrA->Distance(PtrC);
  const double DblD3 = PtrB->Distance(PtrC);
  const double DblS = (DblD1 + DblD2 + DblD3) * 0.5;
  return std::sqrt(DblS * (DblS - DblD1) * (DblS - DblD2) * (DblS - DblD3));
}

double TPointTools::FindConvexPolygonArea(std::vector<TPoint*> VecPoints) {
  if (VecPoints.empty()) return 0.0;
  const std::unique_ptr<TPoint> PtrCentre(FindCentroid(VecPoints));
  const size_t SizCount = VecPoints.size();
  double DblArea = 0.0;
  for (size_t SizK = 1; SizK < SizCount; ++SizK)
    DblArea += Heron(VecPoints[SizK], VecPoints[SizK - 1], PtrCentre.get());
  // The closing triangle; it is empty when the list repeats its first vertex at the end.
  DblArea += Heron(VecPoints[0], VecPoints[SizCount - 1], PtrCentre.get());
  return DblArea;
}

std::vector<TPoint*> TPointTools::FindConvexHull(std::vector<TPoint*> VecPoints) {
  const size_t SizCount = VecPoints.size();
  if (SizCount == 0) return {};

  // Wrap from the lowest, then leftmost point: from there every hull edge has a larger
  // pseudo-angle than the one before, from 0 up to below 360, so one scan per edge suffices.
  size_t SizPivot = 0;
  for (size_t SizI = 1; SizI < SizCount; ++SizI) {
    const TPoint* PtrPoint = VecPoints[SizI];
    const TPoint* PtrBest = VecPoints[SizPivot];
    if (PtrPoint->MbrDblY < PtrBest->MbrDblY ||
        (PtrPoint->MbrDblY == PtrBest->MbrDblY && PtrPoint->MbrDblX < PtrBest->MbrDblX))
      SizPivot = SizI;
  }

  std::vector<size_t> VecHull{SizPivot};
  std::vector<bool> VecTaken(SizCount, false);
  VecTaken[SizPivot] = true;
  double DblPrev = 0.0;
  // A hull has at most as many vertices as there are points; the bound guards the wrap
  // against rounding in the pseudo-angle.
  while (VecHull.size() < SizCount) {
    const TPoint* PtrCurrent = VecPoints[VecHull.back()];
    bool BlnFound = false;
    size_t SizNext = 0;
    double DblBest = 360.0;
    double DblBestDistance = 0.0;
    for (size_t SizI = 0; SizI < SizCount; ++SizI) {
      const TPoint* PtrCandidate = VecPoints[SizI];
      if ((VecTaken[SizI] && SizI != SizPivot) || SamePlace(PtrCandidate, PtrCurrent)) continue;
      const double DblAngle = Theta(PtrCandidate, PtrCurrent);
      if (DblAngle < DblPrev || DblAngle > DblBest) continue;
      // Of points in one direction the farthest is the vertex; the nearer ones lie on the
      // edge. Among equal points the first listed stays.
      const double DblDistance = SquaredDistance(PtrCandidate, PtrCurrent);
      if (BlnFound && DblAngle == DblBest && DblDistance <= DblBestDistance) continue;
      BlnFound = true;
      SizNext = SizI;
      DblBest = DblAngle;
      DblBestDistance = DblDistance;
    }
    if (!BlnFound || SamePlace(VecPoints[SizNext], VecPoints[SizPivot])) break;
    VecHull.push_back(SizNext);
    VecTaken[SizNext] = true;
    DblPrev = DblBest;
  }

  // Start at the lowest vertex; of two equally low, the one listed first.
  size_t SizStart = 0;
  for (size_t SizI = 1; SizI < VecHull.size(); ++SizI) {
    const TPoint* PtrPoint = VecPoints[VecHull[SizI]];
    const TPoint* PtrBest = VecPoints[VecHull[SizStart]];
    if (PtrPoint->MbrDblY < PtrBest->MbrDblY ||
        (PtrPoint->MbrDblY == PtrBest->MbrDblY && VecHull[SizI] < VecHull[SizStart]))
      SizStart = SizI;
  }

  std::vector<std::unique_ptr<TPoint>> VecCopies;
  VecCopies.reserve(VecHull.size());
  for (size_t SizI = 0; SizI < VecHull.size(); ++SizI)
    VecCopies.emplace_back(VecPoints[VecHull[(SizStart + SizI) % VecHull.size()]]->Clone());
  std::vector<TPoint*> VecResult;
  VecResult.reserve(VecCopies.size());
  for (std::unique_ptr<TPoint>& PtrCopy : VecCopies) VecResult.push_back(PtrCopy.release());
  return VecResult;
}
