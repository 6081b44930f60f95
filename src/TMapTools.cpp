#include "TMapTools.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <memory>
#include <set>
#include <utility>

#include "TPointTools.h"
#include "TTextTools.h"
#include "TVectorTools.h"

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

namespace {
// Where the centre of one source column (row) falls in the destination: the destination index,
// or the failure a write through that centre point meets. `IntStep` places the failure among
// the steps of one cell's write: reading the centre's x (1) and y (2) from the source axes,
// reading the cell (3, a short row), finding the destination column (4) and row (5), and
// checking them (6, 7).
struct TInsertLookup {
  long LngIndex = 0;
  const char* ChrFailure = nullptr;
  int IntStep = 0;
};

std::vector<TInsertLookup> LookUpCentres(const TMap& Dest, const TMap& Source, char ChrAxis) {
  const bool BlnX = ChrAxis == 'X';
  const TAxis& Centres = BlnX ? *Source.MbrPtrXAxis : *Source.MbrPtrYAxis;
  const long LngCount = BlnX ? Source.MbrLngXDim : Source.MbrLngYDim;
  const long LngDestDim = BlnX ? Dest.MbrLngXDim : Dest.MbrLngYDim;
  std::vector<TInsertLookup> VecLookups(static_cast<std::size_t>(std::max(LngCount, 0L)));
  for (long LngI = 0; LngI < LngCount; ++LngI) {
    TInsertLookup& Lookup = VecLookups[static_cast<std::size_t>(LngI)];
    if (LngI >= Centres.GetSize()) {
      Lookup = {0, "Index is out of range in TAxis::GetPoint", BlnX ? 1 : 2};
      continue;
    }
    const TPoint* PtrCentre = Centres.GetPoint(LngI);
    try {
      Lookup.LngIndex = Dest.GetIndex(BlnX ? PtrCentre->MbrDblX : PtrCentre->MbrDblY, ChrAxis);
    } catch (const char* ChrMessage) {
      Lookup = {0, ChrMessage, BlnX ? 4 : 5};
      continue;
    }
    if (Lookup.LngIndex < 0 || Lookup.LngIndex >= LngDestDim) {
      Lookup = {0,
                BlnX ? "LngX is out of range in TMap::GetPointVal"
                     : "LngY is out of range in TMap::GetPointVal",
                BlnX ? 6 : 7};
    }
  }
  return VecLookups;
}

const char* FirstFailure(const TInsertLookup& Column, const TInsertLookup& Row, bool BlnShortRow) {
  const char* ChrFailure = nullptr;
  int IntStep = 8;
  if (Column.ChrFailure != nullptr && Column.IntStep < IntStep) {
    ChrFailure = Column.ChrFailure;
    IntStep = Column.IntStep;
  }
  if (Row.ChrFailure != nullptr && Row.IntStep < IntStep) {
    ChrFailure = Row.ChrFailure;
    IntStep = Row.IntStep;
  }
  if (BlnShortRow && 3 < IntStep) ChrFailure = "X-ordinate is out of range in TMap::GetPointVal";
  return ChrFailure;
}
}  // namespace

// One lookup per source column and per source row serves every cell; a cell whose write would
// fail throws that failure, after the cells before it are written, as writing cell by cell does.
void TMapTools::Insert(TMap* PtrDest, TMap* PtrSource) {
  const TExtent Dest = ExtentOf(*PtrDest);
  const TExtent Source = ExtentOf(*PtrSource);
  if (Source.DblWest < Dest.DblWest || Source.DblNorth > Dest.DblNorth) {
    throw "Insert map's NW corner is outside of the destination map in TMapTools::Insert";
  }
  if (Source.DblEast > Dest.DblEast || Source.DblSouth < Dest.DblSouth) {
    throw "Insert map's SE corner is outside of the destination map in TMapTools::Insert";
  }
  const std::vector<TInsertLookup> VecColumns = LookUpCentres(*PtrDest, *PtrSource, 'X');
  const std::vector<TInsertLookup> VecRows = LookUpCentres(*PtrDest, *PtrSource, 'Y');
  for (long LngY = 0; LngY < PtrSource->MbrLngYDim; ++LngY) {
    const TInsertLookup& Row = VecRows[static_cast<std::size_t>(LngY)];
    const std::vector<double>& VecSource = PtrSource->MbrVecRows[static_cast<std::size_t>(LngY)];
    for (long LngX = 0; LngX < PtrSource->MbrLngXDim; ++LngX) {
      const TInsertLookup& Column = VecColumns[static_cast<std::size_t>(LngX)];
      const bool BlnShortRow = static_cast<std::size_t>(LngX) >= VecSource.size();
      if (Column.ChrFailure != nullptr || Row.ChrFailure != nullptr || BlnShortRow) {
        throw FirstFailure(Column, Row, BlnShortRow);
      }
      std::vector<double>& VecDest = PtrDest->MbrVecRows[static_cast<std::size_t>(Row.LngIndex)];
      if (static_cast<std::size_t>(Column.LngIndex) >= VecDest.size()) {
        throw "LngX is out of range in TMap::GetPointVal";  // a short destination row
      }
      VecDest[static_cast<std::size_t>(Column.LngIndex)] =
          VecSource[static_cast<std::size_t>(LngX)];
    }
  }
}

// ---- Cell arithmetic ----

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

