#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "ErrorText.h"
#include "MapFixtures.h"
#include "TARCGISFileTools.h"
#include "TMapTools.h"

using gridclip_test::MakeGrid;
using gridclip_test::Ordinates;

namespace {
constexpr const char* EndOfFile =
    "Unexpected end of file found in TARCGISFileTools::LoadARCGISFile";
constexpr const char* BadHeader =
    "File format error: invalid header value in TARCGISFileTools::LoadARCGISFile";
constexpr const char* BadCell =
    "File format error: invalid cell value in TARCGISFileTools::LoadARCGISFile";

const std::string Header32 =
    "ncols 3\nnrows 2\nxllcorner 100\nyllcorner 200\ncellsize 10\nNODATA_value -9999\n";

std::unique_ptr<TMap> Load(const std::string& StgText) {
  std::istringstream Stream(StgText);
  return std::unique_ptr<TMap>(TARCGISFileTools::LoadARCGISFile(Stream));
}

std::string Write(TMap* PtrMap) {
  std::ostringstream Stream;
  TARCGISFileTools::WriteARCGISFile(PtrMap, Stream);
  return Stream.str();
}

// A stream buffer that cannot seek, as a pipe's.
struct TNoSeekBuffer : std::stringbuf {
  using std::stringbuf::stringbuf;
  pos_type seekoff(off_type, std::ios_base::seekdir, std::ios_base::openmode) override {
    return pos_type(off_type(-1));
  }
};

// A scratch folder removed with everything in it when the test ends.
struct TScratch {
  std::filesystem::path Path;
  TScratch() {
    Path = std::filesystem::temp_directory_path() /
           ("gridclip_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(Path);
    std::filesystem::create_directories(Path);
  }
  ~TScratch() { std::filesystem::remove_all(Path); }
  std::string File(const std::string& StgName) const { return (Path / StgName).string(); }
};

}  // namespace

TEST(TARCGISFileTools, LoadBuildsGeometryAndRows) {
  auto PtrMap = Load(Header32 + "1 2 3\n4 5 6\n");
  EXPECT_EQ(PtrMap->MbrLngXDim, 3);
  EXPECT_EQ(PtrMap->MbrLngYDim, 2);
  EXPECT_EQ(PtrMap->MbrDblResolution, 10);
  EXPECT_EQ(PtrMap->MbrDblNoDataValue, -9999);
  EXPECT_EQ(Ordinates(*PtrMap->MbrPtrXAxisInterval, 'X'),
            (std::vector<double>{100, 110, 120, 130}));
  EXPECT_EQ(Ordinates(*PtrMap->MbrPtrYAxisInterval, 'Y'), (std::vector<double>{220, 210, 200}));
  EXPECT_EQ(Ordinates(*PtrMap->MbrPtrYAxis, 'Y'), (std::vector<double>{215, 205}));
  EXPECT_EQ(PtrMap->MbrVecRows, (std::vector<std::vector<double>>{{1, 2, 3}, {4, 5, 6}}));
}

TEST(TARCGISFileTools, LoadAcceptsLayoutsOtherToolsWrite) {
  const std::vector<std::vector<double>> Expected{{1, 2, 3}, {4, 5, 6}};
  const struct {
    const char* ChrName;
    std::string StgText;
  } Cases[] = {
      {"one line", Header32 + "1 2 3 4 5 6\n"},
      {"no final line end", Header32 + "1 2 3\n4 5 6"},
      {"CRLF and tabs",
       "ncols\t3\r\nnrows 2\r\nxllcorner 100\r\nyllcorner 200\r\ncellsize 10\r\n"
       "NODATA_value -9999\r\n1\t2 3\r\n4 5 6\r\n"},
      {"lower-case no-data tag",
       "ncols 3\nnrows 2\nxllcorner 100\nyllcorner 200\ncellsize 10\n"
       "nodata_value -9999\n1 2 3\n4 5 6\n"},
      {"trailing text ignored", Header32 + "1 2 3\n4 5 6\n7 8 9 junk\n"},
      {"plus signs", Header32 + "+1 2 3\n4 5 +6\n"},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.ChrName);
    EXPECT_EQ(Load(Case.StgText)->MbrVecRows, Expected);
  }
}

