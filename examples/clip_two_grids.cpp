// clip_two_grids: the command's whole job through the library. Reads two grid files, clips
// both to the rectangle they share, writes the two results and tells what they cover.
// Usage: clip_two_grids west.asc east.asc west_clip.asc east_clip.asc

#include <exception>
#include <iostream>
#include <memory>
#include <string>

#include "TARCGISFileTools.h"
#include "TMap.h"
#include "TMapTools.h"

namespace {
// The western, southern, eastern and northern edges, read from the map's edge axes.
void PrintExtent(const std::string& StgName, const TMap* PtrMap) {
  const TAxis* PtrXEdges = PtrMap->MbrPtrXAxisInterval.get();
  const TAxis* PtrYEdges = PtrMap->MbrPtrYAxisInterval.get();
  std::cout << StgName << ": " << PtrMap->MbrLngXDim << " x " << PtrMap->MbrLngYDim << " cells of "
            << PtrMap->MbrDblResolution << " m, x " << PtrXEdges->GetPoint(0)->MbrDblX << " to "
            << PtrXEdges->GetPoint(PtrMap->MbrLngXDim)->MbrDblX << ", y "
            << PtrYEdges->GetPoint(PtrMap->MbrLngYDim)->MbrDblY << " to "
            << PtrYEdges->GetPoint(0)->MbrDblY << ", no-data " << PtrMap->MbrDblNoDataValue << '\n';
}
}  // namespace

int main(int IntArgs, char** ChrArgs) {
  if (IntArgs != 5) {
    std::cerr << "usage: clip_two_grids west.asc east.asc west_clip.asc east_clip.asc\n";
    return 2;
  }
  std::cout.precision(10);
  try {
    // [readme]
    // Every map handed back by pointer is the caller's: hold it in a unique_ptr.
    std::unique_ptr<TMap> PtrWest(TARCGISFileTools::LoadARCGISFile(std::string(ChrArgs[1])));
    std::unique_ptr<TMap> PtrEast(TARCGISFileTools::LoadARCGISFile(std::string(ChrArgs[2])));

    TMap* PtrRaw1 = nullptr;
    TMap* PtrRaw2 = nullptr;
    try {
      TMapTools::Intersection(PtrWest.get(), PtrEast.get(), PtrRaw1, PtrRaw2);
    } catch (...) {
      delete PtrRaw1;  // set before the second map is cut, which may still fail
      throw;
    }
    std::unique_ptr<TMap> PtrWestClip(PtrRaw1);
    std::unique_ptr<TMap> PtrEastClip(PtrRaw2);

    TARCGISFileTools::WriteARCGISFile(PtrWestClip.get(), std::string(ChrArgs[3]));
    TARCGISFileTools::WriteARCGISFile(PtrEastClip.get(), std::string(ChrArgs[4]));
    // [/readme]
    PrintExtent("west", PtrWest.get());
    PrintExtent("east", PtrEast.get());
    PrintExtent("west clip", PtrWestClip.get());
    PrintExtent("east clip", PtrEastClip.get());
    std::cout << "north-west cell: west clip " << PtrWestClip->GetPointVal(0, 0) << ", east clip "
              << PtrEastClip->GetPointVal(0, 0) << '\n';
  } catch (const char* ChrMessage) {  // the library throws its messages as text
    std::cerr << ChrMessage << '\n';
    return 1;
  } catch (const std::string& StgMessage) {  // "Unable to open file NAME" and the like
    std::cerr << StgMessage << '\n';
    return 1;
  } catch (const std::exception& Error) {  // std::bad_alloc and the like
    std::cerr << Error.what() << '\n';
    return 1;
  }
  return 0;
}
