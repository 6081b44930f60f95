// Shared by the examples: the two sample tiles read and clipped to their overlap, as
// clip_two_grids.cpp does it step by step, and the report of a failure.
#ifndef GRIDCLIP_EXAMPLES_CLIPPEDPAIR_H
#define GRIDCLIP_EXAMPLES_CLIPPEDPAIR_H

#include <exception>
#include <iostream>
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

/// Called inside a `catch (...)`: prints the error being handled (the library's message texts,
/// "Unable to open file NAME" strings, std::bad_alloc and the like) on standard error and
/// returns the exit status 1, as clip_two_grids.cpp spells it out.
inline int ReportFailure() {
  try {
    throw;
  } catch (const char* ChrMessage) {
    std::cerr << ChrMessage << '\n';
  } catch (const std::string& StgMessage) {
    std::cerr << StgMessage << '\n';
  } catch (const std::exception& Error) {
    std::cerr << Error.what() << '\n';
  }
  return 1;
}

#endif