namespace {
// 2^31: the smallest count that no longer fits in a 32-bit signed index.
constexpr double DblCountLimit = 2147483648.0;
constexpr long LngCountMax = 2147483647;

// An axis of `LngSize` points: the first at `DblFirst` along `ChrAxis`, each next one step
// further (running sums), with `DblOther` as the other coordinate.
std::unique_ptr<TAxis> MakeRunningAxis(double DblResolution, long LngSize, double DblFirst,
                                       double DblStep, double DblOther, char ChrAxis) {
  auto PtrAxis = std::make_unique<TAxis>(DblResolution, LngSize);
  double DblValue = DblFirst;
  for (long LngI = 0; LngI < LngSize; ++LngI) {
    PtrAxis->SetPoint(
        LngI, ChrAxis == 'X' ? new TPoint(DblValue, DblOther) : new TPoint(DblOther, DblValue));
    DblValue += DblStep;
  }
  return PtrAxis;
}

// One sample's lookups run in this order; a failure keeps its place so that the lookups
// shared by a whole column or row of samples report the same first failure as lookups made
// sample by sample.
enum TSampleStage : int {
  StageResultX,
  StageResultY,
  StageResultColumn,
  StageResultRow,
  StageSourceX,
  StageSourceY,
  StageCentreColumn,
  StageCentreRow,
  StageGetX1,
  StageGetX2,
  StageGetY1,
  StageGetY2,
  StageNone
};

// Everything about a sample that depends on its x alone (or on its y alone).
struct TOrdinateSample {
  double DblOrdinate = 0.0;
  int IntFailStage = StageNone;
  const char* ChrFailure = nullptr;
  long LngResultIndex = 0;  // the result column (row) holding the ordinate
  long LngGet1 = 0;         // the source columns (rows) whose centres enclose it
  long LngGet2 = 0;
  double DblCentre1 = 0.0;  // and those centres
  double DblCentre2 = 0.0;
};

TOrdinateSample Failed(TOrdinateSample Sample, int IntStage, const char* ChrFailure) {
  Sample.IntFailStage = IntStage;
  Sample.ChrFailure = ChrFailure;
  return Sample;
}

// Locates one ordinate of a sample in the result and in the source and picks the enclosing
// pair of source centres: along X the pair below when the ordinate is at most the centre of
// its cell; along Y the same on ascending rows, and the pair towards row 0 when the ordinate
// is above the centre on descending rows.
TOrdinateSample SampleOrdinate(const TMap& Source, const TMap& Result, double DblOrdinate,
                               bool BlnX, bool BlnDescending) {
  const char ChrAxis = BlnX ? 'X' : 'Y';
  TOrdinateSample Sample;
  Sample.DblOrdinate = DblOrdinate;
  try {
    Sample.LngResultIndex = Result.GetIndex(DblOrdinate, ChrAxis);
  } catch (const char* ChrText) {
    return Failed(Sample, BlnX ? StageResultX : StageResultY, ChrText);
  }
  const long LngResultDim = BlnX ? Result.MbrLngXDim : Result.MbrLngYDim;
  if (Sample.LngResultIndex < 0 || Sample.LngResultIndex >= LngResultDim) {
    return BlnX
               ? Failed(Sample, StageResultColumn,
                        "LngX is out of range in TMap::GetPoint (TPoint*)")
               : Failed(Sample, StageResultRow, "LngY is out of range in TMap::GetPoint (TPoint*)");
  }
  long LngIndex = 0;
  try {
    LngIndex = Source.GetIndex(DblOrdinate, ChrAxis);
  } catch (const char* ChrText) {
    return Failed(Sample, BlnX ? StageSourceX : StageSourceY, ChrText);
  }
  const TAxis& Centres = BlnX ? *Source.MbrPtrXAxis : *Source.MbrPtrYAxis;
  if (LngIndex < 0 || LngIndex >= Centres.GetSize()) {
    return BlnX ? Failed(Sample, StageCentreColumn,
                         "LngX is out of range for the X-axis in TMap::GetCoordinates")
                : Failed(Sample, StageCentreRow,
                         "LngY is out of range for the Y-axis in TMap::GetCoordinates");
  }
  const TPoint* PtrCentre = Centres.GetPoint(LngIndex);
  const double DblCentre = BlnX ? PtrCentre->MbrDblX : PtrCentre->MbrDblY;
  const bool BlnPairBefore =
      (BlnX || !BlnDescending) ? DblOrdinate <= DblCentre : DblOrdinate > DblCentre;
  Sample.LngGet1 = BlnPairBefore ? LngIndex - 1 : LngIndex;
  Sample.LngGet2 = BlnPairBefore ? LngIndex : LngIndex + 1;
  const long LngSourceDim = BlnX ? Source.MbrLngXDim : Source.MbrLngYDim;
  if (Sample.LngGet1 < 0 || Sample.LngGet1 >= LngSourceDim) {
    return BlnX ? Failed(Sample, StageGetX1,
                         "LngGetX1 is out of range in TMapTools::BilinearInterpolate")
                : Failed(Sample, StageGetY1,
                         "LngGetY1 is out of range in TMapTools::BilinearInterpolate");
  }
  if (Sample.LngGet2 < 0 || Sample.LngGet2 >= LngSourceDim) {
    return BlnX ? Failed(Sample, StageGetX2,
                         "LngGetX2 is out of range in TMapTools::BilinearInterpolate")
                : Failed(Sample, StageGetY2,
                         "LngGetY2 is out of range in TMapTools::BilinearInterpolate");
  }
  const TPoint* PtrFirst = Centres.GetPoint(Sample.LngGet1);
  const TPoint* PtrSecond = Centres.GetPoint(Sample.LngGet2);
  Sample.DblCentre1 = BlnX ? PtrFirst->MbrDblX : PtrFirst->MbrDblY;
  Sample.DblCentre2 = BlnX ? PtrSecond->MbrDblX : PtrSecond->MbrDblY;
  return Sample;
}
}  // namespace

TMap* TMapTools::Downscale(const TMap* PtrMap, double DblResolution) {
  if (!(DblResolution > 0.0)) throw "New resolution must be > 0.0 in TMapTools::Downscale";
  const double DblColumns =
      PtrMap->MbrDblResolution * static_cast<double>(PtrMap->MbrLngXDim) / DblResolution;
  const double DblRows =
      PtrMap->MbrDblResolution * static_cast<double>(PtrMap->MbrLngYDim) / DblResolution;
  // Both counts are cut toward zero; NaN fits no count.
  if (!(DblColumns < DblCountLimit) || !(DblRows < DblCountLimit)) {
    throw "Result grid is too large in TMapTools::Downscale";
  }
  // A grid without a column or a row has no edges to derive.
  if (!(DblColumns >= 1.0) || !(DblRows >= 1.0)) throw "Index is out of range in TAxis::GetPoint";
  const long LngColumns = static_cast<long>(DblColumns);
  const long LngRows = static_cast<long>(DblRows);

  const TAxis& XEdges = *PtrMap->MbrPtrXAxisInterval;
  const TAxis& YEdges = *PtrMap->MbrPtrYAxisInterval;
  const double DblWest = XEdges.GetPoint(0)->MbrDblX;
  const double DblNorth = YEdges.GetPoint(0)->MbrDblY;
  const double DblSouth = YEdges.GetPoint(PtrMap->MbrLngYDim)->MbrDblY;
  const double DblYStep = DblSouth > DblNorth ? DblResolution : -DblResolution;

  auto PtrResult = std::make_unique<TMap>(DblResolution, LngColumns, LngRows);
  const auto PtrXAxis = MakeRunningAxis(DblResolution, LngColumns, DblWest + DblResolution / 2.0,
                                        DblResolution, DblNorth, 'X');
  const auto PtrYAxis =
      MakeRunningAxis(DblResolution, LngRows, DblNorth + DblYStep / 2.0, DblYStep, DblWest, 'Y');
  PtrResult->SetXAxis(PtrXAxis.get());
  PtrResult->SetYAxis(PtrYAxis.get());
  return PtrResult.release();
}