TEST(TARCGISFileTools, LoadRefusesBadFiles) {
  const std::string Tail = "xllcorner 100\nyllcorner 200\ncellsize 10\nNODATA_value -9999\n1 2 3\n";
  const struct {
    std::string StgText;
    const char* ChrMessage;
  } Cases[] = {
      // header: the tag of each line, in order
      {"", "File format error: expected to find ncols tag"},
      {"NCOLS 3\nnrows 1\n" + Tail, "File format error: expected to find ncols tag"},
      {"ncols 3\nNrows 1\n" + Tail, "File format error: expectd to find nrows tag"},
      {"ncols 10.0\nnrows 1\n" + Tail, "File format error: expectd to find nrows tag"},
      {"ncols 3\nnrows 1\nxll 100\n", "File format error: expected to find xllcorner tag"},
      {"ncols 3\nnrows 1\nxllcorner 100\nyll 200\n",
       "File format error: expected to find yllcorner tag"},
      {"ncols 3\nnrows 1\nxllcorner 100\nyllcorner 200\ncell 10\n",
       "File format error: expected to find cellsize tag"},
      {"ncols 3\nnrows 1\nxllcorner 100\nyllcorner 200\ncellsize 10\n1 2 3\n",
       "File format error: expected to find NODATA_value tag"},
      {"ncols 3\nnrows 1\nxllcorner 100\nyllcorner 200\ncellsize 10\nNODATA -9999\n",
       "File format error: expected to find NODATA_value tag"},
      // header values
      {"ncols abc\nnrows 1\n" + Tail, BadHeader},
      {"ncols -3\nnrows 1\n" + Tail, BadHeader},
      {"ncols 3\nnrows 4294967296\n" + Tail, BadHeader},
      {"ncols 3\nnrows 99999999999999999999999\n" + Tail, BadHeader},
      {"ncols 3\nnrows 1\nxllcorner nan\nyllcorner 200\ncellsize 10\nNODATA_value -9999\n1 2 3\n",
       BadHeader},
      {"ncols 3\nnrows 1\nxllcorner 100\nyllcorner inf\ncellsize 10\nNODATA_value -9999\n1 2 3\n",
       BadHeader},
      {"ncols 3\nnrows 1\nxllcorner 100\nyllcorner 200\ncellsize 0\nNODATA_value -9999\n1 2 3\n",
       BadHeader},
      {"ncols 3\nnrows 1\nxllcorner 100\nyllcorner 200\ncellsize -10\nNODATA_value -9999\n1 2 3\n",
       BadHeader},
      {"ncols 3\nnrows 1\nxllcorner 100\nyllcorner 200\ncellsize 10\nNODATA_value x\n1 2 3\n",
       BadHeader},
      {"ncols 3\nnrows 1\nxllcorner 100\nyllcorner 200\ncellsize 10\nNODATA_value nan\n1 2 3\n",
       BadHeader},
      {"ncols 3\nnrows 1\nxllcorner 100\nyllcorner 200\ncellsize 10\nNODATA_value", BadHeader},
      // body
      {Header32 + "1 2 3\n4 abc 6\n", BadCell},
      {Header32 + "1 2 3\n4 1.5x 6\n", BadCell},
      {Header32 + "1 2 3\n4 5\n", EndOfFile},
      {Header32, EndOfFile},
      {"ncols 2000000000\nnrows 2000000000\n" + Tail, EndOfFile},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.StgText.substr(0, 60));
    EXPECT_THROW_MSG(Load(Case.StgText), Case.ChrMessage);
  }
}

