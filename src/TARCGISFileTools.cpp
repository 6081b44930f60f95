#include "TARCGISFileTools.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string_view>

#include "TMapTools.h"
#include "TTextTools.h"

namespace {
constexpr const char* InvalidHeaderValue =
    "File format error: invalid header value in TARCGISFileTools::LoadARCGISFile";
constexpr const char* InvalidCellValue =
    "File format error: invalid cell value in TARCGISFileTools::LoadARCGISFile";
constexpr const char* UnexpectedEnd =
    "Unexpected end of file found in TARCGISFileTools::LoadARCGISFile";
// Rows are allocated as their values arrive, never on the header's word alone.
constexpr std::size_t ReserveLimit = std::size_t{1} << 16;

// Reads the header's words and numbers the way formatted stream input does: a number takes
// as much of its token as reads as a number, and what is left of the token is the next word.
class THeaderReader {
 public:
  explicit THeaderReader(TTextTools::TTokenReader& Tokens) : MbrTokens(Tokens) {}

  std::string Word() {
    std::string_view StgToken;
    return NextToken(StgToken) ? std::string(StgToken) : std::string();
  }

  // False when the number is missing or its token does not start with a number.
  bool Number(bool BlnInteger, double& DblValue) {
    std::string_view StgToken;
    if (!NextToken(StgToken)) return false;
    const std::size_t SizeUsed = TTextTools::ParseNumberPrefix(StgToken, BlnInteger, DblValue);
    if (SizeUsed == 0) return false;
    MbrStgLeftover = std::string(StgToken.substr(SizeUsed));
    return true;
  }

  // The rest of a token the last number did not use, handed to the body first.
  const std::string& Leftover() const { return MbrStgLeftover; }

 private:
  bool NextToken(std::string_view& StgToken) {
    if (!MbrStgLeftover.empty()) {
      MbrStgCurrent = std::move(MbrStgLeftover);
      MbrStgLeftover.clear();
      StgToken = MbrStgCurrent;
      return true;
    }
    return MbrTokens.Next(StgToken);
  }

