#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <sstream>
#include <string>

#include "TTextTools.h"

namespace {
std::string Format(double DblValue) {
  char ChrText[TTextTools::MaxNumberLength];
  return {ChrText, TTextTools::FormatNumber(ChrText, DblValue)};
}

// The rule written out with the C library: the %.6g text when it reads back exactly, else the
// %.Ng text for the smallest N that does.
std::string Reference(double DblValue) {
  char ChrText[64];
  for (int IntPrecision = 6; IntPrecision <= 17; ++IntPrecision) {
    std::snprintf(ChrText, sizeof ChrText, "%.*g", IntPrecision, DblValue);
    if (std::strtod(ChrText, nullptr) == DblValue) break;
  }
  return ChrText;
}
}  // namespace

TEST(TTextTools, FormatNumberKeepsSixDigitTextAndIsLosslessBeyond) {
  const struct {
    double DblValue;
    const char* ChrText;
  } Cases[] = {
      {0.25, "0.25"},
      {-9999, "-9999"},
      {2, "2"},
      {1e-05, "1e-05"},
      {4512345.5, "4512345.5"},
      {1234.5678, "1234.5678"},
      {0.1, "0.1"},
      {4512345, "4512345"},
      {100000, "100000"},
      {1000000, "1e+06"},
      {0.0001, "0.0001"},
      {0.00012345, "0.00012345"},
      {-32768, "-32768"},
      {0, "0"},
      {-0.0, "-0"},
      {1e300, "1e+300"},
      {5e-324, "4.94066e-324"},
      {1e-310, "1e-310"},
      {123456789012, "123456789012"},
      {std::numeric_limits<double>::infinity(), "inf"},
      {-std::numeric_limits<double>::infinity(), "-inf"},
      {std::numeric_limits<double>::quiet_NaN(), "nan"},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.ChrText);
    EXPECT_EQ(Format(Case.DblValue), Case.ChrText);
  }
}

TEST(TTextTools, FormatNumberMatchesTheGeneralFormatRule) {
  std::mt19937_64 Random(20261211);
  std::uniform_int_distribution<int> Digits(1, 17);
  std::uniform_int_distribution<int> Exponent(-30, 30);
  std::uniform_int_distribution<unsigned long long> Bits;
  for (int IntI = 0; IntI < 200000; ++IntI) {
    double DblValue = 0.0;
    if (IntI % 3 == 0) {
      // Arbitrary bit patterns: every magnitude, subnormals included.
      const unsigned long long LngBits = Bits(Random);
      std::memcpy(&DblValue, &LngBits, sizeof DblValue);
      if (!std::isfinite(DblValue)) continue;
    } else if (IntI % 3 == 1 && IntI % 2 == 0) {
      // Short decimals among the subnormals, where doubles hold fewer than six digits.
      char ChrText[64];
      std::snprintf(ChrText, sizeof ChrText, "%de-%d", 1 + IntI % 997, 300 + IntI % 24);
      DblValue = std::strtod(ChrText, nullptr);
    } else {
      // Short decimals as real grids hold them: few digits, moderate exponents.
      char ChrText[64];
      std::snprintf(ChrText, sizeof ChrText, "%.*e", Digits(Random) - 1,
                    static_cast<double>(Bits(Random) % 1000000007) * 1e-9);
      DblValue = std::strtod(ChrText, nullptr) * std::pow(10.0, Exponent(Random));
    }
    const std::string StgText = Format(DblValue);
    ASSERT_EQ(StgText, Reference(DblValue)) << std::hexfloat << DblValue;
    ASSERT_EQ(std::strtod(StgText.c_str(), nullptr), DblValue) << StgText;
  }
}

