// clip_baseline: the practical single-core limit of the clip job, for comparison with gridclip.
// Usage: clip_baseline source_file1 source_file2 dest_file1 dest_file2
// Reads both files' bytes whole, parses every number with std::from_chars into one flat
// array per grid, cuts the common window (grids on one lattice), formats it with
// std::to_chars (the header in the general format with 6 digits, cell values in the shortest
// form) and writes both outputs. No checks beyond what keeps it from running off its buffers:
// it assumes well-formed grids.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {
struct TGrid {
  long LngCols = 0;
  long LngRows = 0;
  double DblXll = 0.0;
  double DblYll = 0.0;
  double DblCell = 0.0;
  double DblNoData = 0.0;
  std::vector<double> VecValues;
};

bool IsBlank(char ChrValue) {
  return ChrValue == ' ' || ChrValue == '\n' || ChrValue == '\r' || ChrValue == '\t';
}

const char* SkipBlanks(const char* ChrPos, const char* ChrEnd) {
  while (ChrPos < ChrEnd && IsBlank(*ChrPos)) ++ChrPos;
  return ChrPos;
}

bool ReadBytes(const char* ChrPath, std::vector<char>& VecBytes) {
  std::FILE* PtrFile = std::fopen(ChrPath, "rb");
  if (PtrFile == nullptr) return false;
  std::fseek(PtrFile, 0, SEEK_END);
  const long LngSize = std::ftell(PtrFile);
  std::fseek(PtrFile, 0, SEEK_SET);
  VecBytes.resize(static_cast<std::size_t>(LngSize));
  const bool BlnOk = std::fread(VecBytes.data(), 1, VecBytes.size(), PtrFile) == VecBytes.size();
  std::fclose(PtrFile);
  return BlnOk;
}

bool ReadGrid(const char* ChrPath, TGrid& Grid) {
  std::vector<char> VecBytes;
  if (!ReadBytes(ChrPath, VecBytes)) return false;
  const char* ChrPos = VecBytes.data();
  const char* ChrEnd = ChrPos + VecBytes.size();
  double DblHeader[6] = {};
  for (double& DblValue : DblHeader) {
    ChrPos = SkipBlanks(ChrPos, ChrEnd);
    while (ChrPos < ChrEnd && !IsBlank(*ChrPos)) ++ChrPos;  // the tag
    ChrPos = SkipBlanks(ChrPos, ChrEnd);
    const auto Result = std::from_chars(ChrPos, ChrEnd, DblValue);
    if (Result.ec != std::errc()) return false;
    ChrPos = Result.ptr;
  }
  Grid.LngCols = static_cast<long>(DblHeader[0]);
  Grid.LngRows = static_cast<long>(DblHeader[1]);
  Grid.DblXll = DblHeader[2];
  Grid.DblYll = DblHeader[3];
  Grid.DblCell = DblHeader[4];
  Grid.DblNoData = DblHeader[5];
  Grid.VecValues.resize(static_cast<std::size_t>(Grid.LngCols) *
                        static_cast<std::size_t>(Grid.LngRows));
  for (double& DblValue : Grid.VecValues) {
    ChrPos = SkipBlanks(ChrPos, ChrEnd);
    const auto Result = std::from_chars(ChrPos, ChrEnd, DblValue);
    if (Result.ec != std::errc()) return false;
    ChrPos = Result.ptr;
  }
  return true;
}

// Output through one 1 MiB buffer handed to the C library in whole blocks.
class TOutput {
 public:
  explicit TOutput(std::FILE* PtrFile) : MbrPtrFile(PtrFile), MbrVecBlock(std::size_t{1} << 20) {}
  char* Room(std::size_t SizeBytes) {
    if (MbrSizeUsed + SizeBytes > MbrVecBlock.size()) Drain();
    return MbrVecBlock.data() + MbrSizeUsed;
  }
  void Commit(const char* ChrEnd) {
    MbrSizeUsed = static_cast<std::size_t>(ChrEnd - MbrVecBlock.data());
  }
  void Text(const std::string& StgText) {
    char* ChrOut = Room(StgText.size());
    Commit(std::copy(StgText.begin(), StgText.end(), ChrOut));
  }
  bool Drain() {
    const bool BlnOk = std::fwrite(MbrVecBlock.data(), 1, MbrSizeUsed, MbrPtrFile) == MbrSizeUsed;
    MbrSizeUsed = 0;
    MbrBlnOk = MbrBlnOk && BlnOk;
    return MbrBlnOk;
  }

