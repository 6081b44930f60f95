// Runs the built gridclip command end to end.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
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

  // Runs gridclip with the arguments (already quoted as needed) from the scratch folder,
  // behind the words in GRIDCLIP_COMMAND_WRAPPER when set (for instance a valgrind command
  // with -q and --error-exitcode, so that a memory error shows as output and a bad status).
  TRun Run(const std::string& StgArgs) const {
    const char* ChrWrapper = std::getenv("GRIDCLIP_COMMAND_WRAPPER");
    const std::string StgCommand =
        "cd '" + MbrDir.string() + "' && " + (ChrWrapper != nullptr ? ChrWrapper : "") +
        " '" GRIDCLIP_COMMAND "' " + StgArgs + " >stdout.txt 2>stderr.txt";
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

namespace {
const std::string NcolsTag = "File format error: expected to find ncols tag";
const std::string HeaderValue =
    "File format error: invalid header value in TARCGISFileTools::LoadARCGISFile";
const std::string CellValue =
    "File format error: invalid cell value in TARCGISFileTools::LoadARCGISFile";
const std::string EndOfFile = "Unexpected end of file found in TARCGISFileTools::LoadARCGISFile";

// A 3 by 2 grid on the lattice of the 5 by 5 partner grid, with one header line replaced.
std::string Grid32With(const std::string& StgFind, const std::string& StgReplace) {
  std::string StgText =
      "ncols 3\nnrows 2\nxllcorner 0\nyllcorner 0\ncellsize 1\nNODATA_value -9999\n"
      "1 2 3\n4 5 6\n";
  const std::size_t SizeAt = StgText.find(StgFind);
  return StgText.replace(SizeAt, StgFind.size(), StgReplace);
}
}  // namespace

// Hostile sources, each run as the first and as the second source beside a good grid: the
// run prints the expected message and writes nothing; the few inputs that are good grids
// after all (expected message empty) are clipped.
TEST_F(GridclipCommand, HostileSourcesGetTheirMessageAndWriteNothing) {
  const std::string StgLongWord(1 << 20, 'a');
  std::string StgLongRow =
      "ncols 200000\nnrows 1\nxllcorner 0\nyllcorner 0\ncellsize 1\n"
      "NODATA_value -9999\n";
  for (int IntI = 0; IntI < 200000; ++IntI) StgLongRow += "1.5 ";
  const struct {
    const char* ChrName;
    std::string StgText;
    std::string StgMessage;
  } Cases[] = {
      // name                    file text                                   message printed
      {"empty file", "", NcolsTag},
      {"blanks only", " \n\t\r\n", NcolsTag},
      {"header only", Grid32With("1 2 3\n4 5 6\n", ""), EndOfFile},
      {"ncols missing", Grid32With("ncols 3\n", ""), NcolsTag},
      {"nrows missing", Grid32With("nrows 2\n", ""),
       "File format error: expectd to find nrows tag"},
      {"xllcorner missing", Grid32With("xllcorner 0\n", ""),
       "File format error: expected to find xllcorner tag"},
      {"yllcorner missing", Grid32With("yllcorner 0\n", ""),
       "File format error: expected to find yllcorner tag"},
      {"cellsize missing", Grid32With("cellsize 1\n", ""),
       "File format error: expected to find cellsize tag"},
      {"NODATA line missing", Grid32With("NODATA_value -9999\n", ""),
       "File format error: expected to find NODATA_value tag"},
      {"ncols misspelt", Grid32With("ncols", "ncol"), NcolsTag},
      {"ncols upper case", Grid32With("ncols", "NCOLS"), NcolsTag},
      {"nrows misspelt", Grid32With("nrows", "nrow"),
       "File format error: expectd to find nrows tag"},
      {"xllcenter for xllcorner", Grid32With("xllcorner", "xllcenter"),
       "File format error: expected to find xllcorner tag"},
      {"yllcorner misspelt", Grid32With("yllcorner", "yllcorne"),
       "File format error: expected to find yllcorner tag"},
      {"cellsize misspelt", Grid32With("cellsize", "cell_size"),
       "File format error: expected to find cellsize tag"},
      {"NODATA_value misspelt", Grid32With("NODATA_value", "NODATA_Value"),
       "File format error: expected to find NODATA_value tag"},
      {"ncols not a number", Grid32With("ncols 3", "ncols three"), HeaderValue},
      {"cellsize not a number", Grid32With("cellsize 1", "cellsize ten"), HeaderValue},
      {"ncols with a fraction", Grid32With("ncols 3", "ncols 3.0"),
       "File format error: expectd to find nrows tag"},
      {"decimal comma", Grid32With("xllcorner 0", "xllcorner 0,5"),
       "File format error: expected to find yllcorner tag"},
      {"NODATA value missing", Grid32With("NODATA_value -9999\n1 2 3\n4 5 6\n", "NODATA_value"),
       HeaderValue},
      {"cell not a number", Grid32With("4 5 6", "4 five 6"), CellValue},
      {"cell with a decimal comma", Grid32With("4 5 6", "4 5,5 6"), CellValue},
      {"ncols nan", Grid32With("ncols 3", "ncols nan"), HeaderValue},
      {"xllcorner nan", Grid32With("xllcorner 0", "xllcorner nan"), HeaderValue},
      {"yllcorner -inf", Grid32With("yllcorner 0", "yllcorner -inf"), HeaderValue},
      {"cellsize inf", Grid32With("cellsize 1", "cellsize inf"), HeaderValue},
      {"cellsize 1e999", Grid32With("cellsize 1", "cellsize 1e999"), HeaderValue},
      {"NODATA_value nan", Grid32With("NODATA_value -9999", "NODATA_value nan"), HeaderValue},
      {"cellsize 0", Grid32With("cellsize 1", "cellsize 0"), HeaderValue},
      {"cellsize negative", Grid32With("cellsize 1", "cellsize -1"), HeaderValue},
      {"extent beyond the largest double", Grid32With("cellsize 1", "cellsize 1e308"), HeaderValue},
      {"ncols negative", Grid32With("ncols 3", "ncols -3"), HeaderValue},
      {"nrows negative", Grid32With("nrows 2", "nrows -2"), HeaderValue},
      {"ncols 0", Grid32With("ncols 3", "ncols 0"), HeaderValue},
      {"ncols 0 with huge nrows", Grid32With("ncols 3\nnrows 2", "ncols 0\nnrows 2000000000"),
       HeaderValue},
      {"ncols beyond 32 bits", Grid32With("ncols 3", "ncols 2147483648"), HeaderValue},
      {"nrows of 20 digits", Grid32With("nrows 2", "nrows 99999999999999999999"), HeaderValue},
      {"far more cells than the file holds",
       Grid32With("ncols 3\nnrows 2", "ncols 2000000000\nnrows 2000000000"), EndOfFile},
      {"one column short of the claim", Grid32With("ncols 3\nnrows 2", "ncols 100000\nnrows 1"),
       EndOfFile},
      {"truncated body", Grid32With("4 5 6\n", "4 5"), EndOfFile},
      {"body cut inside a number", Grid32With("4 5 6\n", "4 5 6e"), CellValue},
      {"binary garbage",
       std::string("\x7f"
                   "ELF\x02\x01\x01\0\0\0\xff\xfe\x80 ncols 3",
                   20),
       NcolsTag},
      {"garbage body",
       Grid32With("1 2 3\n4 5 6\n",
                  std::string("\x01\x02\xff\0\x80 \x90 \xfe\xfd \x7f \xc3\x28 ~~", 18)),
       CellValue},
      {"one-megabyte header word", StgLongWord + " 3\n", NcolsTag},
      {"UTF-8 byte-order mark", "\xEF\xBB\xBF" + Grid32With("", ""), NcolsTag},
      // good grids after all
      {"CRLF line ends",
       "ncols 3\r\nnrows 2\r\nxllcorner 0\r\nyllcorner 0\r\ncellsize 1\r\n"
       "NODATA_value -9999\r\n1 2 3\r\n4 5 6\r\n",
       ""},
      {"200000 values on one line", StgLongRow, ""},
  };
  WriteText("good.asc", Grid(5, 5, "0", "0", "1", "-9999", Body5x5));
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.ChrName);
    WriteText("source.asc", Case.StgText);
    for (const char* ChrArgs :
         {"source.asc good.asc c.asc d.asc", "good.asc source.asc c.asc d.asc"}) {
      SCOPED_TRACE(ChrArgs);
      ExpectMessage(Run(ChrArgs), Case.StgMessage);
      const bool BlnWritten = Case.StgMessage.empty();
      EXPECT_EQ(fs::exists(Path("c.asc")), BlnWritten);
      EXPECT_EQ(fs::exists(Path("d.asc")), BlnWritten);
      fs::remove(Path("c.asc"));
      fs::remove(Path("d.asc"));
    }
  }
}