TMap* TMapTools::Subdivide(const TMap* PtrMap, int IntFactor) {
  if (IntFactor <= 0) throw "Subdivision factor must be > 0 in TMapTools::Subdivide";
  const long LngFactor = IntFactor;
  const long LngSourceColumns = PtrMap->MbrLngXDim;
  const long LngSourceRows = PtrMap->MbrLngYDim;
  if (LngSourceColumns > LngCountMax / LngFactor || LngSourceRows > LngCountMax / LngFactor) {
    throw "Result grid is too large in TMapTools::Subdivide";
  }
  const long LngColumns = LngFactor * LngSourceColumns;
  const long LngRows = LngFactor * LngSourceRows;
  const double DblCell = PtrMap->MbrDblResolution / static_cast<double>(IntFactor);

  auto PtrResult = std::make_unique<TMap>(DblCell, LngColumns, LngRows);
  // The copied cells include the source's no-data cells, so the marker goes with them.
  PtrResult->MbrDblNoDataValue = PtrMap->MbrDblNoDataValue;
  const auto SizeFactor = static_cast<std::size_t>(LngFactor);
  for (long LngY = 0; LngY < LngSourceRows; ++LngY) {
    const std::size_t SizeFirstRow = SizeFactor * static_cast<std::size_t>(LngY);
    std::vector<double>& VecFirstRow = PtrResult->MbrVecRows[SizeFirstRow];
    std::size_t SizeColumn = 0;
    for (long LngX = 0; LngX < LngSourceColumns; ++LngX) {
      const double DblValue = PtrMap->GetPointVal(LngX, LngY);
      for (std::size_t SizeK = 0; SizeK < SizeFactor; ++SizeK) VecFirstRow[SizeColumn++] = DblValue;
    }
    // Rows of equal length: assignment copies without allocating.
    for (std::size_t SizeK = 1; SizeK < SizeFactor; ++SizeK) {
      PtrResult->MbrVecRows[SizeFirstRow + SizeK] = VecFirstRow;
    }
  }

  const TAxis& XEdges = *PtrMap->MbrPtrXAxisInterval;
  const TAxis& YEdges = *PtrMap->MbrPtrYAxisInterval;
  const double DblWest = XEdges.GetPoint(0)->MbrDblX;
  const double DblNorth = YEdges.GetPoint(0)->MbrDblY;
  const double DblSouth = YEdges.GetPoint(LngSourceRows)->MbrDblY;
  const double DblYStep = DblSouth <= DblNorth ? -DblCell : DblCell;
  const auto PtrXEdges = MakeRunningAxis(DblCell, LngColumns + 1, DblWest, DblCell, DblNorth, 'X');
  const auto PtrYEdges = MakeRunningAxis(DblCell, LngRows + 1, DblNorth, DblYStep, DblWest, 'Y');
  PtrResult->SetXAxisInterval(PtrXEdges.get());
  PtrResult->SetYAxisInterval(PtrYEdges.get());
  return PtrResult.release();
}

double TMapTools::BilinearInterpolate(double DblQ11, double DblQ21, double DblQ12, double DblQ22,
                                      double DblX, double DblX1, double DblX2, double DblY,
                                      double DblY1, double DblY2) {
  const double DblArea = (DblX2 - DblX1) * (DblY2 - DblY1);
  return DblQ11 / DblArea * (DblX2 - DblX) * (DblY2 - DblY) +
         DblQ21 / DblArea * (DblX - DblX1) * (DblY2 - DblY) +
         DblQ12 / DblArea * (DblX2 - DblX) * (DblY - DblY1) +
         DblQ22 / DblArea * (DblX - DblX1) * (DblY - DblY1);
}

void TMapTools::BilinearInterpolate(const TMapPoint* PtrP1, const TMapPoint* PtrP2,
                                    const TMapPoint* PtrP3, const TMapPoint* PtrP4,
                                    TMapPoint* PtrP5) {
  PtrP5->MbrDblValue =
      BilinearInterpolate(PtrP1->MbrDblValue, PtrP2->MbrDblValue, PtrP3->MbrDblValue,
                          PtrP4->MbrDblValue, PtrP5->MbrDblX, PtrP1->MbrDblX, PtrP2->MbrDblX,
                          PtrP5->MbrDblY, PtrP1->MbrDblY, PtrP3->MbrDblY);
}

