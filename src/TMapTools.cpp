#include "TMapTools.h"

#include <algorithm>
#include <memory>

#include "TPointTools.h"
#include "TTextTools.h"

// ---- Grid body and CSV export ----

void TMapTools::WriteFlatFile(TMap* PtrMap, std::ostream& Stream, char ChrSeparator) {
  TTextTools::TBlockWriter Writer(Stream);
  const auto SizeCols = static_cast<std::size_t>(PtrMap->MbrLngXDim);
  for (long LngY = 0; LngY < PtrMap->MbrLngYDim; ++LngY) {
    const std::vector<double>& VecRow = PtrMap->MbrVecRows[static_cast<std::size_t>(LngY)];
    const std::size_t SizeWritten = std::min(SizeCols, VecRow.size());
    for (std::size_t SizeX = 0; SizeX < SizeWritten; ++SizeX) {
      Writer.Number(VecRow[SizeX]);
      Writer.Char(ChrSeparator);
    }
    if (SizeWritten < SizeCols) {
      Writer.Flush();
      throw "X-ordinate is out of range in TMap::GetPointVal";
    }
    Writer.Char('\n');
  }
  Writer.Flush();
}

void TMapTools::WriteCSVFile(TMap* PtrMap, std::ostream& Stream) {
  TTextTools::TBlockWriter Writer(Stream);
  for (long LngX = 0; LngX < PtrMap->MbrLngXDim; ++LngX) {
    const double DblX = PtrMap->MbrPtrXAxis->GetPoint(LngX)->MbrDblX;
    for (long LngY = 0; LngY < PtrMap->MbrLngYDim; ++LngY) {
      Writer.Number(DblX);
      Writer.Char(',');
      Writer.Number(PtrMap->MbrPtrYAxis->GetPoint(LngY)->MbrDblY);
      Writer.Char(',');
      Writer.Number(PtrMap->GetPointVal(LngX, LngY));
      Writer.Char('\n');
    }
  }
  Writer.Flush();
}

// ---- Clipping ----

namespace {
// The extent of a map read from its edge axes; north and south are the larger and smaller
// of the first and last Y edge.
struct TExtent {
  double DblWest;
  double DblEast;
  double DblNorth;
  double DblSouth;
};

TExtent ExtentOf(const TMap& Map) {
  const double DblFirstY = Map.MbrPtrYAxisInterval->GetPoint(0)->MbrDblY;
  const double DblLastY = Map.MbrPtrYAxisInterval->GetPoint(Map.MbrLngYDim)->MbrDblY;
  return {Map.MbrPtrXAxisInterval->GetPoint(0)->MbrDblX,
          Map.MbrPtrXAxisInterval->GetPoint(Map.MbrLngXDim)->MbrDblX,
          DblFirstY > DblLastY ? DblFirstY : DblLastY, DblFirstY > DblLastY ? DblLastY : DblFirstY};
}
}  // namespace

TMap* TMapTools::Extract(TMap* PtrMap, TPoint* PtrFirst, TPoint* PtrSecond) {
  long LngX1 = PtrMap->GetIndex(PtrFirst->MbrDblX, 'X');
  long LngY1 = PtrMap->GetIndex(PtrFirst->MbrDblY, 'Y');
  long LngX2 = PtrMap->GetIndex(PtrSecond->MbrDblX, 'X');
  long LngY2 = PtrMap->GetIndex(PtrSecond->MbrDblY, 'Y');
  if (LngX1 > LngX2) std::swap(LngX1, LngX2);
  if (LngY1 > LngY2) std::swap(LngY1, LngY2);
  const std::unique_ptr<TAxis> PtrXSegment(PtrMap->MbrPtrXAxis->GetSegment(LngX1, LngX2));
  const std::unique_ptr<TAxis> PtrYSegment(PtrMap->MbrPtrYAxis->GetSegment(LngY1, LngY2));
  auto PtrResult = std::make_unique<TMap>(PtrXSegment.get(), PtrYSegment.get());
  PtrResult->MbrDblNoDataValue = PtrMap->MbrDblNoDataValue;
  for (long LngY = LngY1; LngY <= LngY2; ++LngY) {
    // One checked read per row covers the whole run of columns copied from it.
    PtrMap->GetPointVal(LngX2, LngY);
    const auto& VecSource = PtrMap->MbrVecRows[static_cast<std::size_t>(LngY)];
    std::copy(VecSource.begin() + LngX1, VecSource.begin() + LngX2 + 1,
              PtrResult->MbrVecRows[static_cast<std::size_t>(LngY - LngY1)].begin());
  }
  return PtrResult.release();
}

