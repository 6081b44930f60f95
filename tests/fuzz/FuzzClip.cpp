// Fuzz target: the whole job of the command on two arbitrary inputs (split at the first NUL
// byte; without one, the input is clipped with itself): read both, intersect, write both
// results to memory. Every failure must be one of the documented messages, and each result
// must be a well-formed map whose text reads back to the same cells.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>

#include "FuzzCommon.h"
#include "TMapTools.h"

using namespace gridclip_fuzz;

namespace {
bool IsClipMessage(const char* ChrText) {
  static const char* const Messages[] = {
      "Maps do not intersect in TMapTools::Intersection",
      "Ordinate is out of range in TAxis::GetIndex",
  };
  for (const char* ChrMessage : Messages) {
    if (std::strcmp(ChrText, ChrMessage) == 0) return true;
  }
  return false;
}

std::unique_ptr<TMap> Load(const std::string& StgText) {
  std::istringstream Stream(StgText);
  const char* ChrMessage = nullptr;
  return LoadOrMessage(Stream, ChrMessage);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* PtrData, std::size_t SizeData) {
  const std::string StgInput(reinterpret_cast<const char*>(PtrData), SizeData);
  const std::size_t SizeSplit = StgInput.find('\0');
  const std::string StgFirst = StgInput.substr(0, SizeSplit);
  const std::string StgSecond =
      SizeSplit == std::string::npos ? StgInput : StgInput.substr(SizeSplit + 1);

  const std::unique_ptr<TMap> PtrMap1 = Load(StgFirst);
  if (PtrMap1 == nullptr) return 0;
  const std::unique_ptr<TMap> PtrMap2 = Load(StgSecond);
  if (PtrMap2 == nullptr) return 0;

  TMap* PtrRaw1 = nullptr;
  TMap* PtrRaw2 = nullptr;
  try {
    TMapTools::Intersection(PtrMap1.get(), PtrMap2.get(), PtrRaw1, PtrRaw2);
  } catch (const char* ChrText) {
    delete PtrRaw1;
    Check(PtrRaw2 == nullptr, "the second result is set although Intersection failed");
    Check(IsClipMessage(ChrText), "Intersection threw a text that is not one of its messages");
    return 0;
  }
  const std::unique_ptr<TMap> PtrClip1(PtrRaw1);
  const std::unique_ptr<TMap> PtrClip2(PtrRaw2);
  Check(PtrClip1 != nullptr && PtrClip2 != nullptr, "Intersection returned without results");
  const TMap* Sources[] = {PtrMap1.get(), PtrMap2.get()};
  TMap* Results[] = {PtrClip1.get(), PtrClip2.get()};
  for (int IntI = 0; IntI < 2; ++IntI) {
    CheckWellFormed(*Results[IntI]);
    Check(Results[IntI]->MbrLngXDim <= Sources[IntI]->MbrLngXDim &&
              Results[IntI]->MbrLngYDim <= Sources[IntI]->MbrLngYDim,
          "a clipped map is larger than its source");
    Check(SameValue(Results[IntI]->MbrDblNoDataValue, Sources[IntI]->MbrDblNoDataValue),
          "a clipped map lost its source's no-data value");
    CheckReadsBack(Results[IntI], false);
  }
  return 0;
}
