#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "ErrorText.h"
#include "TVectorTools.h"

namespace {

const double DblNaN = std::numeric_limits<double>::quiet_NaN();
const double DblInf = std::numeric_limits<double>::infinity();

const char* const ChrWeightedMeanLength =
    "Length of value and weight vectors do not match in TVectorTools::WeightedMean";
const char* const ChrProductLength =
    "Length of vectors does not match in TVectorTools::VectorProduct";
const char* const ChrSeriesStep = "Step must be greater than 0 in TVectorTools::VectorSeries";
const char* const ChrSeriesStalls = "Step is too small to advance in TVectorTools::VectorSeries";

}  // namespace

TEST(TVectorTools, SumVectorAddsInOrderFromZero) {
  EXPECT_EQ(TVectorTools::SumVector({}), 0.0);
  EXPECT_EQ(TVectorTools::SumVector({1, 2, 3.5}), 6.5);
  // Order of additions matters: 1e16 + 1 + 1 loses both ones, 1 + 1 + 1e16 keeps them.
  EXPECT_EQ(TVectorTools::SumVector({1e16, 1, 1}), 1e16);
  EXPECT_EQ(TVectorTools::SumVector({1, 1, 1e16}), 1e16 + 2);
}

TEST(TVectorTools, VectorMeanDividesByCount) {
  EXPECT_EQ(TVectorTools::VectorMean({1, 2, 6}), 3.0);
  EXPECT_EQ(TVectorTools::VectorMean({-4}), -4.0);
  EXPECT_TRUE(std::isnan(TVectorTools::VectorMean({})));
}

TEST(TVectorTools, VectorWeightedMeanDividesBySumOfWeights) {
  struct TCase {
    std::vector<double> VecValues;
    std::vector<double> VecWeights;
    double DblExpected;
  };
  // values, weights, expected
  const std::vector<TCase> VecCases = {
      {{1, 2, 3}, {1, 1, 1}, 2.0}, {{1, 2, 3}, {2, 2, 2}, 2.0},  {{1, 2, 3}, {0, 0, 4}, 3.0},
      {{1, 3}, {3, 1}, 1.5},       {{10, 20}, {0.5, 1.5}, 17.5},
  };
  for (const TCase& Case : VecCases) {
    SCOPED_TRACE(testing::PrintToString(Case.VecWeights));
    EXPECT_DOUBLE_EQ(TVectorTools::VectorWeightedMean(Case.VecValues, Case.VecWeights),
                     Case.DblExpected);
  }
}

TEST(TVectorTools, VectorWeightedMeanOfZeroWeightSumIsFloatingQuotient) {
  EXPECT_TRUE(std::isnan(TVectorTools::VectorWeightedMean({}, {})));
  EXPECT_TRUE(std::isnan(TVectorTools::VectorWeightedMean({1, 2}, {0, 0})));
  EXPECT_EQ(TVectorTools::VectorWeightedMean({1, 2}, {1, -1}), -DblInf);
}

TEST(TVectorTools, VectorWeightedMeanRefusesLengthMismatch) {
  EXPECT_THROW_MSG(TVectorTools::VectorWeightedMean({1, 2, 3}, {1, 1}), ChrWeightedMeanLength);
  EXPECT_THROW_MSG(TVectorTools::VectorWeightedMean({}, {1}), ChrWeightedMeanLength);
}

TEST(TVectorTools, HasValueComparesExactly) {
  const std::vector<double> VecValues = {1.0, 2.0, 3.0};
  EXPECT_TRUE(TVectorTools::HasValue(VecValues, 1.0));
  EXPECT_TRUE(TVectorTools::HasValue(VecValues, 2.0));
  EXPECT_TRUE(TVectorTools::HasValue(VecValues, 3.0));
  EXPECT_FALSE(TVectorTools::HasValue(VecValues, 2.0000001));
  EXPECT_FALSE(TVectorTools::HasValue(std::vector<double>{1.0, DblNaN}, DblNaN));
  EXPECT_FALSE(TVectorTools::HasValue(std::vector<double>{}, 0.0));

  const std::vector<int> VecInts = {4, -2, 9};
  EXPECT_TRUE(TVectorTools::HasValue(VecInts, -2));
  EXPECT_TRUE(TVectorTools::HasValue(VecInts, 9));
  EXPECT_FALSE(TVectorTools::HasValue(VecInts, 2));
  EXPECT_FALSE(TVectorTools::HasValue(std::vector<int>{}, 0));
}

TEST(TVectorTools, StringConversionsReadLeadingNumbers) {
  EXPECT_EQ(TVectorTools::StringToInt({"12", " -7", "3abc", "abc", "", "+8.9"}),
            (std::vector<int>{12, -7, 3, 0, 0, 8}));
  EXPECT_EQ(TVectorTools::StringToDouble({"2.5", "1e3", "x", " -0.25z", ""}),
            (std::vector<double>{2.5, 1000.0, 0.0, -0.25, 0.0}));
  EXPECT_TRUE(TVectorTools::StringToInt({}).empty());
}