TEST(TTextTools, ParseNumberTakesWholeNumbersOnly) {
  const struct {
    const char* ChrToken;
    bool BlnNumber;
    double DblValue;
  } Cases[] = {
      {"1.5", true, 1.5},
      {"-32768", true, -32768},
      {"+7", true, 7},
      {"1e-3", true, 1e-3},
      {".5", true, 0.5},
      {"5.", true, 5},
      {"1e400", true, std::numeric_limits<double>::infinity()},
      {"-1e400", true, -std::numeric_limits<double>::infinity()},
      {"1e-400", true, 0},
      {"abc", false, 0},
      {"1.5x", false, 0},
      {"", false, 0},
      {"+-1", false, 0},
      {"--1", false, 0},
      {"0x10", false, 0},
      {"1,5", false, 0},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.ChrToken);
    double DblValue = -1;
    EXPECT_EQ(TTextTools::ParseNumber(Case.ChrToken, DblValue), Case.BlnNumber);
    if (Case.BlnNumber) {
      EXPECT_EQ(DblValue, Case.DblValue);
    }
  }
  double DblValue = 0;
  EXPECT_TRUE(TTextTools::ParseNumber("nan", DblValue));
  EXPECT_TRUE(std::isnan(DblValue));
  EXPECT_TRUE(TTextTools::ParseNumber("-inf", DblValue));
  EXPECT_EQ(DblValue, -std::numeric_limits<double>::infinity());
}

TEST(TTextTools, ParseNumberPrefixLeavesTheRestOfTheToken) {
  double DblValue = 0;
  EXPECT_EQ(TTextTools::ParseNumberPrefix("10.0", true, DblValue), 2u);
  EXPECT_EQ(DblValue, 10);
  EXPECT_EQ(TTextTools::ParseNumberPrefix("100abc", false, DblValue), 3u);
  EXPECT_EQ(DblValue, 100);
  EXPECT_EQ(TTextTools::ParseNumberPrefix("x1", false, DblValue), 0u);
  EXPECT_EQ(TTextTools::ParseNumberPrefix("99999999999999999999", true, DblValue), 20u);
  EXPECT_TRUE(std::isinf(DblValue));
}

TEST(TTextTools, TokenReaderSplitsOnAnyBlankAcrossBlocks) {
  // Tokens straddle the reader's block boundaries: one long token, then many short ones.
  std::string StgText = "  \t" + std::string(3000000, '7') + "\r\n";
  for (int IntI = 0; IntI < 300000; ++IntI)
    StgText += std::to_string(IntI) + (IntI % 5 ? " " : "\n");
  for (bool BlnSeekable : {true, false}) {
    SCOPED_TRACE(BlnSeekable ? "seekable" : "not seekable");
    std::istringstream Stream(StgText);
    // A stream buffer that refuses to seek stands for a pipe.
    struct TPipeBuffer : std::stringbuf {
      using std::stringbuf::stringbuf;
      pos_type seekoff(off_type, std::ios_base::seekdir, std::ios_base::openmode) override {
        return pos_type(off_type(-1));
      }
    } Pipe(StgText);
    std::istream PipeStream(&Pipe);
    TTextTools::TTokenReader Reader(BlnSeekable ? static_cast<std::istream&>(Stream) : PipeStream);
    std::string_view StgToken;
    ASSERT_TRUE(Reader.Next(StgToken));
    EXPECT_EQ(StgToken.size(), 3000000u);
    for (int IntI = 0; IntI < 300000; ++IntI) {
      ASSERT_TRUE(Reader.Next(StgToken));
      ASSERT_EQ(StgToken, std::to_string(IntI));
    }
    EXPECT_FALSE(Reader.Next(StgToken));
  }
}

TEST(TTextTools, TokenReaderLeavesTheStreamAfterTheLastToken) {
  std::istringstream Stream("one two three four");
  {
    TTextTools::TTokenReader Reader(Stream);
    std::string_view StgToken;
    ASSERT_TRUE(Reader.Next(StgToken));
    ASSERT_TRUE(Reader.Next(StgToken));
    EXPECT_EQ(StgToken, "two");
  }
  std::string StgRest;
  std::getline(Stream, StgRest);
  EXPECT_EQ(StgRest, " three four");
}

TEST(TTextTools, BlockWriterReportsShortWrites) {
  // A stream buffer with room for 10 characters.
  struct TSmallBuffer : std::streambuf {
    std::string StgData;
    std::streamsize xsputn(const char* ChrText, std::streamsize LngCount) override {
      const auto LngTaken =
          std::min<std::streamsize>(LngCount, 10 - static_cast<std::streamsize>(StgData.size()));
      StgData.append(ChrText, static_cast<std::size_t>(LngTaken));
      return LngTaken;
    }
  } Small;
  std::ostream Stream(&Small);
  TTextTools::TBlockWriter Writer(Stream);
  Writer.Text("0123456789abc");
  Writer.Flush();
  EXPECT_TRUE(Stream.bad());
  EXPECT_EQ(Small.StgData, "0123456789");
}
