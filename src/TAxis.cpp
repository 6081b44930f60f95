#include "TAxis.h"

#include <cmath>

namespace {
constexpr const char* OrdinateOutOfRange = "Ordinate is out of range in TAxis::GetIndex";
}  // namespace

TAxis::TAxis(double DblResolution) : MbrDblResolution(DblResolution) {}

TAxis::TAxis(double DblResolution, long LngSize)
    : MbrDblResolution(DblResolution),
      MbrVecPoints(static_cast<std::size_t>(LngSize < 0 ? 0 : LngSize)) {}

TAxis::~TAxis() = default;

TPoint* TAxis::GetPoint(long LngIndex) const {
  if (LngIndex < 0 || LngIndex >= GetSize()) throw "Index is out of range in TAxis::GetPoint";
  return MbrVecPoints[static_cast<std::size_t>(LngIndex)].get();
}

void TAxis::SetPoint(long LngIndex, TPoint* PtrPoint) {
  if (LngIndex < 0 || LngIndex >= GetSize()) throw "Index is out of range in TAxis::SetPoint";
  auto& PtrSlot = MbrVecPoints[static_cast<std::size_t>(LngIndex)];
  if (PtrSlot.get() == PtrPoint) return;
  PtrSlot.reset(PtrPoint);
  ForgetOrder();
}

void TAxis::AddPoint(TPoint* PtrPoint) {
  std::unique_ptr<TPoint> PtrOwned(PtrPoint);
  MbrVecPoints.push_back(std::move(PtrOwned));
  ForgetOrder();
}

void TAxis::ForgetOrder() {
  MbrOrderX = TOrder::Unknown;
  MbrOrderY = TOrder::Unknown;
}

double TAxis::Ordinate(long LngIndex, char ChrAxis) const {
  const TPoint& Point = *MbrVecPoints[static_cast<std::size_t>(LngIndex)];
  return ChrAxis == 'X' ? Point.MbrDblX : Point.MbrDblY;
}

TAxis::TOrder TAxis::Order(char ChrAxis) const {
  TOrder& Cached = ChrAxis == 'X' ? MbrOrderX : MbrOrderY;
  if (Cached != TOrder::Unknown) return Cached;
  bool BlnIncreasing = true;
  bool BlnDecreasing = true;
  for (long LngI = 0; LngI + 1 < GetSize(); ++LngI) {
    const double DblA = Ordinate(LngI, ChrAxis);
    const double DblB = Ordinate(LngI + 1, ChrAxis);
    // A NaN ordinate fails both tests and leaves the axis to the linear scan.
    if (!(DblA <= DblB)) BlnIncreasing = false;
    if (!(DblA >= DblB)) BlnDecreasing = false;
  }
  Cached = BlnIncreasing   ? TOrder::Increasing
           : BlnDecreasing ? TOrder::Decreasing
                           : TOrder::Unordered;
  return Cached;
}

long TAxis::GetIndex(double DblOrdinate, char ChrAxis) const {
  const long LngSize = GetSize();
  if (LngSize == 0 || std::isnan(DblOrdinate)) throw OrdinateOutOfRange;
  const double DblFirst = Ordinate(0, ChrAxis);
  const double DblLast = Ordinate(LngSize - 1, ChrAxis);
  const double DblLo = DblFirst < DblLast ? DblFirst : DblLast;
  const double DblHi = DblFirst < DblLast ? DblLast : DblFirst;
  if (DblOrdinate < DblLo || DblOrdinate > DblHi) throw OrdinateOutOfRange;
  if (LngSize == 1) return 0;
  switch (Order(ChrAxis)) {
    case TOrder::Increasing:
      return BisectIndex(DblOrdinate, ChrAxis, true);
    case TOrder::Decreasing:
      return BisectIndex(DblOrdinate, ChrAxis, false);
    default:
      break;
  }
  const long LngFound = ScanIndex(DblOrdinate, ChrAxis);
  if (LngFound >= 0) return LngFound;
  // Only the larger end of the range lies in no segment: it belongs to the segment at that end.
  return DblLast == DblHi ? LngSize - 2 : 0;
}

long TAxis::ScanIndex(double DblOrdinate, char ChrAxis) const {
  for (long LngI = 0; LngI + 1 < GetSize(); ++LngI) {
    const double DblA = Ordinate(LngI, ChrAxis);
    const double DblB = Ordinate(LngI + 1, ChrAxis);
    const double DblLo = DblA < DblB ? DblA : DblB;
    const double DblHi = DblA < DblB ? DblB : DblA;
    if (DblLo <= DblOrdinate && DblOrdinate < DblHi) return LngI;
  }
  return -1;
}

// On a monotonic axis the segments are disjoint and ordered, so the first segment
// holding the ordinate is the only one: the last point on the near side of it starts it.
long TAxis::BisectIndex(double DblOrdinate, char ChrAxis, bool BlnIncreasing) const {
  // Find the first point beyond the ordinate: above it on an increasing axis,
  // at or below it on a decreasing one.
  long LngLow = 0;
  long LngHigh = GetSize();
  while (LngLow < LngHigh) {
    const long LngMid = LngLow + (LngHigh - LngLow) / 2;
    const double DblMid = Ordinate(LngMid, ChrAxis);
    const bool BlnBeyond = BlnIncreasing ? DblMid > DblOrdinate : DblMid <= DblOrdinate;
    if (BlnBeyond) {
      LngHigh = LngMid;
    } else {
      LngLow = LngMid + 1;
    }
  }
  if (BlnIncreasing) {
    // LngLow - 1 is the last point at or below the ordinate; the top end has no segment above.
    const long LngIndex = LngLow - 1;
    return LngIndex >= GetSize() - 1 ? GetSize() - 2 : LngIndex;
  }
  // LngLow is the first point at or below the ordinate; the one before it lies above.
  return LngLow == 0 ? 0 : LngLow - 1;
}

TAxis* TAxis::GetSegment(long LngStart, long LngEnd) const {
  if (LngStart < 0 || LngStart >= GetSize())
    throw "Start index is out of range in TAxis::GetSegment";
  if (LngEnd < 0 || LngEnd >= GetSize()) throw "End index is out of range in TAxis::GetSegment";
  if (LngStart > LngEnd) throw "Start index is greater than end index in TAxis::GetSegment";
  auto PtrSegment = std::make_unique<TAxis>(MbrDblResolution, LngEnd - LngStart + 1);
  for (long LngK = 0; LngK <= LngEnd - LngStart; ++LngK) {
    PtrSegment->MbrVecPoints[static_cast<std::size_t>(LngK)].reset(
        MbrVecPoints[static_cast<std::size_t>(LngStart + LngK)]->Clone());
  }
  return PtrSegment.release();
}

TAxis* TAxis::GetSegment(const TPoint* PtrFirst, const TPoint* PtrSecond, char ChrAxis) const {
  const double DblFirst = ChrAxis == 'X' ? PtrFirst->MbrDblX : PtrFirst->MbrDblY;
  const double DblSecond = ChrAxis == 'X' ? PtrSecond->MbrDblX : PtrSecond->MbrDblY;
  const long LngStart = GetIndex(DblFirst, ChrAxis);
  const long LngEnd = GetIndex(DblSecond, ChrAxis);
  return GetSegment(LngStart, LngEnd);
}

TAxis* TAxis::Clone() const {
  if (MbrVecPoints.empty()) return new TAxis(MbrDblResolution, 0);
  return GetSegment(0, GetSize() - 1);
}