TMap* TMapTools::BilinearInterpolate(const TMap* PtrMap, double DblResolution) {
  if (!(DblResolution > 0.0)) {
    throw "New resolution cannot be <= 0.0 in TMapTools::BilinearInterpolate";
  }
  const TMap& Source = *PtrMap;
  std::unique_ptr<TMap> PtrResult(Downscale(PtrMap, DblResolution));
  // The unsampled band keeps the source's marker, so the result declares it. The new grid
  // already holds -9999 in every cell.
  if (!(Source.MbrDblNoDataValue == -9999.0)) PtrResult->InitValues(Source.MbrDblNoDataValue);
  PtrResult->MbrDblNoDataValue = Source.MbrDblNoDataValue;

  const TAxis& XEdges = *PtrResult->MbrPtrXAxisInterval;
  const TAxis& YEdges = *PtrResult->MbrPtrYAxisInterval;
  const double DblWest = XEdges.GetPoint(0)->MbrDblX;
  const double DblEast = XEdges.GetPoint(XEdges.GetSize() - 1)->MbrDblX;
  const double DblNorth = YEdges.GetPoint(0)->MbrDblY;
  const double DblSouth = YEdges.GetPoint(YEdges.GetSize() - 1)->MbrDblY;
  const double DblCell = Source.MbrDblResolution;
  const bool BlnDescending = DblNorth > DblSouth;

  const double DblXEnd = DblEast - DblCell - DblResolution;
  double DblX = DblWest + DblCell;
  if (!(DblX <= DblXEnd)) return PtrResult.release();

  // Every column of samples visits the same y values, so their lookups are made once.
  std::vector<TOrdinateSample> VecRows;
  const double DblYStep = BlnDescending ? -DblResolution : DblResolution;
  const double DblYEnd = BlnDescending ? DblSouth + DblCell : DblSouth - DblCell;
  double DblY = BlnDescending ? DblNorth - DblCell - DblResolution : DblNorth + DblCell;
  while (true) {
    VecRows.push_back(SampleOrdinate(Source, *PtrResult, DblY, false, BlnDescending));
    const double DblNext = DblY + DblYStep;
    // The y values are gathered before any sample is taken: a step too small to move y ends
    // the list, since every further sample would repeat this one.
    if (DblNext == DblY) break;
    DblY = DblNext;
    if (BlnDescending ? !(DblY >= DblYEnd) : !(DblY <= DblYEnd)) break;
  }

  std::vector<TOrdinateSample> VecColumns;
  while (true) {
    VecColumns.push_back(SampleOrdinate(Source, *PtrResult, DblX, true, BlnDescending));
    const double DblNext = DblX + DblResolution;
    if (DblNext == DblX) break;
    DblX = DblNext;
    if (!(DblX <= DblXEnd)) break;
  }

  const auto SampleCell = [&Source, &PtrResult](const TOrdinateSample& Column,
                                                const TOrdinateSample& Row) {
    if (Column.IntFailStage != StageNone || Row.IntFailStage != StageNone) {
      throw Column.IntFailStage <= Row.IntFailStage ? Column.ChrFailure : Row.ChrFailure;
    }
    const double DblQ11 = Source.GetPointVal(Column.LngGet1, Row.LngGet1);
    const double DblQ21 = Source.GetPointVal(Column.LngGet2, Row.LngGet1);
    const double DblQ12 = Source.GetPointVal(Column.LngGet1, Row.LngGet2);
    const double DblQ22 = Source.GetPointVal(Column.LngGet2, Row.LngGet2);
    PtrResult->SetPoint(
        Column.LngResultIndex, Row.LngResultIndex,
        BilinearInterpolate(DblQ11, DblQ21, DblQ12, DblQ22, Column.DblOrdinate, Column.DblCentre1,
                            Column.DblCentre2, Row.DblOrdinate, Row.DblCentre1, Row.DblCentre2));
  };
  // Samples are taken column by column. When no sample can fail (every lookup succeeded and
  // every source row is complete) they are taken row by row instead, which follows the rows
  // in memory and leaves every cell as before: the samples that fall in one result cell are
  // the pairs of some columns and some rows, and the last pair written is the last column
  // with the last row in either order.
  const auto Fails = [](const TOrdinateSample& Sample) { return Sample.IntFailStage != StageNone; };
  const bool BlnRowByRow =
      std::none_of(VecColumns.begin(), VecColumns.end(), Fails) &&
      std::none_of(VecRows.begin(), VecRows.end(), Fails) &&
      std::all_of(Source.MbrVecRows.begin(), Source.MbrVecRows.end(),
                  [&Source](const auto& VecRow) {
                    return VecRow.size() >= static_cast<std::size_t>(Source.MbrLngXDim);
                  });
  if (BlnRowByRow) {
    // Every index was checked above, so rows are read and written directly.
    for (const TOrdinateSample& Row : VecRows) {
      const std::vector<double>& VecRow1 = Source.MbrVecRows[static_cast<std::size_t>(Row.LngGet1)];
      const std::vector<double>& VecRow2 = Source.MbrVecRows[static_cast<std::size_t>(Row.LngGet2)];
      std::vector<double>& VecResult =
          PtrResult->MbrVecRows[static_cast<std::size_t>(Row.LngResultIndex)];
      for (const TOrdinateSample& Column : VecColumns) {
        const auto SizeX1 = static_cast<std::size_t>(Column.LngGet1);
        const auto SizeX2 = static_cast<std::size_t>(Column.LngGet2);
        VecResult[static_cast<std::size_t>(Column.LngResultIndex)] = BilinearInterpolate(
            VecRow1[SizeX1], VecRow1[SizeX2], VecRow2[SizeX1], VecRow2[SizeX2], Column.DblOrdinate,
            Column.DblCentre1, Column.DblCentre2, Row.DblOrdinate, Row.DblCentre1, Row.DblCentre2);
      }
    }
  } else {
    for (const TOrdinateSample& Column : VecColumns) {
      for (const TOrdinateSample& Row : VecRows) SampleCell(Column, Row);
    }
  }
  return PtrResult.release();
}

// ---- Patch and overlay queries ----

namespace {
// Answers whether a value is in an exclusion list with `TVectorTools::HasValue`, asking it once
// per distinct value found: HasValue takes the list by value, and asking per cell would copy the
// list per cell. Callers ask only about values they have not already accepted, never about NaN.
class TExclusionList {
 public:
  explicit TExclusionList(const std::vector<double>& VecValues) : MbrVecValues(VecValues) {}

  bool Holds(double DblValue) {
    if (MbrVecValues.empty()) return false;
    if (MbrSetFound.count(DblValue) != 0) return true;
    if (!TVectorTools::HasValue(MbrVecValues, DblValue)) return false;
    MbrSetFound.insert(DblValue);
    return true;
  }

 private:
  const std::vector<double>& MbrVecValues;
  std::set<double> MbrSetFound;
};

// The value vector of zone `DblZone`, created on first sight; null when the zone is excluded.
std::vector<double>* ZoneValues(std::map<double, std::vector<double>>& MapZones,
                                TExclusionList& Exclusions, double DblZone) {
  auto It = MapZones.lower_bound(DblZone);
  if (It != MapZones.end() && !(DblZone < It->first)) return &It->second;
  if (Exclusions.Holds(DblZone)) return nullptr;
  return &MapZones.emplace_hint(It, DblZone, std::vector<double>())->second;
}
}  // namespace

