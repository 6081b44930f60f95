#ifndef GRIDCLIP_TESTS_FUZZ_FUZZCOMMON_H
#define GRIDCLIP_TESTS_FUZZ_FUZZCOMMON_H

// Helpers shared by the fuzz targets: checks that abort with a reason (so the fuzzer and the
// replay driver both report them as crashes), a stream buffer that cannot seek, and
// comparisons of maps bit for bit.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <istream>
#include <memory>
#include <sstream>
#include <string>

#include "TARCGISFileTools.h"
#include "TMap.h"

namespace gridclip_fuzz {

/// Stops the run with the reason when `BlnHolds` is false.
inline void Check(bool BlnHolds, const char* ChrWhat) {
  if (BlnHolds) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", ChrWhat);
  std::abort();
}

/// True when the reader may throw this text: its documented messages only.
inline bool IsReaderMessage(const char* ChrText) {
  static const char* const Messages[] = {
      "File format error: expected to find ncols tag",
      "File format error: expectd to find nrows tag",
      "File format error: expected to find xllcorner tag",
      "File format error: expected to find yllcorner tag",
      "File format error: expected to find cellsize tag",
      "File format error: expected to find NODATA_value tag",
      "File format error: invalid header value in TARCGISFileTools::LoadARCGISFile",
      "File format error: invalid cell value in TARCGISFileTools::LoadARCGISFile",
      "Unexpected end of file found in TARCGISFileTools::LoadARCGISFile",
  };
  for (const char* ChrMessage : Messages) {
    if (std::strcmp(ChrText, ChrMessage) == 0) return true;
  }
  return false;
}

/// A read-only buffer over text that refuses to seek, as a pipe does.
class TPipeBuffer : public std::stringbuf {
 public:
  explicit TPipeBuffer(const std::string& StgText) : std::stringbuf(StgText, std::ios_base::in) {}

