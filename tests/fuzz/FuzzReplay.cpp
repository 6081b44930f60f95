// Runs a fuzz target once on each file named, or on each file in each directory named, so
// that normal builds replay the seed corpus and the inputs of crashes found before.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* PtrData, std::size_t SizeData);

namespace {
void RunFile(const std::filesystem::path& Path) {
  std::ifstream File(Path, std::ios::binary);
  const std::vector<char> VecBytes{std::istreambuf_iterator<char>(File),
                                   std::istreambuf_iterator<char>()};
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(VecBytes.data()), VecBytes.size());
}
}  // namespace

int main(int IntArgs, char** ChrArgs) {
  long LngRun = 0;
  for (int IntI = 1; IntI < IntArgs; ++IntI) {
    const std::filesystem::path Path(ChrArgs[IntI]);
    if (std::filesystem::is_directory(Path)) {
      for (const auto& Entry : std::filesystem::recursive_directory_iterator(Path)) {
        if (!Entry.is_regular_file()) continue;
        RunFile(Entry.path());
        ++LngRun;
      }
    } else {
      RunFile(Path);
      ++LngRun;
    }
  }
  std::printf("%ld inputs run\n", LngRun);
  return LngRun > 0 ? 0 : 1;
}
