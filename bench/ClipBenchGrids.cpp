// clip_bench_grids: writes the two test grids of the clip benchmark.
// Usage: clip_bench_grids N DIR [SEED]
// Writes DIR/a.asc and DIR/b.asc, two N x N grids of 25 m cells on one lattice, the second
// moved N/4 cells east and N/5 cells south of the first. Values are elevations with up to six
// significant digits (-500.00 to 3999.99), about 2 % of the cells hold the no-data value
// -9999. Prints the common window as "ulx uly lrx lry" (the order of gdal_translate
// -projwin) and its size as "columns rows".

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
constexpr double CellSize = 25.0;
constexpr long XllA = 512400;
constexpr long YllA = 5276350;

// SplitMix64: small, fast and the same on every platform.
class TRandom {
 public:
  explicit TRandom(std::uint64_t LngSeed) : MbrLngState(LngSeed) {}
  std::uint64_t Next() {
    std::uint64_t LngZ = (MbrLngState += 0x9E3779B97F4A7C15ULL);
    LngZ = (LngZ ^ (LngZ >> 30)) * 0xBF58476D1CE4E5B9ULL;
    LngZ = (LngZ ^ (LngZ >> 27)) * 0x94D049BB133111EBULL;
    return LngZ ^ (LngZ >> 31);
  }

 private:
  std::uint64_t MbrLngState;
};

bool WriteGrid(const std::string& StgPath, long LngN, long LngXll, long LngYll, TRandom& Random) {
  std::FILE* PtrFile = std::fopen(StgPath.c_str(), "wb");
  if (PtrFile == nullptr) return false;
  std::string StgHeader = "ncols " + std::to_string(LngN) + "\nnrows " + std::to_string(LngN) +
                          "\nxllcorner " + std::to_string(LngXll) + "\nyllcorner " +
                          std::to_string(LngYll) + "\ncellsize 25\nNODATA_value -9999\n";
  bool BlnOk = std::fwrite(StgHeader.data(), 1, StgHeader.size(), PtrFile) == StgHeader.size();
  std::vector<char> VecLine(static_cast<std::size_t>(LngN) * 12 + 2);
  for (long LngY = 0; LngY < LngN && BlnOk; ++LngY) {
    char* ChrOut = VecLine.data();
    char* ChrEnd = VecLine.data() + VecLine.size();
    for (long LngX = 0; LngX < LngN; ++LngX) {
      const std::uint64_t LngDraw = Random.Next();
      double DblValue = -9999.0;
      if (LngDraw % 50 != 0) {
        const auto LngCents = static_cast<long>((LngDraw >> 8) % 450000) - 50000;
        DblValue = static_cast<double>(LngCents) / 100.0;
      }
      ChrOut = std::to_chars(ChrOut, ChrEnd, DblValue).ptr;
      *ChrOut++ = ' ';
    }
    *ChrOut++ = '\n';
    const auto SizeLine = static_cast<std::size_t>(ChrOut - VecLine.data());
    BlnOk = std::fwrite(VecLine.data(), 1, SizeLine, PtrFile) == SizeLine;
  }
  return std::fclose(PtrFile) == 0 && BlnOk;
}
}  // namespace

int main(int IntArgs, char** ChrArgs) {
  if (IntArgs < 3) {
    std::fputs("Usage: clip_bench_grids N DIR [SEED]\n", stderr);
    return 2;
  }
  const long LngN = std::strtol(ChrArgs[1], nullptr, 10);
  if (LngN < 5) {
    std::fputs("N must be at least 5\n", stderr);
    return 2;
  }
  const std::string StgDir = ChrArgs[2];
  TRandom Random(IntArgs > 3 ? std::strtoull(ChrArgs[3], nullptr, 10) : 20240611ULL);
  const long LngShiftEast = LngN / 4;
  const long LngShiftSouth = LngN / 5;
  const auto LngCell = static_cast<long>(CellSize);
  const long LngXllB = XllA + LngShiftEast * LngCell;
  const long LngYllB = YllA - LngShiftSouth * LngCell;
  if (!WriteGrid(StgDir + "/a.asc", LngN, XllA, YllA, Random) ||
      !WriteGrid(StgDir + "/b.asc", LngN, LngXllB, LngYllB, Random)) {
    std::fputs("clip_bench_grids: cannot write the grids\n", stderr);
    return 1;
  }
  // Common window: west and south from the second grid, east and north from the first.
  const std::string StgOut =
      std::to_string(LngXllB) + " " + std::to_string(YllA + (LngN - LngShiftSouth) * LngCell) +
      " " + std::to_string(XllA + LngN * LngCell) + " " + std::to_string(YllA) + "\n" +
      std::to_string(LngN - LngShiftEast) + " " + std::to_string(LngN - LngShiftSouth) + "\n";
  std::fputs(StgOut.c_str(), stdout);
  return 0;
}