// Found by fuzzing: "ncols 0" with "nrows 2000000000" holds no cells, so the size check let it
// through, and the reader then built two billion empty rows and axis points.
TEST(TARCGISFileTools, LoadRefusesGridsWithoutCellsBeforeAllocating) {
  const std::string Tail = "xllcorner 0\nyllcorner 0\ncellsize 1\nNODATA_value -9999\n";
  // cheap cases first: the loop stops at the first one that is not refused
  const std::string Cases[] = {
      "ncols 0\nnrows 3\n" + Tail + "\n\n\n",
      "ncols 2\nnrows 0\n" + Tail,
      "ncols 0\nnrows 0\n" + Tail,
      "ncols 0\nnrows 2000000000\n" + Tail + " 2\n",
      "ncols 2147483647\nnrows 0\n" + Tail,
  };
  for (const std::string& StgText : Cases) {
    SCOPED_TRACE(StgText.substr(0, 30));
    ASSERT_EQ(gridclip_test::ThrownText([&] { Load(StgText); }), BadHeader);
    TNoSeekBuffer Pipe(StgText);
    std::istream PipeStream(&Pipe);
    ASSERT_EQ(
        gridclip_test::ThrownText([&] { delete TARCGISFileTools::LoadARCGISFile(PipeStream); }),
        BadHeader);
  }
}

// Found by fuzzing: a 3 by 3 grid with cellsize 1.5e+308 read with an infinite northern edge;
// its clipped copy got NaN and infinite corners, written as a file that could not be read.
TEST(TARCGISFileTools, LoadRefusesGridWhoseExtentOverflows) {
  const struct {
    const char* ChrHeader;
    bool BlnRefused;
  } Cases[] = {
      // header values                                                   refused
      {"ncols 3\nnrows 3\nxllcorner 500000.5\nyllcorner 4512345.5\ncellsize 1.5e+308\n", true},
      {"ncols 3\nnrows 1\nxllcorner 0\nyllcorner 0\ncellsize 1e+308\n", true},
      {"ncols 1\nnrows 3\nxllcorner 0\nyllcorner 0\ncellsize 1e+308\n", true},
      {"ncols 1\nnrows 1\nxllcorner 1.7e+308\nyllcorner 0\ncellsize 1e+308\n", true},
      {"ncols 1\nnrows 1\nxllcorner 0\nyllcorner -1.7e+308\ncellsize 1.7e+308\n", false},
      {"ncols 2\nnrows 1\nxllcorner -1.7e+308\nyllcorner 0\ncellsize 1.7e+308\n", false},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.ChrHeader);
    const std::string StgText =
        std::string(Case.ChrHeader) + "NODATA_value -32768\n1 2 3\n4 5 6\n7 8 9\n";
    EXPECT_EQ(gridclip_test::ThrownText([&] { Load(StgText); }),
              Case.BlnRefused ? BadHeader : "<no error>");
  }
}

TEST(TARCGISFileTools, LoadFromAPipeReadsTheSameAndRefusesShortBodies) {
  struct TPipeBuffer : std::stringbuf {
    using std::stringbuf::stringbuf;
    pos_type seekoff(off_type, std::ios_base::seekdir, std::ios_base::openmode) override {
      return pos_type(off_type(-1));
    }
  };
  TPipeBuffer Good(Header32 + "1 2 3\n4 5 6\n" + Header32 + "7 8 9 10 11 12");
  std::istream GoodStream(&Good);
  std::unique_ptr<TMap> PtrFirst(TARCGISFileTools::LoadARCGISFile(GoodStream));
  std::unique_ptr<TMap> PtrSecond(TARCGISFileTools::LoadARCGISFile(GoodStream));
  EXPECT_EQ(PtrFirst->GetPointVal(2, 1), 6);
  EXPECT_EQ(PtrSecond->GetPointVal(0, 0), 7);
  TPipeBuffer Short(
      "ncols 2000000000\nnrows 2000000000\nxllcorner 1\nyllcorner 1\ncellsize 1\n"
      "NODATA_value 0\n1 2 3\n");
  std::istream ShortStream(&Short);
  EXPECT_THROW_MSG(TARCGISFileTools::LoadARCGISFile(ShortStream), EndOfFile);
}