void TMapTools::FindPatchExtent(const TMap* PtrMap, double DblValue, long& LngNorth, long& LngSouth,
                                long& LngWest, long& LngEast) {
  LngNorth = PtrMap->MbrLngYDim - 1;
  LngSouth = 0;
  LngWest = PtrMap->MbrLngXDim - 1;
  LngEast = 0;
  bool BlnFound = false;
  // The block does not depend on the visiting order, so the rows are read as they are stored.
  const long LngRows = std::min(PtrMap->MbrLngYDim, static_cast<long>(PtrMap->MbrVecRows.size()));
  for (long LngY = 0; LngY < LngRows; ++LngY) {
    const std::vector<double>& VecRow = PtrMap->MbrVecRows[static_cast<std::size_t>(LngY)];
    const long LngColumns = std::min(PtrMap->MbrLngXDim, static_cast<long>(VecRow.size()));
    for (long LngX = 0; LngX < LngColumns; ++LngX) {
      if (!(VecRow[static_cast<std::size_t>(LngX)] == DblValue)) continue;
      BlnFound = true;
      if (LngX < LngWest) LngWest = LngX;
      if (LngX > LngEast) LngEast = LngX;
      if (LngY < LngNorth) LngNorth = LngY;
      if (LngY > LngSouth) LngSouth = LngY;
    }
  }
  if (!BlnFound) LngNorth = LngSouth = LngWest = LngEast = 0;
}

void TMapTools::BufferIndices(const TMap* PtrMap, long LngN, long& LngNorth, long& LngSouth,
                              long& LngWest, long& LngEast) {
  const long LngColumns = PtrMap->MbrLngXDim;
  const long LngRows = PtrMap->MbrLngYDim;
  // A negative width would move the edges past each other and out of the map (overflowing
  // at the ends of long): it widens by nothing.
  LngN = std::max(LngN, 0L);
  LngWest = LngWest > LngN ? LngWest - LngN : 0;
  LngEast = LngEast < LngColumns - LngN - 1 ? LngEast + LngN : LngColumns - 1;
  LngNorth = LngNorth > LngN ? LngNorth - LngN : 0;
  LngSouth = LngSouth < LngRows - LngN - 1 ? LngSouth + LngN : LngRows - 1;
}

std::map<double, std::vector<double>> TMapTools::GetValuesOverlay(const TMap* PtrValueMap,
                                                                  const TMap* PtrZoneMap,
                                                                  std::vector<double> VecExcluded) {
  if (PtrValueMap->MbrLngXDim != PtrZoneMap->MbrLngXDim) throw "Map X-dimensions do not match";
  if (PtrValueMap->MbrLngYDim != PtrZoneMap->MbrLngYDim) throw "Map Y-Dimensions do not match";
  std::map<double, std::vector<double>> MapZones;
  TExclusionList Exclusions(VecExcluded);
  // Zone maps come in runs of equal values: the zone's vector is looked up once per run.
  double DblRunZone = std::numeric_limits<double>::quiet_NaN();
  std::vector<double>* PtrRunValues = nullptr;
  for (long LngX = 0; LngX < PtrZoneMap->MbrLngXDim; ++LngX) {
    for (long LngY = 0; LngY < PtrZoneMap->MbrLngYDim; ++LngY) {
      const double DblZone = PtrZoneMap->GetPointVal(LngX, LngY);
      if (!(DblZone == DblRunZone)) {
        DblRunZone = DblZone;
        // A NaN key would break the ordering of the result, so NaN zones are skipped.
        PtrRunValues = std::isnan(DblZone) ? nullptr : ZoneValues(MapZones, Exclusions, DblZone);
      }
      if (PtrRunValues != nullptr) PtrRunValues->push_back(PtrValueMap->GetPointVal(LngX, LngY));
    }
  }
  return MapZones;
}

// ---- Stack statistics ----

namespace {

// Shape check shared by the stack statistics: every map has the first map's size, the
// columns of a map tested before its rows.
void CheckSameShape(const std::vector<TMap*>& VecMaps, const char* ChrXMessage,
                    const char* ChrYMessage) {
  const TMap* PtrFirst = VecMaps.front();
  for (std::size_t SizeI = 1; SizeI < VecMaps.size(); ++SizeI) {
    if (VecMaps[SizeI]->MbrLngXDim != PtrFirst->MbrLngXDim) throw ChrXMessage;
    if (VecMaps[SizeI]->MbrLngYDim != PtrFirst->MbrLngYDim) throw ChrYMessage;
  }
}

// The cell loops read stored rows directly instead of through the checked cell read; this
// makes sure once per map that they may, failing as that read would.
void CheckRowsStored(const TMap* PtrMap) {
  const long LngRows = std::max(PtrMap->MbrLngYDim, 0L);
  if (PtrMap->MbrVecRows.size() < static_cast<std::size_t>(LngRows)) {
    throw "Y-ordinate is out of range in TMap::GetPointVal";
  }
  const auto SizeColumns = static_cast<std::size_t>(std::max(PtrMap->MbrLngXDim, 0L));
  for (long LngY = 0; LngY < LngRows; ++LngY) {
    if (PtrMap->MbrVecRows[static_cast<std::size_t>(LngY)].size() < SizeColumns) {
      throw "X-ordinate is out of range in TMap::GetPointVal";
    }
  }
}

void CheckRowsStored(const std::vector<TMap*>& VecMaps) {
  for (const TMap* PtrMap : VecMaps) CheckRowsStored(PtrMap);
}

// A new map on copies of the first map's centre axes: every cell and the marker -9999.
std::unique_ptr<TMap> MapOnGridOf(const TMap* PtrMap) {
  return std::make_unique<TMap>(PtrMap->MbrPtrXAxis.get(), PtrMap->MbrPtrYAxis.get());
}

// Hands the results over to the caller only once all of them exist.
std::vector<TMap*> ReleaseAll(std::vector<std::unique_ptr<TMap>>& VecOwned) {
  std::vector<TMap*> VecResult;
  VecResult.reserve(VecOwned.size());
  for (auto& PtrMap : VecOwned) VecResult.push_back(PtrMap.release());
  return VecResult;
}

// Row `LngY` of every map in `VecMaps[SizeFirst .. SizeFirst + VecRows.size() - 1]`.
void PointAtRow(const std::vector<TMap*>& VecMaps, std::size_t SizeFirst, long LngY,
                std::vector<const double*>& VecRows) {
  for (std::size_t SizeK = 0; SizeK < VecRows.size(); ++SizeK) {
    VecRows[SizeK] = VecMaps[SizeFirst + SizeK]->MbrVecRows[static_cast<std::size_t>(LngY)].data();
  }
}

std::vector<double> NoDataValues(const std::vector<TMap*>& VecMaps) {
  std::vector<double> VecNoData;
  VecNoData.reserve(VecMaps.size());
  for (const TMap* PtrMap : VecMaps) VecNoData.push_back(PtrMap->MbrDblNoDataValue);
  return VecNoData;
}

// Sets each cell of `Result` (on the stack's grid) to `CellOf(rows, column)`, where `rows`
// holds the cell's row of every map in stack order.
template <typename TCellOf>
void FillFromStack(const std::vector<TMap*>& VecMaps, TMap& Result, TCellOf CellOf) {
  std::vector<const double*> VecRows(VecMaps.size());
  for (long LngY = 0; LngY < Result.MbrLngYDim; ++LngY) {
    PointAtRow(VecMaps, 0, LngY, VecRows);
    for (long LngX = 0; LngX < Result.MbrLngXDim; ++LngX) {
      Result.SetPoint(LngX, LngY, CellOf(VecRows, static_cast<std::size_t>(LngX)));
    }
  }
}

// The checks of `Sum`, which `Average` makes too before it takes its faster road.
void CheckStackToSum(const std::vector<TMap*>& VecMaps) {
  if (VecMaps.size() < 2) throw "Must have more than 2 maps to sum in TMapTools::Sum";
  CheckSameShape(VecMaps, "X-dimension of maps are inconsistent in TMapTools::Sum",
                 "Y-dimension of maps are inconsistent in TMapTools::Sum");
  CheckRowsStored(VecMaps);
}

}  // namespace

