// gridclip: clips two ASCII grid files to the rectangle they share.
// Usage: gridclip source_file1 source_file2 dest_file1 dest_file2
// Prints nothing on success and the failure's message (no line end) otherwise; exits 0.

#include <exception>
#include <iostream>
#include <memory>
#include <new>
#include <string>

#include "TARCGISFileTools.h"
#include "TMapTools.h"

namespace {
void Run(int IntArgs, char** ChrArgs) {
  if (IntArgs != 5) throw "Usage: gridclip source_file1 source_file2 dest_file1 dest_file2";
  const std::string StgSource1 = ChrArgs[1];
  const std::string StgSource2 = ChrArgs[2];
  const std::string StgDest1 = ChrArgs[3];
  const std::string StgDest2 = ChrArgs[4];
  // Both sources are read before anything is written, so a source may also be a destination.
  const std::unique_ptr<TMap> PtrMap1(TARCGISFileTools::LoadARCGISFile(StgSource1));
  const std::unique_ptr<TMap> PtrMap2(TARCGISFileTools::LoadARCGISFile(StgSource2));
  TMap* PtrRaw1 = nullptr;
  TMap* PtrRaw2 = nullptr;
  std::unique_ptr<TMap> PtrClip1;
  std::unique_ptr<TMap> PtrClip2;
  try {
    TMapTools::Intersection(PtrMap1.get(), PtrMap2.get(), PtrRaw1, PtrRaw2);
  } catch (...) {
    delete PtrRaw1;  // the first result may already exist when the second cut fails
    throw;
  }
  PtrClip1.reset(PtrRaw1);
  PtrClip2.reset(PtrRaw2);
  TARCGISFileTools::WriteARCGISFile(PtrClip1.get(), StgDest1);
  TARCGISFileTools::WriteARCGISFile(PtrClip2.get(), StgDest2);
}
}  // namespace

int main(int IntArgs, char** ChrArgs) {
  try {
    Run(IntArgs, ChrArgs);
  } catch (const char* ChrMessage) {
    std::cout << ChrMessage;
  } catch (const std::string& StgMessage) {
    std::cout << StgMessage;
  } catch (const std::bad_alloc&) {
    std::cout << "Out of memory in gridclip";
  } catch (const std::exception& Error) {
    std::cout << Error.what();
  } catch (...) {
    std::cout << "Unknown error in gridclip";
  }
  std::cout.flush();
  return 0;
}