 protected:
  pos_type seekoff(off_type, std::ios_base::seekdir, std::ios_base::openmode) override {
    return pos_type(off_type(-1));
  }
  pos_type seekpos(pos_type, std::ios_base::openmode) override { return pos_type(off_type(-1)); }
};

/// The map the reader gives for the stream, or null with `ChrMessage` set to what it threw
/// (which must be one of its messages). Any other exception escapes and ends the run.
inline std::unique_ptr<TMap> LoadOrMessage(std::istream& Stream, const char*& ChrMessage) {
  ChrMessage = nullptr;
  try {
    return std::unique_ptr<TMap>(TARCGISFileTools::LoadARCGISFile(Stream));
  } catch (const char* ChrText) {
    Check(IsReaderMessage(ChrText), "the reader threw a text that is not one of its messages");
    ChrMessage = ChrText;
  }
  return nullptr;
}

/// The same double bit for bit; every NaN equals every NaN.
inline bool SameValue(double DblA, double DblB) {
  if (std::isnan(DblA) || std::isnan(DblB)) return std::isnan(DblA) && std::isnan(DblB);
  std::uint64_t IntA = 0;
  std::uint64_t IntB = 0;
  std::memcpy(&IntA, &DblA, sizeof IntA);
  std::memcpy(&IntB, &DblB, sizeof IntB);
  return IntA == IntB;
}

inline bool SameAxis(const TAxis* PtrA, const TAxis* PtrB) {
  if (PtrA == nullptr || PtrB == nullptr) return PtrA == PtrB;
  if (PtrA->GetSize() != PtrB->GetSize()) return false;
  if (!SameValue(PtrA->MbrDblResolution, PtrB->MbrDblResolution)) return false;
  for (long LngI = 0; LngI < PtrA->GetSize(); ++LngI) {
    const TPoint* PtrPointA = PtrA->GetPoint(LngI);
    const TPoint* PtrPointB = PtrB->GetPoint(LngI);
    if (!SameValue(PtrPointA->MbrDblX, PtrPointB->MbrDblX) ||
        !SameValue(PtrPointA->MbrDblY, PtrPointB->MbrDblY)) {
      return false;
    }
  }
  return true;
}

/// Same dimensions, cell size, no-data value and cells, bit for bit.
inline bool SameGrid(const TMap& MapA, const TMap& MapB) {
  if (MapA.MbrLngXDim != MapB.MbrLngXDim || MapA.MbrLngYDim != MapB.MbrLngYDim) return false;
  if (!SameValue(MapA.MbrDblResolution, MapB.MbrDblResolution) ||
      !SameValue(MapA.MbrDblNoDataValue, MapB.MbrDblNoDataValue)) {
    return false;
  }
  if (MapA.MbrVecRows.size() != MapB.MbrVecRows.size()) return false;
  for (std::size_t SizeY = 0; SizeY < MapA.MbrVecRows.size(); ++SizeY) {
    const auto& VecA = MapA.MbrVecRows[SizeY];
    const auto& VecB = MapB.MbrVecRows[SizeY];
    if (VecA.size() != VecB.size()) return false;
    for (std::size_t SizeX = 0; SizeX < VecA.size(); ++SizeX) {
      if (!SameValue(VecA[SizeX], VecB[SizeX])) return false;
    }
  }
  return true;
}

/// `SameGrid` and the same four axes, bit for bit.
inline bool SameMap(const TMap& MapA, const TMap& MapB) {
  return SameGrid(MapA, MapB) && SameAxis(MapA.MbrPtrXAxis.get(), MapB.MbrPtrXAxis.get()) &&
         SameAxis(MapA.MbrPtrYAxis.get(), MapB.MbrPtrYAxis.get()) &&
         SameAxis(MapA.MbrPtrXAxisInterval.get(), MapB.MbrPtrXAxisInterval.get()) &&
         SameAxis(MapA.MbrPtrYAxisInterval.get(), MapB.MbrPtrYAxisInterval.get());
}

/// Checks what every map read from a grid file holds: at least one cell, rows of the stated
/// length, four axes of the right sizes and a positive finite cell size.
inline void CheckWellFormed(const TMap& Map) {
  Check(Map.MbrLngXDim >= 1 && Map.MbrLngYDim >= 1, "a map read has no cells");
  Check(Map.MbrVecRows.size() == static_cast<std::size_t>(Map.MbrLngYDim), "row count");
  for (const auto& VecRow : Map.MbrVecRows) {
    Check(VecRow.size() == static_cast<std::size_t>(Map.MbrLngXDim), "row length");
  }
  Check(Map.MbrPtrXAxis && Map.MbrPtrXAxis->GetSize() == Map.MbrLngXDim, "X centre axis");
  Check(Map.MbrPtrYAxis && Map.MbrPtrYAxis->GetSize() == Map.MbrLngYDim, "Y centre axis");
  Check(Map.MbrPtrXAxisInterval && Map.MbrPtrXAxisInterval->GetSize() == Map.MbrLngXDim + 1,
        "X edge axis");
  Check(Map.MbrPtrYAxisInterval && Map.MbrPtrYAxisInterval->GetSize() == Map.MbrLngYDim + 1,
        "Y edge axis");
  Check(std::isfinite(Map.MbrDblResolution) && Map.MbrDblResolution > 0.0, "cell size");
  for (const TAxis* PtrAxis : {Map.MbrPtrXAxis.get(), Map.MbrPtrYAxis.get(),
                               Map.MbrPtrXAxisInterval.get(), Map.MbrPtrYAxisInterval.get()}) {
    for (long LngI = 0; LngI < PtrAxis->GetSize(); ++LngI) {
      Check(std::isfinite(PtrAxis->GetPoint(LngI)->MbrDblX) &&
                std::isfinite(PtrAxis->GetPoint(LngI)->MbrDblY),
            "an axis point is not finite");
    }
  }
}

/// The grid file text of the map, written through the stream form.
inline std::string WriteToText(TMap* PtrMap) {
  std::ostringstream Stream;
  TARCGISFileTools::WriteARCGISFile(PtrMap, Stream);
  Check(static_cast<bool>(Stream), "writing to memory failed");
  return Stream.str();
}

/// Writes the map, reads the text back and checks that the same grid returns (with the same
/// axes too when `BlnAxes`: true of maps laid out as the reader lays them out) and that writing
/// it again gives the same text.
inline void CheckReadsBack(TMap* PtrMap, bool BlnAxes) {
  const std::string StgText = WriteToText(PtrMap);
  std::istringstream Stream(StgText);
  const char* ChrMessage = nullptr;
  const std::unique_ptr<TMap> PtrBack = LoadOrMessage(Stream, ChrMessage);
  Check(PtrBack != nullptr, "a written map does not read back");
  Check(SameGrid(*PtrMap, *PtrBack), "a written map reads back with other cells");
  Check(!BlnAxes || SameMap(*PtrMap, *PtrBack), "a written map reads back with other axes");
  Check(WriteToText(PtrBack.get()) == StgText, "a map read back writes different text");
}

}  // namespace gridclip_fuzz

#endif