// Cells are independent, so they are visited row by row to read each stored row
// contiguously; the result is the same as in any other order.
TMap* TMapTools::Sum(std::vector<TMap*> VecMaps) {
  CheckStackToSum(VecMaps);
  const TMap* PtrFirst = VecMaps.front();
  auto PtrResult = MapOnGridOf(PtrFirst);
  // A cell without data must hold the marker the result declares, whatever marker the map
  // that lacks data uses.
  const double DblResultNoData = PtrFirst->MbrDblNoDataValue;
  PtrResult->MbrDblNoDataValue = DblResultNoData;
  const std::vector<double> VecNoData = NoDataValues(VecMaps);
  FillFromStack(VecMaps, *PtrResult,
                [&](const std::vector<const double*>& VecRows, std::size_t SizeX) {
                  double DblTotal = 0.0;
                  for (std::size_t SizeM = 0; SizeM < VecRows.size(); ++SizeM) {
                    const double DblValue = VecRows[SizeM][SizeX];
                    if (DblValue == VecNoData[SizeM]) return DblResultNoData;
                    DblTotal += DblValue;
                  }
                  return DblTotal;
                });
  return PtrResult.release();
}

TMap* TMapTools::DataCounts(std::vector<TMap*> VecMaps) {
  if (VecMaps.empty()) throw "Must have at least 1 map in TMapTools::DataCounts";
  CheckSameShape(VecMaps, "X-dimension of maps are inconsistent in TMapTools::DataCounts",
                 "Y-dimension of maps are inconsistent in TMapTools::DataCounts");
  CheckRowsStored(VecMaps);
  auto PtrResult = MapOnGridOf(VecMaps.front());
  const std::vector<double> VecNoData = NoDataValues(VecMaps);
  FillFromStack(VecMaps, *PtrResult,
                [&](const std::vector<const double*>& VecRows, std::size_t SizeX) {
                  double DblCount = 0.0;
                  for (std::size_t SizeM = 0; SizeM < VecRows.size(); ++SizeM) {
                    if (VecRows[SizeM][SizeX] != VecNoData[SizeM]) DblCount += 1.0;
                  }
                  return DblCount;
                });
  return PtrResult.release();
}

namespace {
// True when looking up each cell centre of the map in its own edges finds that very cell, as
// for every regular grid: then dividing one map on this grid by another matches cells by index.
bool CentresFindTheirOwnCells(const TMap& Map) {
  try {
    for (long LngX = 0; LngX < Map.MbrLngXDim; ++LngX) {
      if (Map.GetIndex(Map.MbrPtrXAxis->GetPoint(LngX)->MbrDblX, 'X') != LngX) return false;
    }
    for (long LngY = 0; LngY < Map.MbrLngYDim; ++LngY) {
      if (Map.GetIndex(Map.MbrPtrYAxis->GetPoint(LngY)->MbrDblY, 'Y') != LngY) return false;
    }
  } catch (const char*) {
    return false;
  }
  return true;
}
}  // namespace

// The sum divided by the data count. On a regular grid both are taken in one pass over the
// stack, with the sum's additions, the count and the division's no-data rule of the three
// separate steps, so every cell is the same as theirs; any other grid takes the three steps.
TMap* TMapTools::Average(std::vector<TMap*> VecMaps) {
  CheckStackToSum(VecMaps);
  const TMap* PtrFirst = VecMaps.front();
  auto PtrResult = MapOnGridOf(PtrFirst);
  if (!CentresFindTheirOwnCells(*PtrResult)) {
    const std::unique_ptr<TMap> PtrSum(Sum(VecMaps));
    const std::unique_ptr<TMap> PtrCounts(DataCounts(std::move(VecMaps)));
    return Divide(PtrSum.get(), PtrCounts.get());
  }
  const double DblResultNoData = PtrFirst->MbrDblNoDataValue;
  PtrResult->MbrDblNoDataValue = DblResultNoData;
  const std::vector<double> VecNoData = NoDataValues(VecMaps);
  FillFromStack(VecMaps, *PtrResult,
                [&](const std::vector<const double*>& VecRows, std::size_t SizeX) {
                  double DblTotal = 0.0;
                  double DblCount = 0.0;
                  bool BlnMissing = false;
                  for (std::size_t SizeM = 0; SizeM < VecRows.size(); ++SizeM) {
                    const double DblValue = VecRows[SizeM][SizeX];
                    if (DblValue == VecNoData[SizeM]) {
                      BlnMissing = true;
                    } else {
                      DblCount += 1.0;
                      if (!BlnMissing) DblTotal += DblValue;
                    }
                  }
                  // The sum's cell, then the quotient unless that cell holds the marker (a
                  // count is never the count map's marker, -9999).
                  const double DblSum = BlnMissing ? DblResultNoData : DblTotal;
                  return DblSum == DblResultNoData ? DblResultNoData : DblSum / DblCount;
                });
  return PtrResult.release();
}

