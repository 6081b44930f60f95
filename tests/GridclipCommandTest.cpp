// Runs the built gridclip command end to end.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {
namespace fs = std::filesystem;

struct TRun {
  std::string StgOut;
  std::string StgErr;
  int IntStatus;
};

std::string ReadFile(const fs::path& Path) {
  std::ifstream File(Path, std::ios::binary);
  std::stringstream Text;
  Text << File.rdbuf();
  return Text.str();
}

class GridclipCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    MbrDir = fs::temp_directory_path() /
             ("gridclip_cmd_" +
              std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(MbrDir);
    fs::create_directories(MbrDir);
  }
  void TearDown() override { fs::remove_all(MbrDir); }

  std::string Path(const std::string& StgName) const { return (MbrDir / StgName).string(); }

  void WriteText(const std::string& StgName, const std::string& StgText) const {
    std::ofstream(Path(StgName), std::ios::binary) << StgText;
  }

  // Runs gridclip with the arguments (already quoted as needed) from the scratch folder.
  TRun Run(const std::string& StgArgs) const {
    const std::string StgCommand = "cd '" + MbrDir.string() + "' && '" GRIDCLIP_COMMAND "' " +
                                   StgArgs + " >stdout.txt 2>stderr.txt";
    const int IntRaw = std::system(StgCommand.c_str());
    TRun Result{ReadFile(MbrDir / "stdout.txt"), ReadFile(MbrDir / "stderr.txt"),
                WIFEXITED(IntRaw) ? WEXITSTATUS(IntRaw) : -1};
    fs::remove(MbrDir / "stdout.txt");
    fs::remove(MbrDir / "stderr.txt");
    return Result;
  }

  // Expects the run to print exactly `StgMessage` and nothing else, with status 0.
  void ExpectMessage(const TRun& Result, const std::string& StgMessage) const {
    EXPECT_EQ(Result.StgOut, StgMessage);
    EXPECT_EQ(Result.StgErr, "");
    EXPECT_EQ(Result.IntStatus, 0);
  }

  static std::string Grid(int IntCols, int IntRows, const std::string& StgXll,
                          const std::string& StgYll, const std::string& StgCell,
                          const std::string& StgNoData, const std::string& StgBody) {
    return "ncols " + std::to_string(IntCols) + "\nnrows " + std::to_string(IntRows) +
           "\nxllcorner " + StgXll + "\nyllcorner " + StgYll + "\ncellsize " + StgCell +
           "\nNODATA_value " + StgNoData + "\n" + StgBody;
  }

  fs::path MbrDir;
};

const std::string Usage = "Usage: gridclip source_file1 source_file2 dest_file1 dest_file2";
const std::string Body5x5 =
    "1 2 3 4 5\n6 7 8 9 10\n11 12 13 14 15\n16 17 18 19 20\n21 22 23 24 25\n";
}  // namespace

TEST_F(GridclipCommand, WrongArgumentCountPrintsUsage) {
  WriteText("a.asc", Grid(5, 5, "0", "0", "1", "-9999", Body5x5));
  ExpectMessage(Run("a.asc a.asc c.asc"), Usage);
  ExpectMessage(Run("a.asc a.asc c.asc d.asc e.asc"), Usage);
  ExpectMessage(Run(""), Usage);
  EXPECT_FALSE(fs::exists(Path("c.asc")));
}

TEST_F(GridclipCommand, MissingSourceWritesNothing) {
  WriteText("a.asc", Grid(5, 5, "0", "0", "1", "-9999", Body5x5));
  ExpectMessage(Run("a.asc missing.asc c.asc d.asc"), "Unable to open file missing.asc");
  EXPECT_FALSE(fs::exists(Path("c.asc")));
  EXPECT_FALSE(fs::exists(Path("d.asc")));
}

TEST_F(GridclipCommand, BadInputWritesNothing) {
  WriteText("a.asc", Grid(5, 5, "0", "0", "1", "-9999", Body5x5));
  WriteText("bad.asc", Grid(5, 5, "0", "0", "1", "-9999", "1 2 3\n"));
  ExpectMessage(Run("a.asc bad.asc c.asc d.asc"),
                "Unexpected end of file found in TARCGISFileTools::LoadARCGISFile");
  EXPECT_FALSE(fs::exists(Path("c.asc")));
}

