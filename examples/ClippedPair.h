// Shared by the examples: the two sample tiles read and clipped to their overlap, as
// clip_two_grids.cpp does it step by step.
#ifndef GRIDCLIP_EXAMPLES_CLIPPEDPAIR_H
#define GRIDCLIP_EXAMPLES_CLIPPEDPAIR_H

#include <memory>
#include <string>

#include "TARCGISFileTools.h"
#include "TMap.h"
#include "TMapTools.h"

struct TClippedPair {
  std::unique_ptr<TMap> PtrFirst;
  std::unique_ptr<TMap> PtrSecond;
};

/// Reads both grid files and clips them to their common rectangle. Throws what
/// `TARCGISFileTools::LoadARCGISFile` and `TMapTools::Intersection` throw.
inline TClippedPair LoadClippedPair(const std::string& StgFirst, const std::string& StgSecond) {
  const std::unique_ptr<TMap> PtrFirst(TARCGISFileTools::LoadARCGISFile(StgFirst));
  const std::unique_ptr<TMap> PtrSecond(TARCGISFileTools::LoadARCGISFile(StgSecond));
  TMap* PtrRaw1 = nullptr;
  TMap* PtrRaw2 = nullptr;
  try {
    TMapTools::Intersection(PtrFirst.get(), PtrSecond.get(), PtrRaw1, PtrRaw2);
  } catch (...) {
    delete PtrRaw1;  // set before the second map is cut, which may still fail
    throw;
  }
  TClippedPair Pair;
  Pair.PtrFirst.reset(PtrRaw1);
  Pair.PtrSecond.reset(PtrRaw2);
  return Pair;
}

#endif