 private:
  std::FILE* MbrPtrFile;
  std::vector<char> MbrVecBlock;
  std::size_t MbrSizeUsed = 0;
  bool MbrBlnOk = true;
};

std::string General6(double DblValue, std::size_t SizeWidth) {
  char ChrText[40];
  const auto Result =
      std::to_chars(ChrText, ChrText + sizeof ChrText, DblValue, std::chars_format::general, 6);
  std::string StgText(ChrText, Result.ptr);
  if (StgText.size() < SizeWidth) StgText.insert(0, SizeWidth - StgText.size(), ' ');
  return StgText;
}

bool WriteWindow(const char* ChrPath, const TGrid& Grid, long LngCol0, long LngRow0, long LngCols,
                 long LngRows) {
  std::FILE* PtrFile = std::fopen(ChrPath, "wb");
  if (PtrFile == nullptr) return false;
  TOutput Output(PtrFile);
  const double DblXll = Grid.DblXll + static_cast<double>(LngCol0) * Grid.DblCell;
  const double DblYll =
      Grid.DblYll + static_cast<double>(Grid.LngRows - LngRow0 - LngRows) * Grid.DblCell;
  Output.Text("ncols " + std::to_string(LngCols) + "\nnrows " + std::to_string(LngRows) +
              "\nxllcorner " + General6(DblXll, 8) + "\nyllcorner " + General6(DblYll, 8) +
              "\ncellsize " + General6(Grid.DblCell, 0) + "\nNODATA_value " +
              General6(Grid.DblNoData, 0) + "\n");
  for (long LngY = LngRow0; LngY < LngRow0 + LngRows; ++LngY) {
    const double* PtrRow = Grid.VecValues.data() + LngY * Grid.LngCols + LngCol0;
    for (long LngX = 0; LngX < LngCols; ++LngX) {
      char* ChrOut = Output.Room(32);
      ChrOut = std::to_chars(ChrOut, ChrOut + 31, PtrRow[LngX]).ptr;
      *ChrOut++ = ' ';
      Output.Commit(ChrOut);
    }
    *Output.Room(1) = '\n';
    Output.Commit(Output.Room(1) + 1);
  }
  const bool BlnOk = Output.Drain();
  return std::fclose(PtrFile) == 0 && BlnOk;
}

long CellsBetween(double DblFrom, double DblTo, double DblCell) {
  return std::lround((DblTo - DblFrom) / DblCell);
}
}  // namespace

int main(int IntArgs, char** ChrArgs) {
  if (IntArgs != 5) {
    std::fputs("Usage: clip_baseline source_file1 source_file2 dest_file1 dest_file2\n", stderr);
    return 2;
  }
  TGrid Grid1;
  TGrid Grid2;
  if (!ReadGrid(ChrArgs[1], Grid1) || !ReadGrid(ChrArgs[2], Grid2)) {
    std::fputs("clip_baseline: cannot read the grids\n", stderr);
    return 1;
  }
  const double DblCell = Grid1.DblCell;
  const double DblWest = std::max(Grid1.DblXll, Grid2.DblXll);
  const double DblSouth = std::max(Grid1.DblYll, Grid2.DblYll);
  const double DblEast = std::min(Grid1.DblXll + static_cast<double>(Grid1.LngCols) * DblCell,
                                  Grid2.DblXll + static_cast<double>(Grid2.LngCols) * DblCell);
  const double DblNorth = std::min(Grid1.DblYll + static_cast<double>(Grid1.LngRows) * DblCell,
                                   Grid2.DblYll + static_cast<double>(Grid2.LngRows) * DblCell);
  const long LngCols = CellsBetween(DblWest, DblEast, DblCell);
  const long LngRows = CellsBetween(DblSouth, DblNorth, DblCell);
  if (LngCols <= 0 || LngRows <= 0) {
    std::fputs("clip_baseline: the grids do not overlap\n", stderr);
    return 1;
  }
  const TGrid* PtrGrids[2] = {&Grid1, &Grid2};
  for (int IntI = 0; IntI < 2; ++IntI) {
    const TGrid& Grid = *PtrGrids[IntI];
    const double DblGridNorth = Grid.DblYll + static_cast<double>(Grid.LngRows) * DblCell;
    if (!WriteWindow(ChrArgs[3 + IntI], Grid, CellsBetween(Grid.DblXll, DblWest, DblCell),
                     CellsBetween(DblNorth, DblGridNorth, DblCell), LngCols, LngRows)) {
      std::fputs("clip_baseline: cannot write the output\n", stderr);
      return 1;
    }
  }
  return 0;
}
