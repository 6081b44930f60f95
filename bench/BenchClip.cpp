#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "TARCGISFileTools.h"
#include "TMapTools.h"

namespace {
namespace fs = std::filesystem;

// Writes an N x N grid of DEM-like values (up to 6 significant digits, 2 % no-data) with
// seven-digit northings; the second grid lies a quarter of the grid east and south.
std::string WriteGrid(const fs::path& Folder, long LngSize, int IntShift, unsigned IntSeed) {
  const fs::path Path =
      Folder / ("grid" + std::to_string(LngSize) + "_" + std::to_string(IntShift) + ".asc");
  if (fs::exists(Path)) return Path.string();
  std::mt19937 Random(IntSeed);
  std::uniform_int_distribution<int> Value(0, 999999);
  std::ofstream File(Path);
  const long LngOffset = IntShift * LngSize / 4;
  File << "ncols " << LngSize << "\nnrows " << LngSize << "\nxllcorner " << 500000 + 30 * LngOffset
       << "\nyllcorner " << 4500000 - 30 * LngOffset << "\ncellsize 30\nNODATA_value -32768\n";
  for (long LngY = 0; LngY < LngSize; ++LngY) {
    for (long LngX = 0; LngX < LngSize; ++LngX) {
      const int IntValue = Value(Random);
      if (IntValue % 50 == 0) {
        File << "-32768 ";
      } else {
        File << IntValue / 100 << '.' << IntValue % 100 << ' ';
      }
    }
    File << '\n';
  }
  return Path.string();
}

void BM_ClipTwoGrids(benchmark::State& State) {
  const long LngSize = State.range(0);
  const fs::path Folder = fs::temp_directory_path() / "gridclip_bench";
  fs::create_directories(Folder);
  const std::string StgFirst = WriteGrid(Folder, LngSize, 0, 1);
  const std::string StgSecond = WriteGrid(Folder, LngSize, 1, 2);
  const std::string StgOut1 = (Folder / "out1.asc").string();
  const std::string StgOut2 = (Folder / "out2.asc").string();
  for (auto _ : State) {
    const std::unique_ptr<TMap> PtrMap1(TARCGISFileTools::LoadARCGISFile(StgFirst));
    const std::unique_ptr<TMap> PtrMap2(TARCGISFileTools::LoadARCGISFile(StgSecond));
    TMap* PtrRaw1 = nullptr;
    TMap* PtrRaw2 = nullptr;
    TMapTools::Intersection(PtrMap1.get(), PtrMap2.get(), PtrRaw1, PtrRaw2);
    const std::unique_ptr<TMap> PtrClip1(PtrRaw1);
    const std::unique_ptr<TMap> PtrClip2(PtrRaw2);
    TARCGISFileTools::WriteARCGISFile(PtrClip1.get(), StgOut1);
    TARCGISFileTools::WriteARCGISFile(PtrClip2.get(), StgOut2);
  }
  State.SetItemsProcessed(State.iterations() * 2 * LngSize * LngSize);
}
}  // namespace

BENCHMARK(BM_ClipTwoGrids)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);
