#include "TMapTools.h"

// ---- Grid body and CSV export ----

// ---- Clipping ----

// ---- Cell arithmetic ----

// ---- Value rules ----

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
  // The unsampled band keeps the source's marker, so the result declares it.
  PtrResult->InitValues(Source.MbrDblNoDataValue);
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

  while (true) {
    const TOrdinateSample Column = SampleOrdinate(Source, *PtrResult, DblX, true, BlnDescending);
    for (const TOrdinateSample& Row : VecRows) {
      if (Column.IntFailStage != StageNone || Row.IntFailStage != StageNone) {
        throw Column.IntFailStage <= Row.IntFailStage ? Column.ChrFailure : Row.ChrFailure;
      }
      const double DblQ11 = Source.GetPointVal(Column.LngGet1, Row.LngGet1);
      const double DblQ21 = Source.GetPointVal(Column.LngGet2, Row.LngGet1);
      const double DblQ12 = Source.GetPointVal(Column.LngGet1, Row.LngGet2);
      const double DblQ22 = Source.GetPointVal(Column.LngGet2, Row.LngGet2);
      PtrResult->SetPoint(
          Column.LngResultIndex, Row.LngResultIndex,
          BilinearInterpolate(DblQ11, DblQ21, DblQ12, DblQ22, DblX, Column.DblCentre1,
                              Column.DblCentre2, Row.DblOrdinate, Row.DblCentre1, Row.DblCentre2));
    }
    const double DblNext = DblX + DblResolution;
    if (DblNext == DblX) break;
    DblX = DblNext;
    if (!(DblX <= DblXEnd)) break;
  }
  return PtrResult.release();
}

// ---- Patch and overlay queries ----

// ---- Stack statistics ----

// ---- Per-cell series and gradients ----

// ---- Value sampling ----
