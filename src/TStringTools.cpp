#include "TStringTools.h"

#include <locale>
#include <sstream>

namespace {
// A default stream, but on the classic locale: a global locale set by the host program must not
// bring digit grouping or another decimal point into the text.
template <typename TNumber>
std::string StreamText(TNumber Number) {
  std::ostringstream Stream;
  Stream.imbue(std::locale::classic());
  Stream << Number;
  return Stream.str();
}
}  // namespace

bool TStringTools::StgToBool(std::string StgText) {
  if (StgText == "1") return true;
  if (StgText == "0") return false;
  throw "Invalid boolean string in TStringTools::HasSubstring";
}

bool TStringTools::HasSubstring(std::string StgText, std::string StgSought) {
  return StgText.find(StgSought) != std::string::npos;
}

void TStringTools::ToUpper(std::string& StgText) {
  // The default C locale maps only 'a' to 'z'; doing so directly keeps that promise under any
  // locale and never hands a negative char to the C library.
  for (char& ChrCharacter : StgText) {
    if (ChrCharacter >= 'a' && ChrCharacter <= 'z') {
      ChrCharacter = static_cast<char>(ChrCharacter - 'a' + 'A');
    }
  }
}

void TStringTools::Trim(std::string& StgText) {
  const std::size_t SizeLast = StgText.find_last_not_of(' ');
  if (SizeLast == std::string::npos) {
    StgText.clear();
    return;
  }
  StgText.erase(SizeLast + 1);
  StgText.erase(0, StgText.find_first_not_of(' '));
}

std::string TStringTools::FindAndReplace(std::string StgText, std::string StgSought,
                                         std::string StgReplacement) {
  // An empty sought text is found at every position and would never let the search end.
  if (StgSought.empty()) return StgText;
  std::size_t SizePos = StgText.find(StgSought);
  while (SizePos != std::string::npos) {
    StgText.replace(SizePos, StgSought.size(), StgReplacement);
    SizePos = StgText.find(StgSought, SizePos + StgReplacement.size());
  }
  return StgText;
}

std::string TStringTools::ToString(long LngValue) {
  return StreamText(LngValue);
}

std::string TStringTools::ToString(int IntValue) {
  return StreamText(IntValue);
}

std::string TStringTools::ToString(double DblValue) {
  return StreamText(DblValue);
}

void TStringTools::Tokenize(const std::string& StgText, std::vector<std::string>& VecTokens,
                            const std::string& StgDelimiters) {
  VecTokens.clear();
  std::size_t SizeStart = StgText.find_first_not_of(StgDelimiters);
  while (SizeStart != std::string::npos) {
    const std::size_t SizeEnd = StgText.find_first_of(StgDelimiters, SizeStart);
    VecTokens.push_back(StgText.substr(SizeStart, SizeEnd - SizeStart));
    if (SizeEnd == std::string::npos) break;
    SizeStart = StgText.find_first_not_of(StgDelimiters, SizeEnd);
  }
}
