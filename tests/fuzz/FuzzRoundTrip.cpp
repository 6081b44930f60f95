// Fuzz target: write-then-read round trips of maps built from the fuzzer's bytes. The bytes
// give the dimensions (1 to 16 each), a few switches, the four header numbers and the cell
// values as raw doubles (every bit pattern: NaN, infinities, subnormals, -0.0). A map whose
// header numbers the reader accepts must come back bit for bit (NaN as NaN), through a
// seekable stream or a pipe, also as the second of two grids in one stream; any other must
// be refused with the header message.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>

#include "../GridGeometry.h"
#include "FuzzCommon.h"

using namespace gridclip_fuzz;

namespace {
// Takes bytes from the front of the input; past its end every byte reads as 0.
class TBytes {
 public:
  TBytes(const std::uint8_t* PtrData, std::size_t SizeData)
      : MbrPtrData(PtrData), MbrSize(SizeData) {}

  std::uint8_t Byte() { return MbrPos < MbrSize ? MbrPtrData[MbrPos++] : 0; }

  double Double() {
    std::uint64_t IntBits = 0;
    for (int IntI = 0; IntI < 8; ++IntI) IntBits = (IntBits << 8) | Byte();
    double DblValue = 0.0;
    std::memcpy(&DblValue, &IntBits, sizeof DblValue);
    return DblValue;
  }

 private:
  const std::uint8_t* MbrPtrData;
  std::size_t MbrSize;
  std::size_t MbrPos = 0;
};

// A map laid out as the reader lays one out: edges as running sums of the cell size from the
// lower-left corner, the Y edges from the southern edge up.
std::unique_ptr<TMap> BuildMap(TBytes& Bytes, long LngCols, long LngRows) {
  const double DblXll = Bytes.Double();
  const double DblYll = Bytes.Double();
  const double DblCell = Bytes.Double();
  auto PtrMap = std::make_unique<TMap>(DblCell, LngCols, LngRows);
  PtrMap->MbrDblNoDataValue = Bytes.Double();
  for (long LngY = 0; LngY < LngRows; ++LngY) {
    for (long LngX = 0; LngX < LngCols; ++LngX) PtrMap->SetPoint(LngX, LngY, Bytes.Double());
  }
  gridclip_test::SetReaderGeometry(*PtrMap, DblXll, DblYll, DblCell);
  return PtrMap;
}

// The header values the reader accepts: finite, a positive cell size, and a grid whose
// northern and eastern edges are finite too.
bool HeaderIsReadable(const TMap& Map) {
  return std::isfinite(Map.MbrPtrXAxisInterval->GetPoint(0)->MbrDblX) &&
         std::isfinite(Map.MbrPtrYAxisInterval->GetPoint(Map.MbrLngYDim)->MbrDblY) &&
         std::isfinite(Map.MbrPtrXAxisInterval->GetPoint(Map.MbrLngXDim)->MbrDblX) &&
         std::isfinite(Map.MbrPtrYAxisInterval->GetPoint(0)->MbrDblY) &&
         std::isfinite(Map.MbrDblResolution) && Map.MbrDblResolution > 0.0 &&
         std::isfinite(Map.MbrDblNoDataValue);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* PtrData, std::size_t SizeData) {
  TBytes Bytes(PtrData, SizeData);
  const long LngCols = Bytes.Byte() % 16 + 1;
  const long LngRows = Bytes.Byte() % 16 + 1;
  const std::uint8_t IntSwitches = Bytes.Byte();
  const bool BlnPipe = (IntSwitches & 1) != 0;
  const bool BlnTwoInOneStream = (IntSwitches & 2) != 0;
  const std::unique_ptr<TMap> PtrMap = BuildMap(Bytes, LngCols, LngRows);

  std::string StgText = WriteToText(PtrMap.get());
  const std::size_t SizeFirst = StgText.size();
  if (BlnTwoInOneStream) StgText += StgText;
  std::istringstream Seekable(StgText);
  TPipeBuffer PipeBuffer(StgText);
  std::istream Piped(&PipeBuffer);
  std::istream& Stream = BlnPipe ? static_cast<std::istream&>(Piped) : Seekable;

  const char* ChrMessage = nullptr;
  const std::unique_ptr<TMap> PtrBack = LoadOrMessage(Stream, ChrMessage);
  if (!HeaderIsReadable(*PtrMap)) {
    Check(PtrBack == nullptr && std::strcmp(ChrMessage,
                                            "File format error: invalid header value in "
                                            "TARCGISFileTools::LoadARCGISFile") == 0,
          "a header the reader must refuse was not refused with the header message");
    return 0;
  }
  Check(PtrBack != nullptr, "a written map does not read back");
  Check(SameMap(*PtrMap, *PtrBack), "a written map reads back different");
  Check(WriteToText(PtrBack.get()) == StgText.substr(0, SizeFirst),
        "a map read back writes different text");
  if (BlnTwoInOneStream) {
    const std::unique_ptr<TMap> PtrSecond = LoadOrMessage(Stream, ChrMessage);
    Check(PtrSecond != nullptr && SameMap(*PtrMap, *PtrSecond),
          "the second grid of a stream reads back different");
  }
  return 0;
}
