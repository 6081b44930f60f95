// Clips two grids on one lattice through the library and prints the size of both results,
// which must be equal and not empty.
#include <iostream>
#include <memory>
#include <string>

#include "TARCGISFileTools.h"
#include "TMap.h"
#include "TMapTools.h"

int main(int IntArgs, char** ChrArgs) {
  if (IntArgs != 3) return 2;
  try {
    const std::unique_ptr<TMap> PtrFirst(TARCGISFileTools::LoadARCGISFile(std::string(ChrArgs[1])));
    const std::unique_ptr<TMap> PtrSecond(
        TARCGISFileTools::LoadARCGISFile(std::string(ChrArgs[2])));
    TMap* PtrRaw1 = nullptr;
    TMap* PtrRaw2 = nullptr;
    try {
      TMapTools::Intersection(PtrFirst.get(), PtrSecond.get(), PtrRaw1, PtrRaw2);
    } catch (...) {
      delete PtrRaw1;
      throw;
    }
    const std::unique_ptr<TMap> PtrClip1(PtrRaw1);
    const std::unique_ptr<TMap> PtrClip2(PtrRaw2);
    std::cout << PtrClip1->MbrLngXDim << 'x' << PtrClip1->MbrLngYDim << ' ' << PtrClip2->MbrLngXDim
              << 'x' << PtrClip2->MbrLngYDim << '\n';
    if (PtrClip1->MbrLngXDim != PtrClip2->MbrLngXDim ||
        PtrClip1->MbrLngYDim != PtrClip2->MbrLngYDim || PtrClip1->MbrLngXDim == 0 ||
        PtrClip1->MbrLngYDim == 0) {
      return 3;
    }
  } catch (const char* ChrMessage) {
    std::cout << ChrMessage << '\n';
    return 1;
  } catch (const std::string& StgMessage) {
    std::cout << StgMessage << '\n';
    return 1;
  }
  return 0;
}
