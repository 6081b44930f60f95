#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ErrorText.h"
#include "TStringTools.h"

TEST(TStringTools, StgToBoolReadsExactlyOneAndZero) {
  EXPECT_TRUE(TStringTools::StgToBool("1"));
  EXPECT_FALSE(TStringTools::StgToBool("0"));
  for (const char* ChrText : {"true", " 1", "", "10", "0 "}) {
    SCOPED_TRACE(ChrText);
    EXPECT_THROW_MSG(TStringTools::StgToBool(ChrText),
                     "Invalid boolean string in TStringTools::HasSubstring");
  }
}

TEST(TStringTools, HasSubstringIsExactAndCaseSensitive) {
  struct TCase {
    const char* ChrText;
    const char* ChrSought;
    bool BlnFound;
  };
  // text, sought, found
  const TCase Cases[] = {
      {"abc", "bc", true}, {"abc", "B", false}, {"abc", "", true},
      {"", "a", false},    {"", "", true},      {"ab", "abc", false},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(std::string(Case.ChrText) + " / " + Case.ChrSought);
    EXPECT_EQ(TStringTools::HasSubstring(Case.ChrText, Case.ChrSought), Case.BlnFound);
  }
}

TEST(TStringTools, ToUpperChangesOnlyLowerCaseLetters) {
  std::string StgText = "abc-xyz 1";
  TStringTools::ToUpper(StgText);
  EXPECT_EQ(StgText, "ABC-XYZ 1");

  std::string StgBytes = "m\xE9\xFF\x80{`z";
  TStringTools::ToUpper(StgBytes);
  EXPECT_EQ(StgBytes, "M\xE9\xFF\x80{`Z");
}

TEST(TStringTools, TrimRemovesOnlySpacesAtBothEnds) {
  struct TCase {
    const char* ChrText;
    const char* ChrTrimmed;
  };
  // text, trimmed
  const TCase Cases[] = {
      {"  a b  ", "a b"}, {"\ta ", "\ta"}, {"   ", ""}, {"", ""},
      {"a\r\n", "a\r\n"}, {" x", "x"},     {"y ", "y"}, {"z", "z"},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.ChrText);
    std::string StgText = Case.ChrText;
    TStringTools::Trim(StgText);
    EXPECT_EQ(StgText, Case.ChrTrimmed);
  }
}

TEST(TStringTools, FindAndReplaceGoesLeftToRightWithoutRescanning) {
  struct TCase {
    const char* ChrText;
    const char* ChrSought;
    const char* ChrReplacement;
    const char* ChrResult;
  };
  // text, sought, replacement, result
  const TCase Cases[] = {
      {"a-b-c", "-", "+", "a+b+c"}, {"aaa", "a", "aa", "aaaaaa"}, {"aabb", "ab", "", "ab"},
      {"abc", "x", "y", "abc"},     {"aaaa", "aa", "b", "bb"},    {"xaax", "a", "", "xx"},
      {"", "a", "b", ""},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(std::string(Case.ChrText) + " / " + Case.ChrSought);
    EXPECT_EQ(TStringTools::FindAndReplace(Case.ChrText, Case.ChrSought, Case.ChrReplacement),
              Case.ChrResult);
  }
}

TEST(TStringTools, FindAndReplaceWithEmptySoughtTextReturnsTextUnchanged) {
  EXPECT_EQ(TStringTools::FindAndReplace("abc", "", "x"), "abc");
  EXPECT_EQ(TStringTools::FindAndReplace("", "", "x"), "");
}

TEST(TStringTools, ToStringWritesIntegersInPlainDecimal) {
  EXPECT_EQ(TStringTools::ToString(-42L), "-42");
  EXPECT_EQ(TStringTools::ToString(0), "0");
  EXPECT_EQ(TStringTools::ToString(1234567L), "1234567");
  EXPECT_EQ(TStringTools::ToString(-2147483647 - 1), "-2147483648");
}

TEST(TStringTools, ToStringWritesDoublesWithSixSignificantDigits) {
  struct TCase {
    double DblValue;
    const char* ChrText;
  };
  // value, text
  const TCase Cases[] = {
      {0.1, "0.1"},
      {100.0, "100"},
      {1.0 / 3, "0.333333"},
      {2.5, "2.5"},
      {-0.5, "-0.5"},
      {123456.0, "123456"},
      {1234567.0, "1.23457e+06"},
      {0.0001, "0.0001"},
      {0.00001, "1e-05"},
      {-9999.0, "-9999"},
      {0.0, "0"},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.ChrText);
    EXPECT_EQ(TStringTools::ToString(Case.DblValue), Case.ChrText);
  }
}

TEST(TStringTools, TokenizeSplitsAtRunsOfDelimiters) {
  struct TCase {
    const char* ChrText;
    const char* ChrDelimiters;
    std::vector<std::string> VecTokens;
  };
  // text, delimiters, tokens
  const std::vector<TCase> Cases = {
      {"  a,, b c ", " ,", {"a", "b", "c"}},
      {"", " ,", {}},
      {",,,", ",", {}},
      {"abc", "", {"abc"}},
      {"", "", {}},
      {"one;two", ";", {"one", "two"}},
      {";x", ";", {"x"}},
      {"x;", ";", {"x"}},
      {"a b", ",", {"a b"}},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(std::string(Case.ChrText) + " / " + Case.ChrDelimiters);
    std::vector<std::string> VecTokens;
    TStringTools::Tokenize(Case.ChrText, VecTokens, Case.ChrDelimiters);
    EXPECT_EQ(VecTokens, Case.VecTokens);
  }
}

TEST(TStringTools, TokenizeDiscardsWhatTheListHeldBefore) {
  std::vector<std::string> VecTokens = {"old", "older"};
  TStringTools::Tokenize("new", VecTokens, " ");
  EXPECT_EQ(VecTokens, std::vector<std::string>{"new"});
  TStringTools::Tokenize("   ", VecTokens, " ");
  EXPECT_TRUE(VecTokens.empty());
}
