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
    Writer.Numbers(VecRow.data(), SizeWritten, ChrSeparator);
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

#include <algorithm>
#include <cmath>
#include <utility>

namespace {
namespace algebra {

// Where one centre ordinate of the base map falls in the other map: the column or row index,
// or the failure that the cell lookup would report. Stages order the failures as the lookup
// meets them: column lookup (1), row lookup (2), column range (3), row range (4).
struct TCellLookup {
  long LngIndex = 0;
  const char* ChrFailure = nullptr;
  int IntStage = 0;
};

TCellLookup LookUpOrdinate(const TMap* PtrOther, double DblOrdinate, char ChrAxis) {
  const bool BlnX = ChrAxis == 'X';
  TCellLookup Lookup;
  try {
    Lookup.LngIndex = PtrOther->GetIndex(DblOrdinate, ChrAxis);
  } catch (const char* ChrMessage) {
    Lookup.ChrFailure = ChrMessage;
    Lookup.IntStage = BlnX ? 1 : 2;
    return Lookup;
  }
  const long LngDim = BlnX ? PtrOther->MbrLngXDim : PtrOther->MbrLngYDim;
  if (Lookup.LngIndex < 0 || Lookup.LngIndex >= LngDim) {
    Lookup.ChrFailure = BlnX ? "LngX is out of range in TMap::GetPointVal"
                             : "LngY is out of range in TMap::GetPointVal";
    Lookup.IntStage = BlnX ? 3 : 4;
  }
  return Lookup;
}

const char* FirstFailure(const TCellLookup& Column, const TCellLookup& Row) {
  if (Column.ChrFailure == nullptr) return Row.ChrFailure;
  if (Row.ChrFailure == nullptr) return Column.ChrFailure;
  return Column.IntStage < Row.IntStage ? Column.ChrFailure : Row.ChrFailure;
}

// A new map on the base map's cell size, dimensions and centre axes, with its no-data value.
std::unique_ptr<TMap> GridCopyBySize(const TMap* PtrBase) {
  auto PtrResult =
      std::make_unique<TMap>(PtrBase->MbrDblResolution, PtrBase->MbrLngXDim, PtrBase->MbrLngYDim);
  PtrResult->SetXAxis(PtrBase->MbrPtrXAxis.get());
  PtrResult->SetYAxis(PtrBase->MbrPtrYAxis.get());
  PtrResult->MbrDblNoDataValue = PtrBase->MbrDblNoDataValue;
  return PtrResult;
}

// Combines each cell of the base map with the cell of the other map that holds its centre.
// A column's centre x and a row's centre y are looked up once; the failure of the first
// failing cell, row by row, is the one a lookup of that cell's centre would throw.
template <typename TOperation>
TMap* MatchByPosition(const TMap* PtrBase, const TMap* PtrOther, TOperation Operation) {
  const long LngXDim = PtrBase->MbrLngXDim;
  const long LngYDim = PtrBase->MbrLngYDim;
  std::vector<TCellLookup> VecColumns(static_cast<std::size_t>(LngXDim));
  for (long LngX = 0; LngX < LngXDim; ++LngX) {
    VecColumns[static_cast<std::size_t>(LngX)] =
        LookUpOrdinate(PtrOther, PtrBase->MbrPtrXAxis->GetPoint(LngX)->MbrDblX, 'X');
  }
  std::vector<TCellLookup> VecRows(static_cast<std::size_t>(LngYDim));
  for (long LngY = 0; LngY < LngYDim; ++LngY) {
    VecRows[static_cast<std::size_t>(LngY)] =
        LookUpOrdinate(PtrOther, PtrBase->MbrPtrYAxis->GetPoint(LngY)->MbrDblY, 'Y');
  }

  auto PtrResult = GridCopyBySize(PtrBase);
  const double DblBaseNoData = PtrBase->MbrDblNoDataValue;
  const double DblOtherNoData = PtrOther->MbrDblNoDataValue;
  for (long LngY = 0; LngY < LngYDim; ++LngY) {
    const TCellLookup& Row = VecRows[static_cast<std::size_t>(LngY)];
    for (long LngX = 0; LngX < LngXDim; ++LngX) {
      const double DblV = PtrBase->GetPointVal(LngX, LngY);
      const TCellLookup& Column = VecColumns[static_cast<std::size_t>(LngX)];
      if (Column.ChrFailure != nullptr || Row.ChrFailure != nullptr) {
        throw FirstFailure(Column, Row);
      }
      const double DblW = PtrOther->GetPointVal(Column.LngIndex, Row.LngIndex);
      const bool BlnNoData = DblV == DblBaseNoData || DblW == DblOtherNoData;
      PtrResult->SetPoint(LngX, LngY, BlnNoData ? DblBaseNoData : Operation(DblV, DblW));
    }
  }
  return PtrResult.release();
}

// The finer map of a pair, which supplies the grid, and the other one. The second map is the
// finer only when its cells are strictly smaller.
std::pair<const TMap*, const TMap*> FinerAndOther(const TMap* PtrFirst, const TMap* PtrSecond) {
  if (PtrSecond->MbrDblResolution < PtrFirst->MbrDblResolution) return {PtrSecond, PtrFirst};
  return {PtrFirst, PtrSecond};
}

// A row of a source map, refused with the cell read's message when it is shorter than the
// map's column count.
const std::vector<double>& FullRow(const TMap* PtrMap, long LngY) {
  const auto& VecRow = PtrMap->MbrVecRows.at(static_cast<std::size_t>(LngY));
  if (VecRow.size() < static_cast<std::size_t>(PtrMap->MbrLngXDim)) {
    throw "X-ordinate is out of range in TMap::GetPointVal";
  }
  return VecRow;
}

// A new map (held until returned) on clones of the source's centre axes, each cell the
// transform of the source's cell, with the source's no-data value.
template <typename TTransform>
std::unique_ptr<TMap> TransformCells(const TMap* PtrSource, TTransform Transform) {
  auto PtrResult =
      std::make_unique<TMap>(PtrSource->MbrPtrXAxis.get(), PtrSource->MbrPtrYAxis.get());
  PtrResult->MbrDblNoDataValue = PtrSource->MbrDblNoDataValue;
  const auto SizeColumns = static_cast<std::size_t>(PtrSource->MbrLngXDim);
  for (long LngY = 0; LngY < PtrSource->MbrLngYDim; ++LngY) {
    const std::vector<double>& VecSource = FullRow(PtrSource, LngY);
    std::vector<double>& VecResult = PtrResult->MbrVecRows[static_cast<std::size_t>(LngY)];
    for (std::size_t SizeX = 0; SizeX < SizeColumns; ++SizeX) {
      VecResult[SizeX] = Transform(VecSource[SizeX]);
    }
  }
  return PtrResult;
}

// Nearest whole number, halves upward. Unlike floor(v + 0.5), v - floor(v) is never rounded
// across 0.5 (it is exact except for tiny negative v, where it lies near 1), so halves are
// found for every magnitude; NaN and infinities fail the test and come back unchanged.
double RoundHalfUp(double DblValue) {
  const double DblFloor = std::floor(DblValue);
  return DblValue - DblFloor >= 0.5 ? DblFloor + 1.0 : DblFloor;
}

}  // namespace algebra
}  // namespace

