#include "TMap.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "TAxisTools.h"

// Internal consistency checks of the axis setters. They stay active in release builds:
// they cost two comparisons per axis change and guard every later lookup.
#define GRIDCLIP_INVARIANT(Expr, Text)                                               \
  do {                                                                               \
    if (!(Expr)) {                                                                   \
      std::fprintf(stderr, "%s:%d: invariant failed: %s\n", "TMap", __LINE__, Text); \
      std::abort();                                                                  \
    }                                                                                \
  } while (false)

TMap::TMap(double DblResolution) : MbrDblResolution(DblResolution) {}

TMap::TMap(double DblResolution, long LngXDim, long LngYDim) : MbrDblResolution(DblResolution) {
  Init(DblResolution, LngXDim, LngYDim, -9999.0);
}

TMap::TMap(const TAxis* PtrXAxis, const TAxis* PtrYAxis) : MbrDblResolution(0.0) {
  const double DblXRes = PtrXAxis->MbrDblResolution;
  const double DblYRes = PtrYAxis->MbrDblResolution;
  if (!(DblXRes == DblYRes)) throw "Axes resolutions do not match in TMap::TMap";
  Init(DblXRes, PtrXAxis->GetSize(), PtrYAxis->GetSize(), -9999.0);
  SetXAxis(PtrXAxis);
  SetYAxis(PtrYAxis);
}

TMap::~TMap() = default;

void TMap::Init(double DblResolution, long LngXDim, long LngYDim, double DblNoDataValue) {
  MbrPtrXAxis.reset();
  MbrPtrYAxis.reset();
  MbrPtrXAxisInterval.reset();
  MbrPtrYAxisInterval.reset();
  MbrLngXDim = LngXDim;
  MbrDblResolution = DblResolution;
  MbrDblNoDataValue = DblNoDataValue;
  MbrLngYDim = LngYDim;
  const auto SizeColumns = static_cast<std::size_t>(LngXDim < 0 ? 0 : LngXDim);
  const auto SizeRows = static_cast<std::size_t>(LngYDim < 0 ? 0 : LngYDim);
  MbrVecRows.reserve(MbrVecRows.size() + SizeRows);
  for (std::size_t SizeI = 0; SizeI < SizeRows; ++SizeI) {
    MbrVecRows.emplace_back(SizeColumns, DblNoDataValue);
  }
}

void TMap::InitValues(double DblValue) {
  for (auto& VecRow : MbrVecRows) {
    for (long LngX = 0; LngX < MbrLngXDim && static_cast<std::size_t>(LngX) < VecRow.size();
         ++LngX) {
      VecRow[static_cast<std::size_t>(LngX)] = DblValue;
    }
  }
}

std::vector<double> TMap::GetRow(long LngIndex) const {
  if (LngIndex < 0 || static_cast<std::size_t>(LngIndex) >= MbrVecRows.size()) {
    throw "Index is out of bounds in TMap::GetRow";
  }
  return MbrVecRows[static_cast<std::size_t>(LngIndex)];
}

void TMap::AddRow(std::vector<double> VecRow) {
  if (MbrLngXDim == 0) MbrLngXDim = static_cast<long>(VecRow.size());
  MbrVecRows.push_back(std::move(VecRow));
  ++MbrLngYDim;
}

TPoint* TMap::GetCoordinates(long LngX, long LngY) const {
  if (LngX < 0 || LngX >= MbrPtrXAxis->GetSize()) {
    throw "LngX is out of range for the X-axis in TMap::GetCoordinates";
  }
  if (LngY < 0 || LngY >= MbrPtrYAxis->GetSize()) {
    throw "LngY is out of range for the Y-axis in TMap::GetCoordinates";
  }
  return new TPoint(MbrPtrXAxis->GetPoint(LngX)->MbrDblX, MbrPtrYAxis->GetPoint(LngY)->MbrDblY);
}

TMapPoint* TMap::GetPoint(long LngX, long LngY) const {
  if (LngX < 0 || LngX >= MbrLngXDim) throw "LngX is out of range in TMap::GetPoint (long,long)";
  if (LngY < 0 || LngY >= MbrLngYDim) throw "LngY is out of range in TMap::GetPoint (long,long)";
  auto PtrPoint = std::make_unique<TMapPoint>(MbrPtrXAxis->GetPoint(LngX)->MbrDblX,
                                              MbrPtrYAxis->GetPoint(LngY)->MbrDblY);
  PtrPoint->MbrDblValue = GetPointVal(LngX, LngY);
  return PtrPoint.release();
}

void TMap::SetXAxis(const TAxis* PtrAxis) {
  if (PtrAxis->GetSize() != MbrLngXDim) {
    throw "Length of new X axis does not match the X dimension of the map";
  }
  std::unique_ptr<TAxis> PtrEdges(TAxisTools::PointsToIntervals(PtrAxis, 'X'));
  MbrPtrXAxis.reset(PtrAxis->Clone());
  MbrPtrXAxisInterval = std::move(PtrEdges);
  GRIDCLIP_INVARIANT(MbrPtrXAxis->GetSize() == MbrLngXDim,
                     "MbrPtrXAxis -> GetSize () == MbrLngXDim");
  GRIDCLIP_INVARIANT(MbrPtrXAxisInterval->GetSize() == MbrLngXDim + 1,
                     "MbrPtrXAxisInterval -> GetSize () == MbrLngXDim + 1");
}