TEST_F(GridclipCommand, MapsThatDoNotOverlap) {
  WriteText("a.asc", Grid(5, 5, "0", "0", "1", "-9999", Body5x5));
  WriteText("b.asc", Grid(5, 5, "5", "0", "1", "-9999", Body5x5));
  ExpectMessage(Run("a.asc b.asc c.asc d.asc"), "Maps do not intersect in TMapTools::Intersection");
  EXPECT_FALSE(fs::exists(Path("c.asc")));
  EXPECT_FALSE(fs::exists(Path("d.asc")));
}

TEST_F(GridclipCommand, GridsTwoCellsApart) {
  WriteText("a.asc", Grid(5, 5, "100", "200", "10", "-9999", Body5x5));
  WriteText("b.asc", Grid(5, 5, "120", "200", "10", "-9999", Body5x5));
  ExpectMessage(Run("a.asc b.asc c.asc d.asc"), "");
  const std::string Header =
      "ncols 3\nnrows 5\nxllcorner      120\nyllcorner      200\ncellsize 10\nNODATA_value -9999\n";
  EXPECT_EQ(ReadFile(Path("c.asc")), Header + "3 4 5 \n8 9 10 \n13 14 15 \n18 19 20 \n23 24 25 \n");
  EXPECT_EQ(ReadFile(Path("d.asc")), Header + "1 2 3 \n6 7 8 \n11 12 13 \n16 17 18 \n21 22 23 \n");
}

TEST_F(GridclipCommand, GridsOverlappingInOneCell) {
  WriteText("a.asc", Grid(5, 5, "100", "200", "10", "-9999", Body5x5));
  WriteText("b.asc", Grid(5, 5, "140", "160", "10", "-9999", Body5x5));
  ExpectMessage(Run("a.asc b.asc c.asc d.asc"), "");
  const std::string Header =
      "ncols 1\nnrows 1\nxllcorner      140\nyllcorner      200\ncellsize 10\nNODATA_value -9999\n";
  EXPECT_EQ(ReadFile(Path("c.asc")), Header + "25 \n");
  EXPECT_EQ(ReadFile(Path("d.asc")), Header + "1 \n");
}

TEST_F(GridclipCommand, SevenDigitCoordinatesAndNoDataComeBackExact) {
  const std::string Body = "1.25 -32768 3\n4 5 6.125\n-32768 8 9\n";
  WriteText("a.asc", Grid(3, 3, "500000.5", "4512345.5", "0.5", "-32768", Body));
  WriteText("b.asc", Grid(3, 3, "500000.5", "4512345.5", "0.5", "-32768", Body));
  ExpectMessage(Run("a.asc b.asc c.asc d.asc"), "");
  const std::string Expected =
      "ncols 3\nnrows 3\nxllcorner 500000.5\nyllcorner 4512345.5\ncellsize 0.5\n"
      "NODATA_value -32768\n1.25 -32768 3 \n4 5 6.125 \n-32768 8 9 \n";
  EXPECT_EQ(ReadFile(Path("c.asc")), Expected);
  EXPECT_EQ(ReadFile(Path("d.asc")), Expected);
}

TEST_F(GridclipCommand, FirstDestinationInMissingFolder) {
  WriteText("a.asc", Grid(5, 5, "0", "0", "1", "-9999", Body5x5));
  ExpectMessage(Run("a.asc a.asc nodir/c.asc d.asc"), "Unable to open file nodir/c.asc");
  EXPECT_FALSE(fs::exists(Path("d.asc")));
}

TEST_F(GridclipCommand, SourceNamedAsDestination) {
  WriteText("a.asc", Grid(5, 5, "0", "0", "1", "-9999", Body5x5));
  WriteText("b.asc", Grid(5, 5, "2", "0", "1", "-9999", Body5x5));
  ExpectMessage(Run("a.asc b.asc b.asc a.asc"), "");
  EXPECT_EQ(ReadFile(Path("b.asc")).substr(0, 8), "ncols 3\n");
  EXPECT_NE(ReadFile(Path("b.asc")).find("3 4 5 \n"), std::string::npos);
  EXPECT_NE(ReadFile(Path("a.asc")).find("1 2 3 \n"), std::string::npos);
}

TEST_F(GridclipCommand, FullDiskIsReported) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  WriteText("a.asc", Grid(5, 5, "0", "0", "1", "-9999", Body5x5));
  ExpectMessage(Run("a.asc a.asc /dev/full out.asc"), "Unable to write file /dev/full");
  EXPECT_FALSE(fs::exists(Path("out.asc")));
}