TMap* TMapTools::Add(const TMap* PtrFirst, const TMap* PtrSecond) {
  const auto [PtrBase, PtrOther] = algebra::FinerAndOther(PtrFirst, PtrSecond);
  return algebra::MatchByPosition(PtrBase, PtrOther,
                                  [](double DblV, double DblW) { return DblV + DblW; });
}

TMap* TMapTools::Subtract(const TMap* PtrFirst, const TMap* PtrSecond) {
  if (PtrFirst->MbrLngXDim != PtrSecond->MbrLngXDim) {
    throw "X dimensions do not match in TMapTools::Subtract";
  }
  if (PtrFirst->MbrLngYDim != PtrSecond->MbrLngYDim) {
    throw "Y dimensions do not match in TMapTools::Subtract";
  }
  auto PtrResult = std::make_unique<TMap>(PtrFirst->MbrPtrXAxis.get(), PtrFirst->MbrPtrYAxis.get());
  const double DblFirstNoData = PtrFirst->MbrDblNoDataValue;
  const double DblSecondNoData = PtrSecond->MbrDblNoDataValue;
  PtrResult->MbrDblNoDataValue = DblFirstNoData;
  const auto SizeColumns = static_cast<std::size_t>(PtrFirst->MbrLngXDim);
  for (long LngY = 0; LngY < PtrFirst->MbrLngYDim; ++LngY) {
    const std::vector<double>& VecFirst = algebra::FullRow(PtrFirst, LngY);
    const std::vector<double>& VecSecond = algebra::FullRow(PtrSecond, LngY);
    std::vector<double>& VecResult = PtrResult->MbrVecRows[static_cast<std::size_t>(LngY)];
    for (std::size_t SizeX = 0; SizeX < SizeColumns; ++SizeX) {
      const double DblV = VecFirst[SizeX];
      const double DblW = VecSecond[SizeX];
      const bool BlnNoData = DblV == DblFirstNoData || DblW == DblSecondNoData;
      VecResult[SizeX] = BlnNoData ? DblFirstNoData : DblV - DblW;
    }
  }
  return PtrResult.release();
}