  TTextTools::TTokenReader& MbrTokens;
  std::string MbrStgLeftover;
  std::string MbrStgCurrent;
};

struct THeader {
  long LngCols = 0;
  long LngRows = 0;
  double DblXll = 0.0;
  double DblYll = 0.0;
  double DblCellSize = 0.0;
  double DblNoData = -9999.0;
};

// A grid has at least one cell: a zero dimension would still cost the other dimension's rows
// or axis points, up to billions of them, with nothing in the file to pay for them.
long CheckedDimension(double DblValue) {
  if (!(DblValue >= 1.0 && DblValue <= static_cast<double>(INT32_MAX))) throw InvalidHeaderValue;
  return static_cast<long>(DblValue);
}

double CheckedFinite(double DblValue) {
  if (!std::isfinite(DblValue)) throw InvalidHeaderValue;
  return DblValue;
}

THeader ReadHeader(THeaderReader& Reader) {
  struct TLine {
    const char* ChrTag;
    const char* ChrMessage;
    bool BlnInteger;
  };
  static constexpr TLine Lines[] = {
      {"ncols", "File format error: expected to find ncols tag", true},
      {"nrows", "File format error: expectd to find nrows tag", true},
      {"xllcorner", "File format error: expected to find xllcorner tag", false},
      {"yllcorner", "File format error: expected to find yllcorner tag", false},
      {"cellsize", "File format error: expected to find cellsize tag", false},
  };
  double DblValues[5] = {};
  for (std::size_t SizeI = 0; SizeI < 5; ++SizeI) {
    const std::string StgWord = Reader.Word();
    const bool BlnRead = Reader.Number(Lines[SizeI].BlnInteger, DblValues[SizeI]);
    if (StgWord != Lines[SizeI].ChrTag) throw Lines[SizeI].ChrMessage;
    if (!BlnRead) throw InvalidHeaderValue;
  }
  const std::string StgWord = Reader.Word();
  if (StgWord != "NODATA_value" && StgWord != "nodata_value") {
    throw "File format error: expected to find NODATA_value tag";
  }
  THeader Header;
  if (!Reader.Number(false, Header.DblNoData)) throw InvalidHeaderValue;
  Header.LngCols = CheckedDimension(DblValues[0]);
  Header.LngRows = CheckedDimension(DblValues[1]);
  Header.DblXll = CheckedFinite(DblValues[2]);
  Header.DblYll = CheckedFinite(DblValues[3]);
  Header.DblCellSize = CheckedFinite(DblValues[4]);
  if (!(Header.DblCellSize > 0.0)) throw InvalidHeaderValue;
  CheckedFinite(Header.DblNoData);
  return Header;
}

// Refuses at once a header that promises more values than the remaining bytes can hold:
// n values need at least 2n - 1 bytes.
void CheckBodyCanFit(const THeader& Header, long long LngRemainingBytes) {
  if (LngRemainingBytes < 0) return;
  const double DblCells = static_cast<double>(Header.LngCols) * static_cast<double>(Header.LngRows);
  if (DblCells > 0.0 && 2.0 * DblCells - 1.0 > static_cast<double>(LngRemainingBytes)) {
    throw UnexpectedEnd;
  }
}

// Rows are reserved in full when the body is known to hold their values, and otherwise up
// to `ReserveLimit` values ahead of what has arrived.
std::vector<std::vector<double>> ReadBody(const THeader& Header, const std::string& StgFirst,
                                          TTextTools::TTokenReader& Tokens, bool BlnBodyChecked) {
  using TNumbersRead = TTextTools::TTokenReader::TNumbersRead;
  const auto SizeCols = static_cast<std::size_t>(Header.LngCols);
  const auto SizeRows = static_cast<std::size_t>(Header.LngRows);
  const std::size_t SizeRowReserve = BlnBodyChecked ? SizeCols : std::min(SizeCols, ReserveLimit);
  std::vector<std::vector<double>> VecRows;
  VecRows.reserve(std::min(SizeRows, ReserveLimit));
  bool BlnFirstPending = !StgFirst.empty();
  for (std::size_t SizeY = 0; SizeY < SizeRows; ++SizeY) {
    std::vector<double> VecRow;
    VecRow.reserve(SizeRowReserve);
    if (BlnFirstPending && SizeCols > 0) {
      BlnFirstPending = false;
      double DblValue = 0.0;
      if (!TTextTools::ParseNumber(StgFirst, DblValue)) throw InvalidCellValue;
      VecRow.push_back(DblValue);
    }
    switch (Tokens.ReadNumbers(VecRow, SizeCols - VecRow.size())) {
      case TNumbersRead::End:
        throw UnexpectedEnd;
      case TNumbersRead::NotANumber:
        throw InvalidCellValue;
      case TNumbersRead::All:
        break;
    }
    if (VecRow.capacity() > VecRow.size()) VecRow.shrink_to_fit();
    VecRows.push_back(std::move(VecRow));
  }
  return VecRows;
}

// The edge axes of the grid: running sums of the cell size from the lower-left corner, the
// Y edges from the southern edge (last point) up to the northern edge (point 0).
void SetGeometry(TMap& Map, const THeader& Header) {
  TAxis YEdges(Header.DblCellSize, Header.LngRows + 1);
  double DblY = Header.DblYll;
  for (long LngJ = Header.LngRows; LngJ >= 0; --LngJ) {
    YEdges.SetPoint(LngJ, new TPoint(Header.DblXll, DblY));
    DblY += Header.DblCellSize;
  }
  const double DblNorth = YEdges.GetPoint(0)->MbrDblY;
  TAxis XEdges(Header.DblCellSize, Header.LngCols + 1);
  double DblX = Header.DblXll;
  for (long LngI = 0; LngI <= Header.LngCols; ++LngI) {
    XEdges.SetPoint(LngI, new TPoint(DblX, DblNorth));
    DblX += Header.DblCellSize;
  }
  // The sums only grow: a grid whose northern or eastern edge passes the largest double has
  // no place on the map, and its clipped parts could not be written back.
  if (!std::isfinite(DblNorth) || !std::isfinite(XEdges.GetPoint(Header.LngCols)->MbrDblX)) {
    throw InvalidHeaderValue;
  }
  Map.SetXAxisInterval(&XEdges);
  Map.SetYAxisInterval(&YEdges);
}

std::string OpenFailure(const std::string& StgFileName) {
  return "Unable to open file " + StgFileName;
}
}  // namespace

