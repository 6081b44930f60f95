#include "TMapTools.h"

// ---- Grid body and CSV export ----

// ---- Clipping ----

// ---- Cell arithmetic ----

// ---- Value rules ----

// ---- Downscale, subdivide and bilinear interpolation ----

// ---- Patch and overlay queries ----

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <set>

#include "TVectorTools.h"

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

// ---- Per-cell series and gradients ----

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