void TMap::SetYAxis(const TAxis* PtrAxis) {
  if (PtrAxis->GetSize() != MbrLngYDim) {
    throw "Length of new Y axis does not match the Y dimension of the map";
  }
  std::unique_ptr<TAxis> PtrEdges(TAxisTools::PointsToIntervals(PtrAxis, 'Y'));
  MbrPtrYAxis.reset(PtrAxis->Clone());
  MbrPtrYAxisInterval = std::move(PtrEdges);
  GRIDCLIP_INVARIANT(MbrPtrYAxis->GetSize() == MbrLngYDim,
                     "MbrPtrYAxis -> GetSize () == MbrLngYDim");
  GRIDCLIP_INVARIANT(MbrPtrYAxisInterval->GetSize() == MbrLngYDim + 1,
                     "MbrPtrYAxisInterval -> GetSize () == MbrLngYDim + 1");
}

void TMap::SetXAxisInterval(const TAxis* PtrAxis) {
  if (PtrAxis->GetSize() != MbrLngXDim + 1) {
    throw "Length of new X interval axis does not fit the X dimension of the map";
  }
  std::unique_ptr<TAxis> PtrCentres(TAxisTools::IntervalsToPoints(PtrAxis, 'X'));
  MbrPtrXAxisInterval.reset(PtrAxis->Clone());
  MbrPtrXAxis = std::move(PtrCentres);
  GRIDCLIP_INVARIANT(MbrPtrXAxis->GetSize() == MbrLngXDim,
                     "MbrPtrXAxis -> GetSize () == MbrLngXDim");
  GRIDCLIP_INVARIANT(MbrPtrXAxisInterval->GetSize() == MbrLngXDim + 1,
                     "MbrPtrXAxisInterval -> GetSize () == MbrLngXDim + 1");
}

void TMap::SetYAxisInterval(const TAxis* PtrAxis) {
  if (PtrAxis->GetSize() != MbrLngYDim + 1) {
    throw "Length of new Y interval axis does not fit the Y dimension of the map";
  }
  std::unique_ptr<TAxis> PtrCentres(TAxisTools::IntervalsToPoints(PtrAxis, 'Y'));
  MbrPtrYAxisInterval.reset(PtrAxis->Clone());
  MbrPtrYAxis = std::move(PtrCentres);
  GRIDCLIP_INVARIANT(MbrPtrYAxis->GetSize() == MbrLngYDim,
                     "MbrPtrYAxis -> GetSize () == MbrLngYDim");
  GRIDCLIP_INVARIANT(MbrPtrYAxisInterval->GetSize() == MbrLngYDim + 1,
                     "MbrPtrYAxisInterval -> GetSize () == MbrLngYDim + 1");
}

long TMap::GetIndex(double DblOrdinate, char ChrAxis) const {
  if (ChrAxis == 'X') return MbrPtrXAxisInterval->GetIndex(DblOrdinate, 'X');
  return MbrPtrYAxisInterval->GetIndex(DblOrdinate, ChrAxis);
}

TMap::TCell TMap::LocateCell(const TPoint* PtrPoint) const {
  const long LngX = MbrPtrXAxisInterval->GetIndex(PtrPoint->MbrDblX, 'X');
  const long LngY = MbrPtrYAxisInterval->GetIndex(PtrPoint->MbrDblY, 'Y');
  return {LngX, LngY};
}

void TMap::CheckCellForPointVal(TCell Cell) const {
  if (Cell.LngX < 0 || Cell.LngX >= MbrLngXDim) throw "LngX is out of range in TMap::GetPointVal";
  if (Cell.LngY < 0 || Cell.LngY >= MbrLngYDim) throw "LngY is out of range in TMap::GetPointVal";
  // A short row added by `AddRow` lacks the column: never read or write past its end.
  if (static_cast<std::size_t>(Cell.LngX) >=
      MbrVecRows[static_cast<std::size_t>(Cell.LngY)].size()) {
    throw "LngX is out of range in TMap::GetPointVal";
  }
}

double TMap::GetPointVal(const TPoint* PtrPoint) const {
  const TCell Cell = LocateCell(PtrPoint);
  CheckCellForPointVal(Cell);
  return GetPointVal(Cell.LngX, Cell.LngY);
}

TMapPoint* TMap::GetPoint(const TPoint* PtrPoint) const {
  const TCell Cell = LocateCell(PtrPoint);
  if (Cell.LngX < 0 || Cell.LngX >= MbrLngXDim)
    throw "LngX is out of range in TMap::GetPoint (TPoint*)";
  if (Cell.LngY < 0 || Cell.LngY >= MbrLngYDim)
    throw "LngY is out of range in TMap::GetPoint (TPoint*)";
  auto PtrResult = std::make_unique<TMapPoint>(PtrPoint->MbrDblX, PtrPoint->MbrDblY);
  PtrResult->MbrDblValue = GetPointVal(Cell.LngX, Cell.LngY);
  return PtrResult.release();
}

void TMap::SetPoint(const TPoint* PtrPoint, double DblValue) {
  const TCell Cell = LocateCell(PtrPoint);
  CheckCellForPointVal(Cell);
  SetPoint(Cell.LngX, Cell.LngY, DblValue);
}

std::vector<double> TMap::GetPointValues(std::vector<TPoint*> VecPoints) const {
  std::vector<double> VecValues;
  VecValues.reserve(VecPoints.size());
  for (const TPoint* PtrPoint : VecPoints) VecValues.push_back(GetPointVal(PtrPoint));
  return VecValues;
}