TEST(TARCGISFileTools, WriteLaysOutHeaderAndBody) {
  auto PtrMap = MakeGrid(100, 200, 10, {{1, 2, 3}, {4, 5, 6}});
  EXPECT_EQ(Write(PtrMap.get()),
            "ncols 3\nnrows 2\nxllcorner      100\nyllcorner      200\ncellsize 10\n"
            "NODATA_value -9999\n1 2 3 \n4 5 6 \n");
  auto PtrWide = MakeGrid(4512345.5, -0.25, 0.5, {{0.1}}, -32768);
  EXPECT_EQ(Write(PtrWide.get()),
            "ncols 1\nnrows 1\nxllcorner 4512345.5\nyllcorner    -0.25\ncellsize 0.5\n"
            "NODATA_value -32768\n0.1 \n");
}

TEST(TARCGISFileTools, NoDataTagIsWrittenInItsUsualCase) {
  auto PtrMap =
      Load("ncols 1\nnrows 1\nxllcorner 0\nyllcorner 0\ncellsize 1\nnodata_value -32768\n5\n");
  EXPECT_EQ(PtrMap->MbrDblNoDataValue, -32768);
  EXPECT_NE(Write(PtrMap.get()).find("\nNODATA_value -32768\n"), std::string::npos);
}

TEST(TARCGISFileTools, RoundTripIsExact) {
  const double NaN = std::numeric_limits<double>::quiet_NaN();
  const double Inf = std::numeric_limits<double>::infinity();
  auto PtrMap = MakeGrid(4512345.5, 5412345.25, 0.1,
                         {{0.1, 1234.5678, -32768, 1.0 / 3},
                          {5e-324, 1.7976931348623157e308, -0.0, 2},
                          {NaN, Inf, -Inf, 123456.789012345}},
                         -32768);
  const std::string StgText = Write(PtrMap.get());
  auto PtrBack = Load(StgText);
  ASSERT_EQ(PtrBack->MbrLngXDim, 4);
  ASSERT_EQ(PtrBack->MbrLngYDim, 3);
  for (long LngY = 0; LngY < 3; ++LngY) {
    for (long LngX = 0; LngX < 4; ++LngX) {
      const double DblIn = PtrMap->GetPointVal(LngX, LngY);
      const double DblOut = PtrBack->GetPointVal(LngX, LngY);
      if (std::isnan(DblIn)) {
        EXPECT_TRUE(std::isnan(DblOut));
      } else {
        EXPECT_EQ(std::signbit(DblIn), std::signbit(DblOut));
        EXPECT_EQ(DblIn, DblOut);
      }
    }
  }
  EXPECT_EQ(PtrBack->MbrPtrXAxisInterval->GetPoint(0)->MbrDblX, 4512345.5);
  EXPECT_EQ(PtrBack->MbrPtrYAxisInterval->GetPoint(3)->MbrDblY, 5412345.25);
  EXPECT_EQ(PtrBack->MbrDblResolution, 0.1);
  EXPECT_EQ(Write(PtrBack.get()), StgText);
}

TEST(TARCGISFileTools, StreamFormReadsGridsInTurn) {
  auto PtrA = MakeGrid(0, 0, 1, {{1, 2}});
  auto PtrB = MakeGrid(5, 5, 2, {{3}, {4}});
  std::stringstream Stream;
  TARCGISFileTools::WriteARCGISFile(PtrA.get(), Stream);
  TARCGISFileTools::WriteARCGISFile(PtrB.get(), Stream);
  std::unique_ptr<TMap> PtrFirst(TARCGISFileTools::LoadARCGISFile(Stream));
  std::unique_ptr<TMap> PtrSecond(TARCGISFileTools::LoadARCGISFile(Stream));
  EXPECT_EQ(PtrFirst->MbrVecRows, PtrA->MbrVecRows);
  EXPECT_EQ(PtrSecond->MbrVecRows, PtrB->MbrVecRows);
  EXPECT_EQ(PtrSecond->MbrDblResolution, 2);
}

