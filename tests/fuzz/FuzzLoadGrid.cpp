// Fuzz target: the grid reader on arbitrary bytes, through a seekable stream and through one
// that cannot seek. Both must agree: the same map, or both refuse, and both leave the stream
// at the same place. A map read must be well formed and write back to text that reads back
// to the same map.

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <sstream>
#include <string>

#include "FuzzCommon.h"

using namespace gridclip_fuzz;

namespace {
std::string Rest(std::istream& Stream) {
  Stream.clear();
  return {std::istreambuf_iterator<char>(Stream), std::istreambuf_iterator<char>()};
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* PtrData, std::size_t SizeData) {
  const std::string StgText(reinterpret_cast<const char*>(PtrData), SizeData);

  std::istringstream Seekable(StgText);
  const char* ChrSeekMessage = nullptr;
  const std::unique_ptr<TMap> PtrMap = LoadOrMessage(Seekable, ChrSeekMessage);

  TPipeBuffer PipeBuffer(StgText);
  std::istream Piped(&PipeBuffer);
  const char* ChrPipeMessage = nullptr;
  const std::unique_ptr<TMap> PtrPiped = LoadOrMessage(Piped, ChrPipeMessage);

  Check((PtrMap == nullptr) == (PtrPiped == nullptr), "a pipe and a file read differently");
  if (PtrMap == nullptr) return 0;
  Check(SameMap(*PtrMap, *PtrPiped), "a pipe and a file give different maps");
  Check(Rest(Seekable) == Rest(Piped), "a pipe and a file stop at different places");
  CheckWellFormed(*PtrMap);
  CheckReadsBack(PtrMap.get(), true);
  return 0;
}