TMap* TMapTools::Multiply(const TMap* PtrFirst, const TMap* PtrSecond) {
  const auto [PtrBase, PtrOther] = algebra::FinerAndOther(PtrFirst, PtrSecond);
  return algebra::MatchByPosition(PtrBase, PtrOther,
                                  [](double DblV, double DblW) { return DblV * DblW; });
}

TMap* TMapTools::Divide(const TMap* PtrDividend, const TMap* PtrDivisor) {
  if (PtrDividend->MbrDblResolution > PtrDivisor->MbrDblResolution) {
    throw "Divisor must be of equal of coarser resolution than the dividend in TMapTools::Divide";
  }
  return algebra::MatchByPosition(PtrDividend, PtrDivisor,
                                  [](double DblV, double DblW) { return DblV / DblW; });
}

TMap* TMapTools::Multiply(const TMap* PtrMap, double DblFactor) {
  const double DblNoData = PtrMap->MbrDblNoDataValue;
  return algebra::TransformCells(PtrMap,
                                 [DblNoData, DblFactor](double DblV) {
                                   return DblV == DblNoData ? DblV : DblV * DblFactor;
                                 })
      .release();
}

TMap* TMapTools::Divide(const TMap* PtrMap, double DblDivisor) {
  const double DblNoData = PtrMap->MbrDblNoDataValue;
  return algebra::TransformCells(PtrMap,
                                 [DblNoData, DblDivisor](double DblV) {
                                   return DblV == DblNoData ? DblV : DblV / DblDivisor;
                                 })
      .release();
}

TMap* TMapTools::RoundContents(const TMap* PtrMap) {
  const double DblNoData = PtrMap->MbrDblNoDataValue;
  return algebra::TransformCells(PtrMap,
                                 [DblNoData](double DblV) {
                                   return DblV == DblNoData ? DblV : algebra::RoundHalfUp(DblV);
                                 })
      .release();
}

// ---- Value rules ----

TMap* TMapTools::Threshold(const TMap* PtrMap, double DblThreshold) {
  return algebra::TransformCells(
             PtrMap, [DblThreshold](double DblV) { return DblV >= DblThreshold ? DblV : 0.0; })
      .release();
}

TMap* TMapTools::ThresholdReplace(const TMap* PtrMap, double DblThreshold, double DblReplacement) {
  return algebra::TransformCells(PtrMap,
                                 [DblThreshold, DblReplacement](double DblV) {
                                   return DblV >= DblThreshold ? DblReplacement : DblV;
                                 })
      .release();
}

TMap* TMapTools::Mask(const TMap* PtrGridMap, const TMap* PtrValueMap, double DblMaskValue,
                      double DblReplacement) {
  if (PtrGridMap->MbrLngXDim != PtrValueMap->MbrLngXDim) {
    throw "X dimensions do not match in TMapTools::Mask";
  }
  if (PtrGridMap->MbrLngYDim != PtrValueMap->MbrLngYDim) {
    throw "Y dimensions do not match in TMapTools::Mask";
  }
  auto PtrResult =
      std::make_unique<TMap>(PtrGridMap->MbrPtrXAxis.get(), PtrGridMap->MbrPtrYAxis.get());
  PtrResult->MbrDblNoDataValue = PtrValueMap->MbrDblNoDataValue;
  const auto SizeColumns = static_cast<std::size_t>(PtrValueMap->MbrLngXDim);
  for (long LngY = 0; LngY < PtrValueMap->MbrLngYDim; ++LngY) {
    const std::vector<double>& VecValues = algebra::FullRow(PtrValueMap, LngY);
    std::vector<double>& VecResult = PtrResult->MbrVecRows[static_cast<std::size_t>(LngY)];
    for (std::size_t SizeX = 0; SizeX < SizeColumns; ++SizeX) {
      const double DblW = VecValues[SizeX];
      VecResult[SizeX] = DblW == DblMaskValue ? DblReplacement : DblW;
    }
  }
  return PtrResult.release();
}