TEST(TARCGISFileTools, FileFormsReportOpenAndWriteFailures) {
  TScratch Scratch;
  auto PtrMap = MakeGrid(0, 0, 1, {{1, 2}});
  const std::string StgMissing = Scratch.File("no/such/dir/x.asc");
  EXPECT_THROW_MSG(TARCGISFileTools::WriteARCGISFile(PtrMap.get(), StgMissing),
                   "Unable to open file " + StgMissing);
  EXPECT_THROW_MSG(TARCGISFileTools::LoadARCGISFile(StgMissing),
                   "Unable to open file " + StgMissing);
  EXPECT_THROW_MSG(TARCGISFileTools::LoadARCGISFile(Scratch.Path.string()),
                   "Unable to open file " + Scratch.Path.string());
  if (std::filesystem::exists("/dev/full")) {
    EXPECT_THROW_MSG(TARCGISFileTools::WriteARCGISFile(PtrMap.get(), std::string("/dev/full")),
                     "Unable to write file /dev/full");
  }
  const std::string StgFile = Scratch.File("map.asc");
  TARCGISFileTools::WriteARCGISFile(PtrMap.get(), StgFile);
  std::unique_ptr<TMap> PtrBack(TARCGISFileTools::LoadARCGISFile(StgFile));
  EXPECT_EQ(PtrBack->MbrVecRows, PtrMap->MbrVecRows);
}

TEST(TARCGISFileTools, FileListsGoInOrder) {
  TScratch Scratch;
  auto PtrA = MakeGrid(0, 0, 1, {{1}});
  auto PtrB = MakeGrid(0, 0, 1, {{2}});
  auto PtrC = MakeGrid(0, 0, 1, {{3}});
  const std::vector<std::string> Names{Scratch.File("a.asc"), Scratch.File("b.asc"),
                                       Scratch.File("c.asc")};
  EXPECT_THROW_MSG(
      TARCGISFileTools::WriteFileList({PtrA.get(), PtrB.get()}, Names),
      "Size of map list and filename list do not match in TARCGISFileTools::WriteFileList");
  EXPECT_FALSE(std::filesystem::exists(Names[0]));
  TARCGISFileTools::WriteFileList({}, {});
  TARCGISFileTools::WriteFileList({PtrA.get(), PtrB.get(), PtrC.get()}, Names);
  std::vector<TMap*> VecMaps = TARCGISFileTools::LoadFileList(Names);
  ASSERT_EQ(VecMaps.size(), 3u);
  for (std::size_t SizeI = 0; SizeI < 3; ++SizeI) {
    EXPECT_EQ(VecMaps[SizeI]->GetPointVal(0, 0), static_cast<double>(SizeI + 1));
    delete VecMaps[SizeI];
  }
  EXPECT_TRUE(TARCGISFileTools::LoadFileList({}).empty());
  // The maps read before the failing name are released (the sanitizer build checks it).
  const std::string StgMissing = Scratch.File("missing.asc");
  EXPECT_THROW_MSG(TARCGISFileTools::LoadFileList({Names[0], StgMissing, Names[2]}),
                   "Unable to open file " + StgMissing);
}

TEST(TMapTools, WriteFlatFileUsesTheSeparator) {
  auto PtrMap = MakeGrid(0, 0, 1, {{1.5, -9999}, {3, 4}});
  std::ostringstream Stream;
  TMapTools::WriteFlatFile(PtrMap.get(), Stream, ';');
  EXPECT_EQ(Stream.str(), "1.5;-9999;\n3;4;\n");
  TMap NoColumns(1.0, 0, 2);
  std::ostringstream Empty;
  TMapTools::WriteFlatFile(&NoColumns, Empty, ' ');
  EXPECT_EQ(Empty.str(), "\n\n");
  TMap Ragged(1.0);
  Ragged.AddRow({1, 2});
  Ragged.AddRow({3});
  std::ostringstream Partial;
  EXPECT_THROW_MSG(TMapTools::WriteFlatFile(&Ragged, Partial, ' '),
                   "X-ordinate is out of range in TMap::GetPointVal");
  EXPECT_EQ(Partial.str(), "1 2 \n3 ");
}

TEST(TMapTools, WriteCSVFileGoesColumnByColumn) {
  auto PtrMap = MakeGrid(4512345, 0, 1, {{1, 2}, {3, 4}});
  std::ostringstream Stream;
  TMapTools::WriteCSVFile(PtrMap.get(), Stream);
  EXPECT_EQ(Stream.str(), "4512345.5,1.5,1\n4512345.5,0.5,3\n4512346.5,1.5,2\n4512346.5,0.5,4\n");
}
