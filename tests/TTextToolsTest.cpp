#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

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

TEST(TTextTools, FormatNumberAgreesWithTheRuleAtDecadeBorders) {
  // Six-digit values take a short road from 1e-4 to below 1e6; at and beyond its borders,
  // and one step away from each value (which needs more digits), the rule still holds.
  const char* ChrMantissas[] = {"1",      "1.00001", "1.23456", "5",        "9.99999",
                                "9.9999", "9.99995", "2.5",     "1.000001", "9.999995"};
  for (int IntExponent = -7; IntExponent <= 8; ++IntExponent) {
    for (const char* ChrMantissa : ChrMantissas) {
      const std::string StgText = std::string(ChrMantissa) + "e" + std::to_string(IntExponent);
      const double DblValue = std::strtod(StgText.c_str(), nullptr);
      const double DblCases[] = {DblValue, -DblValue, std::nextafter(DblValue, 0.0),
                                 std::nextafter(DblValue, 1e300)};
      for (const double DblCase : DblCases) {
        SCOPED_TRACE(StgText);
        ASSERT_EQ(Format(DblCase), Reference(DblCase)) << std::hexfloat << DblCase;
      }
    }
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

namespace {
// The value std::from_chars gives a token, bit for bit (so -0 differs from 0).
bool SameBits(double DblLeft, double DblRight) {
  return std::memcmp(&DblLeft, &DblRight, sizeof DblLeft) == 0;
}

// A stream buffer that refuses to seek, as a pipe does.
struct TPipeBuffer : std::stringbuf {
  using std::stringbuf::stringbuf;
  pos_type seekoff(off_type, std::ios_base::seekdir, std::ios_base::openmode) override {
    return pos_type(off_type(-1));
  }
};
}  // namespace

TEST(TTextTools, ReadNumbersReadsEveryTokenAsParseNumberDoes) {
  // Plain decimals of every length around the exact range (19 digits, 2^53), signs, forms the
  // short road leaves to the full parser, and blanks of every kind, across block boundaries.
  std::mt19937_64 Random(20261212);
  const char* ChrOthers[] = {"1e5",
                             "+7",
                             "-.5",
                             ".5",
                             "5.",
                             "-0",
                             "-0.0",
                             "nan",
                             "-inf",
                             "1E-3",
                             "9007199254740993",
                             "9007199254740992",
                             "12345678901234567890",
                             "0.1234567890123456789",
                             "00000000000000000000001",
                             "1e400",
                             "4.9e-324"};
  const char* ChrBlanks[] = {" ", "\n", "\t", "\r\n", "  ", "\v", "\f"};
  std::vector<std::string> VecTokens;
  std::string StgText;
  for (int IntI = 0; IntI < 400000; ++IntI) {
    std::string StgToken;
    if (IntI % 10 == 0) {
      StgToken = ChrOthers[Random() % (sizeof ChrOthers / sizeof *ChrOthers)];
    } else {
      const int IntDigits = 1 + static_cast<int>(Random() % 20);
      for (int IntD = 0; IntD < IntDigits; ++IntD)
        StgToken += static_cast<char>('0' + Random() % 10);
      const auto SizePoint = static_cast<std::size_t>(Random() % (StgToken.size() + 2));
      if (SizePoint <= StgToken.size()) StgToken.insert(SizePoint, ".");
      if (Random() % 3 == 0) StgToken.insert(0, "-");
    }
    VecTokens.push_back(StgToken);
    StgText += StgToken + ChrBlanks[Random() % (sizeof ChrBlanks / sizeof *ChrBlanks)];
  }
  for (bool BlnSeekable : {true, false}) {
    SCOPED_TRACE(BlnSeekable ? "seekable" : "not seekable");
    std::istringstream Stream(StgText);
    TPipeBuffer Pipe(StgText);
    std::istream PipeStream(&Pipe);
    TTextTools::TTokenReader Reader(BlnSeekable ? static_cast<std::istream&>(Stream) : PipeStream);
    std::vector<double> VecValues;
    // Uneven runs, so that runs start and stop anywhere.
    for (std::size_t SizeRun = 1; VecValues.size() < VecTokens.size();
         SizeRun = SizeRun % 997 + 7) {
      const std::size_t SizeAsked = std::min(SizeRun, VecTokens.size() - VecValues.size());
      ASSERT_EQ(Reader.ReadNumbers(VecValues, SizeAsked),
                TTextTools::TTokenReader::TNumbersRead::All);
    }
    for (std::size_t SizeI = 0; SizeI < VecTokens.size(); ++SizeI) {
      double DblExpected = 0.0;
      ASSERT_TRUE(TTextTools::ParseNumber(VecTokens[SizeI], DblExpected)) << VecTokens[SizeI];
      if (std::isnan(DblExpected)) {
        ASSERT_TRUE(std::isnan(VecValues[SizeI])) << VecTokens[SizeI];
      } else {
        ASSERT_TRUE(SameBits(VecValues[SizeI], DblExpected))
            << VecTokens[SizeI] << " read as " << VecValues[SizeI];
      }
    }
    std::vector<double> VecMore;
    EXPECT_EQ(Reader.ReadNumbers(VecMore, 1), TTextTools::TTokenReader::TNumbersRead::End);
  }
}

TEST(TTextTools, ReadNumbersStopsAtTheFirstTokenThatIsNoNumber) {
  // Tokens the short road starts on and must hand over whole: the verdict is ParseNumber's.
  const char* ChrBad[] = {"1.5x", "-", ".", "-.", "1.2.3", "12-3", "1,5", "+-1", "0x10", "abc"};
  for (const char* ChrToken : ChrBad) {
    SCOPED_TRACE(ChrToken);
    std::istringstream Stream(std::string("1 2.5 ") + ChrToken + " 4");
    TTextTools::TTokenReader Reader(Stream);
    std::vector<double> VecValues;
    EXPECT_EQ(Reader.ReadNumbers(VecValues, 4), TTextTools::TTokenReader::TNumbersRead::NotANumber);
    EXPECT_EQ(VecValues, (std::vector<double>{1, 2.5}));
  }
  std::istringstream Short("1 2 3.25");
  TTextTools::TTokenReader Reader(Short);
  std::vector<double> VecValues;
  EXPECT_EQ(Reader.ReadNumbers(VecValues, 4), TTextTools::TTokenReader::TNumbersRead::End);
  EXPECT_EQ(VecValues, (std::vector<double>{1, 2, 3.25}));
}

TEST(TTextTools, BlockWriterNumbersFollowsEachWithTheSeparator) {
  std::ostringstream Stream;
  {
    TTextTools::TBlockWriter Writer(Stream);
    const double DblValues[] = {0.25, -9999, 4512345.5, 1e-05};
    Writer.Numbers(DblValues, 4, ';');
    Writer.Numbers(DblValues, 0, ';');
  }
  EXPECT_EQ(Stream.str(), "0.25;-9999;4512345.5;1e-05;");
}