TMap* TARCGISFileTools::LoadARCGISFile(std::istream& Stream) {
  TTextTools::TTokenReader Tokens(Stream);
  THeaderReader Reader(Tokens);
  const THeader Header = ReadHeader(Reader);
  const std::string& StgLeftover = Reader.Leftover();
  const long long LngRemaining = Tokens.RemainingBytes();
  CheckBodyCanFit(
      Header, LngRemaining < 0 ? -1 : LngRemaining + static_cast<long long>(StgLeftover.size()));
  auto PtrMap = std::make_unique<TMap>(Header.DblCellSize);
  PtrMap->MbrVecRows = ReadBody(Header, StgLeftover, Tokens, LngRemaining >= 0);
  Tokens.Close();
  PtrMap->MbrLngXDim = Header.LngCols;
  PtrMap->MbrLngYDim = Header.LngRows;
  PtrMap->MbrDblNoDataValue = Header.DblNoData;
  SetGeometry(*PtrMap, Header);
  return PtrMap.release();
}

TMap* TARCGISFileTools::LoadARCGISFile(std::string StgFileName) {
  std::error_code Error;
  if (std::filesystem::is_directory(StgFileName, Error)) throw OpenFailure(StgFileName);
  std::ifstream File(StgFileName, std::ios_base::in);
  if (!File.is_open()) throw OpenFailure(StgFileName);
  return LoadARCGISFile(File);
}

void TARCGISFileTools::WriteARCGISFile(TMap* PtrMap, std::ostream& Stream) {
  {
    TTextTools::TBlockWriter Writer(Stream);
    Writer.Text("ncols ");
    Writer.Integer(PtrMap->MbrLngXDim);
    Writer.Text("\nnrows ");
    Writer.Integer(PtrMap->MbrLngYDim);
    Writer.Text("\nxllcorner ");
    Writer.Number(PtrMap->MbrPtrXAxisInterval->GetPoint(0)->MbrDblX, 8);
    Writer.Text("\nyllcorner ");
    Writer.Number(PtrMap->MbrPtrYAxisInterval->GetPoint(PtrMap->MbrLngYDim)->MbrDblY, 8);
    Writer.Text("\ncellsize ");
    Writer.Number(PtrMap->MbrDblResolution);
    Writer.Text("\nNODATA_value ");
    Writer.Number(PtrMap->MbrDblNoDataValue);
    Writer.Char('\n');
  }
  TMapTools::WriteFlatFile(PtrMap, Stream, ' ');
}

void TARCGISFileTools::WriteARCGISFile(TMap* PtrMap, std::string StgFileName) {
  std::ofstream File(StgFileName, std::ios_base::out | std::ios_base::trunc);
  if (!File.is_open()) throw OpenFailure(StgFileName);
  WriteARCGISFile(PtrMap, File);
  File.close();
  if (!File) throw "Unable to write file " + StgFileName;
}

std::vector<TMap*> TARCGISFileTools::LoadFileList(std::vector<std::string> VecFileNames) {
  std::vector<std::unique_ptr<TMap>> VecLoaded;
  VecLoaded.reserve(VecFileNames.size());
  for (const std::string& StgFileName : VecFileNames) {
    VecLoaded.emplace_back(LoadARCGISFile(StgFileName));
  }
  std::vector<TMap*> VecMaps;
  VecMaps.reserve(VecLoaded.size());
  for (auto& PtrMap : VecLoaded) VecMaps.push_back(PtrMap.release());
  return VecMaps;
}

void TARCGISFileTools::WriteFileList(std::vector<TMap*> VecMaps,
                                     std::vector<std::string> VecFileNames) {
  if (VecMaps.size() != VecFileNames.size()) {
    throw "Size of map list and filename list do not match in TARCGISFileTools::WriteFileList";
  }
  for (std::size_t SizeI = 0; SizeI < VecMaps.size(); ++SizeI) {
    WriteARCGISFile(VecMaps[SizeI], VecFileNames[SizeI]);
  }
}