TEST_F(GridclipCommand, DirectoryGivenAsSourceCannotBeOpened) {
  WriteText("good.asc", Grid(5, 5, "0", "0", "1", "-9999", Body5x5));
  fs::create_directory(Path("folder.asc"));
  ExpectMessage(Run("folder.asc good.asc c.asc d.asc"), "Unable to open file folder.asc");
  ExpectMessage(Run("good.asc folder.asc c.asc d.asc"), "Unable to open file folder.asc");
  EXPECT_FALSE(fs::exists(Path("c.asc")));
  EXPECT_FALSE(fs::exists(Path("d.asc")));
  // a directory as destination cannot be created as a file either
  ExpectMessage(Run("good.asc good.asc folder.asc d.asc"), "Unable to open file folder.asc");
  EXPECT_FALSE(fs::exists(Path("d.asc")));
}

TEST_F(GridclipCommand, UnreadableSourceCannotBeOpened) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
  WriteText("good.asc", Grid(5, 5, "0", "0", "1", "-9999", Body5x5));
  WriteText("locked.asc", Grid(5, 5, "0", "0", "1", "-9999", Body5x5));
  fs::permissions(Path("locked.asc"), fs::perms::none);
  ExpectMessage(Run("locked.asc good.asc c.asc d.asc"), "Unable to open file locked.asc");
  ExpectMessage(Run("good.asc locked.asc c.asc d.asc"), "Unable to open file locked.asc");
  EXPECT_FALSE(fs::exists(Path("c.asc")));
  EXPECT_FALSE(fs::exists(Path("d.asc")));
}