TEST(TVectorTools, IntToDoubleKeepsOrderAndValues) {
  EXPECT_EQ(TVectorTools::IntToDouble({3, -1, 2147483647, -2147483647 - 1}),
            (std::vector<double>{3.0, -1.0, 2147483647.0, -2147483648.0}));
  EXPECT_TRUE(TVectorTools::IntToDouble({}).empty());
}

TEST(TVectorTools, VectorSeriesAccumulatesSteps) {
  struct TCase {
    double DblStart, DblEnd, DblStep;
    std::vector<double> VecExpected;
  };
  // start, end, step, expected
  const std::vector<TCase> VecCases = {
      {1, 5, 1, {1, 2, 3, 4, 5}},
      {0, 1, 0.25, {0, 0.25, 0.5, 0.75, 1}},
      {0, 0.3, 0.1, {0, 0.1, 0.1 + 0.1}},  // 0.1 + 0.1 + 0.1 lies above 0.3
      {2, 2, 1, {2}},
      {0, 1, 5, {0}},
      {-1, 1, 1, {-1, 0, 1}},
      {3, 1, 1, {}},
      {3, 1, -1, {}},  // start above end: empty, whatever the step
      {3, 1, 0, {}},
      {DblNaN, 1, 1, {}},
      {0, DblNaN, 1, {}},
      {DblNaN, DblNaN, 0, {}},
  };
  for (const TCase& Case : VecCases) {
    SCOPED_TRACE(testing::Message()
                 << Case.DblStart << ", " << Case.DblEnd << ", " << Case.DblStep);
    EXPECT_EQ(TVectorTools::VectorSeries(Case.DblStart, Case.DblEnd, Case.DblStep),
              Case.VecExpected);
  }
}

TEST(TVectorTools, VectorSeriesRefusesStepThatNeverPassesEnd) {
  EXPECT_THROW_MSG(TVectorTools::VectorSeries(1, 5, 0), ChrSeriesStep);
  EXPECT_THROW_MSG(TVectorTools::VectorSeries(1, 5, -1), ChrSeriesStep);
  EXPECT_THROW_MSG(TVectorTools::VectorSeries(2, 2, 0), ChrSeriesStep);
  EXPECT_THROW_MSG(TVectorTools::VectorSeries(1, 5, DblNaN), ChrSeriesStep);
  EXPECT_THROW_MSG(TVectorTools::VectorSeries(1, 5, -DblInf), ChrSeriesStep);
}

TEST(TVectorTools, VectorSeriesRefusesStepLostInRounding) {
  EXPECT_THROW_MSG(TVectorTools::VectorSeries(1e20, 2e20, 1), ChrSeriesStalls);
  EXPECT_THROW_MSG(TVectorTools::VectorSeries(5, 5, 1e-20), ChrSeriesStalls);
  EXPECT_THROW_MSG(TVectorTools::VectorSeries(-DblInf, 0, 1), ChrSeriesStalls);
  // An infinite end would be reached and then repeated forever.
  EXPECT_THROW_MSG(TVectorTools::VectorSeries(0, DblInf, DblInf), ChrSeriesStalls);
}

TEST(TVectorTools, VectorProductMultipliesElementWise) {
  EXPECT_EQ(TVectorTools::VectorProduct({1, 2, 3}, {4, 5, 6}), (std::vector<double>{4, 10, 18}));
  EXPECT_TRUE(TVectorTools::VectorProduct({}, {}).empty());
  EXPECT_THROW_MSG(TVectorTools::VectorProduct({1, 2}, {1, 2, 3}), ChrProductLength);
}

TEST(TVectorTools, GradientIsLeastSquaresSlope) {
  struct TCase {
    std::vector<double> VecX, VecY;
    double DblExpected;
  };
  // x, y, expected slope
  const std::vector<TCase> VecCases = {
      {{1, 2, 3}, {2, 4, 6}, 2.0},
      {{1, 2, 3}, {1, 1, 1}, 0.0},
      {{1, 2, 3}, {3, 2, 1}, -1.0},
      {{0, 1, 2, 3}, {1, 3, 2, 4}, 0.8},
  };
  for (const TCase& Case : VecCases) {
    SCOPED_TRACE(testing::PrintToString(Case.VecY));
    EXPECT_DOUBLE_EQ(TVectorTools::Gradient(Case.VecX, Case.VecY), Case.DblExpected);
  }
}

TEST(TVectorTools, GradientOfDegenerateInputIsFloatingQuotient) {
  EXPECT_TRUE(std::isnan(TVectorTools::Gradient({2}, {5})));
  EXPECT_TRUE(std::isnan(TVectorTools::Gradient({}, {})));
  EXPECT_TRUE(std::isnan(TVectorTools::Gradient({1, 1}, {3, 3})));
  EXPECT_THROW_MSG(TVectorTools::Gradient({1, 2, 3}, {1, 2}), ChrProductLength);
  EXPECT_THROW_MSG(TVectorTools::Gradient({1, 2}, {1, 2, 3}), ChrProductLength);
}