void TMapTools::Intersection(TMap* PtrMap1, TMap* PtrMap2, TMap*& PtrResult1, TMap*& PtrResult2) {
  const TExtent Extent1 = ExtentOf(*PtrMap1);
  const TExtent Extent2 = ExtentOf(*PtrMap2);
  const double DblRes1 = PtrMap1->MbrDblResolution;
  const double DblRes2 = PtrMap2->MbrDblResolution;
  if (Extent2.DblWest + DblRes2 > Extent1.DblEast || Extent1.DblWest + DblRes1 > Extent2.DblEast ||
      Extent2.DblSouth + DblRes2 > Extent1.DblNorth ||
      Extent1.DblSouth + DblRes1 > Extent2.DblNorth) {
    throw "Maps do not intersect in TMapTools::Intersection";
  }
  const TPoint SouthWest1(Extent1.DblWest, Extent1.DblSouth);
  const TPoint SouthWest2(Extent2.DblWest, Extent2.DblSouth);
  const TPoint NorthEast1(Extent1.DblEast, Extent1.DblNorth);
  const TPoint NorthEast2(Extent2.DblEast, Extent2.DblNorth);
  const std::unique_ptr<TPoint> PtrSouthWest(TPointTools::Max(&SouthWest1, &SouthWest2));
  const std::unique_ptr<TPoint> PtrNorthEast(TPointTools::Min(&NorthEast1, &NorthEast2));
  // Half of the finer cell inside the corners of the common extent: the centres of its corner
  // cells on a shared lattice, far from any edge that running sums may have moved.
  const double DblInset = (DblRes1 < DblRes2 ? DblRes1 : DblRes2) * 0.5;
  TPoint NorthWest(PtrSouthWest->MbrDblX + DblInset, PtrNorthEast->MbrDblY - DblInset);
  TPoint SouthEast(PtrNorthEast->MbrDblX - DblInset, PtrSouthWest->MbrDblY + DblInset);
  PtrResult1 = Extract(PtrMap1, &NorthWest, &SouthEast);
  PtrResult2 = Extract(PtrMap2, &NorthWest, &SouthEast);
}

void TMapTools::Insert(TMap* PtrDest, TMap* PtrSource) {
  const TExtent Dest = ExtentOf(*PtrDest);
  const TExtent Source = ExtentOf(*PtrSource);
  if (Source.DblWest < Dest.DblWest || Source.DblNorth > Dest.DblNorth) {
    throw "Insert map's NW corner is outside of the destination map in TMapTools::Insert";
  }
  if (Source.DblEast > Dest.DblEast || Source.DblSouth < Dest.DblSouth) {
    throw "Insert map's SE corner is outside of the destination map in TMapTools::Insert";
  }
  for (long LngY = 0; LngY < PtrSource->MbrLngYDim; ++LngY) {
    for (long LngX = 0; LngX < PtrSource->MbrLngXDim; ++LngX) {
      const std::unique_ptr<TMapPoint> PtrPoint(PtrSource->GetPoint(LngX, LngY));
      PtrDest->SetPoint(PtrPoint.get(), PtrPoint->MbrDblValue);
    }
  }
}

// ---- Cell arithmetic ----

// ---- Value rules ----

// ---- Downscale, subdivide and bilinear interpolation ----

// ---- Patch and overlay queries ----

// ---- Stack statistics ----

// ---- Per-cell series and gradients ----

// ---- Value sampling ----
