// Fuzz target: the grid reader on arbitrary bytes, through a seekable stream and through one
// that cannot seek. Both must agree: the same map, or both refuse, and both leave the stream
// at the same place. A map read must be well formed and write back to text that reads back
// to the same map.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "FuzzCommon.h"

using namespace gridclip_fuzz;

namespace {
bool IsBlank(char ChrValue) {
  return ChrValue == ' ' || ChrValue == '\t' || ChrValue == '\n' || ChrValue == '\v' ||
         ChrValue == '\f' || ChrValue == '\r';
}

// True when the C library reads the whole token as a number.
bool ReadByStrtod(const std::string& StgToken, double& DblValue) {
  char* ChrStop = nullptr;
  DblValue = std::strtod(StgToken.c_str(), &ChrStop);
  return !StgToken.empty() && ChrStop == StgToken.c_str() + StgToken.size();
}

// An independent reading of the cells: when the header is twelve whole tokens, the next
// tokens read with strtod are the cells, row by row, bit for bit (every NaN alike).
void CheckCellsAgainstStrtod(const std::string& StgText, const TMap& Map) {
  std::vector<std::string> VecTokens;
  const std::size_t SizeWanted = 12 + static_cast<std::size_t>(Map.MbrLngXDim * Map.MbrLngYDim);
  std::size_t SizePos = 0;
  while (VecTokens.size() < SizeWanted) {
    while (SizePos < StgText.size() && IsBlank(StgText[SizePos])) ++SizePos;
    if (SizePos == StgText.size()) break;
    const std::size_t SizeStart = SizePos;
    while (SizePos < StgText.size() && !IsBlank(StgText[SizePos])) ++SizePos;
    VecTokens.push_back(StgText.substr(SizeStart, SizePos - SizeStart));
  }
  // a header number may end inside a token ("nrows 1xllcorner"): no simple reading then
  if (VecTokens.size() < 12) return;
  double DblValue = 0.0;
  for (std::size_t SizeI = 1; SizeI < 12; SizeI += 2) {
    if (!ReadByStrtod(VecTokens[SizeI], DblValue)) return;
  }
  Check(VecTokens.size() == SizeWanted, "a grid read has fewer cell tokens than cells");
  std::size_t SizeToken = 12;
  for (const auto& VecRow : Map.MbrVecRows) {
    for (double DblCell : VecRow) {
      Check(ReadByStrtod(VecTokens[SizeToken++], DblValue), "a cell strtod cannot read");
      Check(SameValue(DblValue, DblCell), "a cell differs from what strtod reads");
    }
  }
}

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
  CheckCellsAgainstStrtod(StgText, *PtrMap);
  CheckReadsBack(PtrMap.get(), true);
  return 0;
}