std::vector<TMap*> TMapTools::MovingAverage(std::vector<TMap*> VecMaps, int IntWindow) {
  const auto LngMaps = static_cast<long>(VecMaps.size());
  const long LngWindow = IntWindow;
  if (LngMaps - LngWindow < 0) return {};
  // A window of 0 or fewer maps is empty, and `Sum` refuses it.
  const long LngTaken = std::max(LngWindow, 0L);
  std::vector<TMap*> VecWindow;
  VecWindow.reserve(static_cast<std::size_t>(LngTaken));
  std::vector<std::unique_ptr<TMap>> VecOwned;
  for (long LngStart = 0; LngStart <= LngMaps - LngWindow; ++LngStart) {
    const auto ItrStart = VecMaps.begin() + LngStart;
    VecWindow.assign(ItrStart, ItrStart + LngTaken);
    std::unique_ptr<TMap> PtrAverage(Average(VecWindow));
    VecOwned.push_back(std::move(PtrAverage));
  }
  return ReleaseAll(VecOwned);
}

std::vector<TMap*> TMapTools::Threshold(std::vector<TMap*> VecMaps, double DblThreshold) {
  std::vector<std::unique_ptr<TMap>> VecOwned;
  VecOwned.reserve(VecMaps.size());
  for (TMap* PtrMap : VecMaps) VecOwned.emplace_back(Threshold(PtrMap, DblThreshold));
  return ReleaseAll(VecOwned);
}

// ---- Per-cell series and gradients ----

namespace {

// The least-squares slope of the kept (position, value) pairs of one cell, built up without
// allocating: the same sums, added in the same order, and the same closing expression as
// `TVectorTools::Gradient` over the kept pairs, so the result is identical to it.
class TSlopeSums {
 public:
  void Add(double DblPosition, double DblPositionSquare, double DblValue) {
    MbrDblSx += DblPosition;
    MbrDblSy += DblValue;
    MbrDblSxx += DblPositionSquare;
    MbrDblSxy += DblPosition * DblValue;
    MbrDblCount += 1.0;
  }
  double Slope() const {
    return (MbrDblCount * MbrDblSxy - MbrDblSx * MbrDblSy) /
           (MbrDblCount * MbrDblSxx - MbrDblSx * MbrDblSx);
  }

 private:
  double MbrDblSx = 0.0;
  double MbrDblSy = 0.0;
  double MbrDblSxx = 0.0;
  double MbrDblSxy = 0.0;
  double MbrDblCount = 0.0;
};

}  // namespace

std::vector<double> TMapTools::GetValuesVector(std::vector<TMap*> VecMaps, long LngX, long LngY,
                                               int IntStart, int IntEnd) {
  const auto LngMaps = static_cast<long>(VecMaps.size());
  if (IntStart < 0 || IntStart >= LngMaps) {
    throw "Start map number is out of range in TMapTools::GetValuesVector";
  }
  if (IntEnd < 0 || IntEnd >= LngMaps) {
    throw "End map number is out of range in TMapTools::GetValuesVector";
  }
  if (IntStart >= IntEnd) throw "Stat map number must be less than end map number";
  std::vector<double> VecValues;
  VecValues.reserve(static_cast<std::size_t>(IntEnd - IntStart + 1));
  for (int IntM = IntStart; IntM <= IntEnd; ++IntM) {
    VecValues.push_back(VecMaps[static_cast<std::size_t>(IntM)]->GetPointVal(LngX, LngY));
  }
  return VecValues;
}

double TMapTools::FindNonzeroNeighbourVal(const TMap* PtrMap, long LngX, long LngY) {
  if (LngX < 0 || LngX >= PtrMap->MbrLngXDim) {
    throw "X-ordinate is out of range in TMapTools::FindNonzeroNeighbourVal";
  }
  if (LngY < 0 || LngY >= PtrMap->MbrLngYDim) {
    throw "Y-ordinate is out of range in TMapTools::FindNonzeroNeighbourVal";
  }
  const long LngWest = std::max(LngX - 1, 0L);
  const long LngEast = std::min(LngX + 1, PtrMap->MbrLngXDim - 1);
  const long LngNorth = std::max(LngY - 1, 0L);
  const long LngSouth = std::min(LngY + 1, PtrMap->MbrLngYDim - 1);
  double DblFound = 0.0;
  for (long LngCol = LngWest; LngCol <= LngEast; ++LngCol) {
    for (long LngRow = LngNorth; LngRow <= LngSouth; ++LngRow) {
      const double DblValue = PtrMap->GetPointVal(LngCol, LngRow);
      if (DblValue != 0.0) {
        DblFound = DblValue;
        break;
      }
    }
  }
  return DblFound;
}