TMap* TMapTools::ReplaceValue(const TMap* PtrMap, std::map<double, double> MapTable,
                              double DblDefault) {
  // A NaN key breaks the ordering a search relies on, so the usable entries are copied out
  // and searched on their own.
  std::vector<std::pair<double, double>> VecTable;
  VecTable.reserve(MapTable.size());
  for (const auto& Entry : MapTable) {
    if (!std::isnan(Entry.first)) VecTable.emplace_back(Entry.first, Entry.second);
  }
  std::sort(VecTable.begin(), VecTable.end(),
            [](const auto& Left, const auto& Right) { return Left.first < Right.first; });
  return algebra::TransformCells(
             PtrMap,
             [&VecTable, DblDefault](double DblV) {
               const auto It = std::lower_bound(
                   VecTable.begin(), VecTable.end(), DblV,
                   [](const auto& Entry, double DblKey) { return Entry.first < DblKey; });
               if (It != VecTable.end() && It->first == DblV) {
                 return It->second;
               }
               return DblDefault;
             })
      .release();
}

void TMapTools::FillBlock(TMap* PtrMap, double DblValue, long LngNorth, long LngSouth, long LngWest,
                          long LngEast) {
  if (LngNorth > LngSouth) {
    throw "Northern edge must be less than southern edge in TMapTools::FillBlock";
  }
  if (LngWest > LngEast) {
    throw "Western edge must be less than eastern edge in TMapTools::FillBlock";
  }
  if (LngNorth < 0 || LngNorth >= PtrMap->MbrLngYDim) {
    throw "Northern ordinate is out of range in TMapTools::FillBlock";
  }
  if (LngSouth < 0 || LngSouth >= PtrMap->MbrLngYDim) {
    throw "Southern ordinate is out of range in TMapTools::FillBlock";
  }
  if (LngWest < 0) throw "Western ordinate is out of range in TMapTools::FillBlock";
  if (LngEast >= PtrMap->MbrLngXDim) {
    throw "Eastern ordinate is out of range in TMapTools::FillBlock";
  }
  // Rows added short by `TMap::AddRow` bound the block too: nothing is written past a row.
  for (long LngY = LngNorth; LngY <= LngSouth; ++LngY) {
    if (PtrMap->MbrVecRows.at(static_cast<std::size_t>(LngY)).size() <=
        static_cast<std::size_t>(LngEast)) {
      throw "Eastern ordinate is out of range in TMapTools::FillBlock";
    }
  }
  for (long LngY = LngNorth; LngY <= LngSouth; ++LngY) {
    auto& VecRow = PtrMap->MbrVecRows[static_cast<std::size_t>(LngY)];
    std::fill(VecRow.begin() + LngWest, VecRow.begin() + LngEast + 1, DblValue);
  }
}

std::map<double, long> TMapTools::CountValues(const TMap* PtrMap) {
  std::map<double, long> MapCounts;
  const auto SizeColumns = static_cast<std::size_t>(PtrMap->MbrLngXDim);
  for (long LngY = 0; LngY < PtrMap->MbrLngYDim; ++LngY) {
    const std::vector<double>& VecRow = algebra::FullRow(PtrMap, LngY);
    for (std::size_t SizeX = 0; SizeX < SizeColumns; ++SizeX) {
      if (!std::isnan(VecRow[SizeX])) ++MapCounts[VecRow[SizeX]];
    }
  }
  return MapCounts;
}

long TMapTools::CountValues(const TMap* PtrMap, double DblValue) {
  long LngCount = 0;
  const auto SizeColumns = static_cast<std::size_t>(PtrMap->MbrLngXDim);
  for (long LngY = 0; LngY < PtrMap->MbrLngYDim; ++LngY) {
    const std::vector<double>& VecRow = algebra::FullRow(PtrMap, LngY);
    for (std::size_t SizeX = 0; SizeX < SizeColumns; ++SizeX) {
      if (VecRow[SizeX] == DblValue) ++LngCount;
    }
  }
  return LngCount;
}

// ---- Downscale, subdivide and bilinear interpolation ----

// ---- Patch and overlay queries ----

// ---- Stack statistics ----

// ---- Per-cell series and gradients ----

// ---- Value sampling ----