// Cells are independent, so each window is filled row by row to read the stored rows
// contiguously; the result is the same as in any other order.
std::vector<TMap*> TMapTools::ValueGradients(std::vector<TMap*> VecMaps, int IntWindow) {
  if (IntWindow <= 0) throw "Window size must be > 0 in TMapTools::ValueGradients";
  const auto LngMaps = static_cast<long>(VecMaps.size());
  if (LngMaps < IntWindow) {
    throw "Window size must be < number of maps in TMapTools::ValueGradients";
  }
  for (const TMap* PtrMap : VecMaps) {
    if (PtrMap->MbrLngXDim != VecMaps.front()->MbrLngXDim ||
        PtrMap->MbrLngYDim != VecMaps.front()->MbrLngYDim) {
      throw "Map dimensions do not match in TMapTools::ValueGradients";
    }
  }
  CheckRowsStored(VecMaps);
  const TMap* PtrFirst = VecMaps.front();
  const std::vector<double> VecNoData = NoDataValues(VecMaps);
  const auto SizeSpan = static_cast<std::size_t>(IntWindow) + 1;
  std::vector<const double*> VecRows(SizeSpan);
  std::vector<double> VecSquares(SizeSpan);
  std::vector<std::unique_ptr<TMap>> VecOwned;
  VecOwned.reserve(static_cast<std::size_t>(LngMaps - IntWindow));
  for (long LngStart = 0; LngStart < LngMaps - IntWindow; ++LngStart) {
    const auto SizeStart = static_cast<std::size_t>(LngStart);
    const std::vector<double> VecPositions = TVectorTools::VectorSeries(
        static_cast<double>(LngStart), static_cast<double>(LngStart + IntWindow), 1.0);
    for (std::size_t SizeK = 0; SizeK < SizeSpan; ++SizeK) {
      VecSquares[SizeK] = VecPositions[SizeK] * VecPositions[SizeK];
    }
    auto PtrResult = MapOnGridOf(PtrFirst);
    for (long LngY = 0; LngY < PtrFirst->MbrLngYDim; ++LngY) {
      PointAtRow(VecMaps, SizeStart, LngY, VecRows);
      for (long LngX = 0; LngX < PtrFirst->MbrLngXDim; ++LngX) {
        const auto SizeX = static_cast<std::size_t>(LngX);
        // 0.0 marks a missing value; where the window's first map has one, the cell keeps -9999.
        if (VecRows[0][SizeX] == 0.0) continue;
        TSlopeSums Sums;
        for (std::size_t SizeK = 0; SizeK < SizeSpan; ++SizeK) {
          double DblValue = VecRows[SizeK][SizeX];
          if (DblValue == 0.0) {
            DblValue = FindNonzeroNeighbourVal(VecMaps[SizeStart + SizeK], LngX, LngY);
          }
          if (DblValue == VecNoData[SizeStart + SizeK]) continue;
          Sums.Add(VecPositions[SizeK], VecSquares[SizeK], DblValue);
        }
        PtrResult->SetPoint(LngX, LngY, Sums.Slope());
      }
    }
    VecOwned.push_back(std::move(PtrResult));
  }
  return ReleaseAll(VecOwned);
}

// ---- Value sampling ----

namespace {
// Deletes the points of a list, or of a vector of lists, under construction unless the
// function that builds it hands it over.
template <typename TLists>
class TPointListGuard {
 public:
  explicit TPointListGuard(TLists& Lists) : MbrLists(Lists) {}
  ~TPointListGuard() {
    if (!MbrBlnHandedOver) TMapTools::DeletePoints(MbrLists);
  }
  TPointListGuard(const TPointListGuard&) = delete;
  TPointListGuard& operator=(const TPointListGuard&) = delete;

  void HandOver() { MbrBlnHandedOver = true; }

 private:
  TLists& MbrLists;
  bool MbrBlnHandedOver = false;
};
}  // namespace

std::map<double, TMapPoint*> TMapTools::GetFirstValues(const TMap* PtrMap,
                                                       std::vector<double> VecExcluded) {
  std::map<double, TMapPoint*> MapPoints;
  TPointListGuard<std::map<double, TMapPoint*>> Guard(MapPoints);
  TExclusionList Exclusions(VecExcluded);
  double DblPrevious = PtrMap->MbrDblNoDataValue;
  for (long LngX = 0; LngX < PtrMap->MbrLngXDim; ++LngX) {
    for (long LngY = 0; LngY < PtrMap->MbrLngYDim; ++LngY) {
      const double DblValue = PtrMap->GetPointVal(LngX, LngY);
      if (DblValue == DblPrevious) continue;
      DblPrevious = DblValue;
      // A NaN key would break the ordering of the list; it still ends the run before it.
      if (std::isnan(DblValue)) continue;
      auto It = MapPoints.lower_bound(DblValue);
      if (It != MapPoints.end() && !(DblValue < It->first)) continue;
      if (Exclusions.Holds(DblValue)) continue;
      std::unique_ptr<TMapPoint> PtrPoint(PtrMap->GetPoint(LngX, LngY));
      MapPoints.emplace_hint(It, DblValue, PtrPoint.get());
      PtrPoint.release();
    }
  }
  Guard.HandOver();
  return MapPoints;
}

std::vector<std::map<double, TMapPoint*>> TMapTools::GetFirstValues(
    std::vector<TMap*> VecMaps, std::vector<double> VecExcluded) {
  std::vector<std::map<double, TMapPoint*>> VecPointLists;
  // Reserved up front so that appending a finished list cannot fail and lose its points.
  VecPointLists.reserve(VecMaps.size());
  TPointListGuard<std::vector<std::map<double, TMapPoint*>>> Guard(VecPointLists);
  for (const TMap* PtrMap : VecMaps) VecPointLists.push_back(GetFirstValues(PtrMap, VecExcluded));
  Guard.HandOver();
  return VecPointLists;
}

std::map<double, double> TMapTools::FetchMapValues(const TMap* PtrMap,
                                                   std::map<double, TMapPoint*> MapPoints) {
  std::map<double, double> MapValues;
  for (const auto& Entry : MapPoints) {
    MapValues.emplace_hint(MapValues.end(), Entry.first, PtrMap->GetPointVal(Entry.second));
  }
  return MapValues;
}

std::vector<std::map<double, double>> TMapTools::FetchMapValues(
    std::vector<TMap*> VecMaps, std::vector<std::map<double, TMapPoint*>> VecPointLists) {
  if (VecPointLists.size() < VecMaps.size()) {
    throw "Number of point lists is less than number of maps in TMapTools::FetchMapValues";
  }
  std::vector<std::map<double, double>> VecValueLists;
  VecValueLists.reserve(VecMaps.size());
  for (std::size_t SizeI = 0; SizeI < VecMaps.size(); ++SizeI) {
    VecValueLists.push_back(FetchMapValues(VecMaps[SizeI], VecPointLists[SizeI]));
  }
  return VecValueLists;
}

void TMapTools::DeletePoints(std::map<double, TMapPoint*>& MapPoints) {
  for (auto& Entry : MapPoints) delete Entry.second;
  MapPoints.clear();
}

void TMapTools::DeletePoints(std::vector<std::map<double, TMapPoint*>>& VecPointLists) {
  for (auto& MapPoints : VecPointLists) DeletePoints(MapPoints);
  VecPointLists.clear();
}
