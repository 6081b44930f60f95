#ifndef GRIDCLIP_TVECTORTOOLS_H
#define GRIDCLIP_TVECTORTOOLS_H

#include <string>
#include <vector>

/// Sums, means, series, membership tests and conversions on vectors of numbers and strings.
/// Vectors are taken by value and results are new vectors owned by the caller. Sums start at
/// 0.0 and run from the first element to the last. Equality of doubles is exact.
class TVectorTools {
 public:
  TVectorTools() = delete;

  /// The sum of the elements; 0.0 for an empty vector.
  static double SumVector(std::vector<double> VecValues);

  /// The arithmetic mean: the sum divided by the number of elements (NaN when empty).
  static double VectorMean(std::vector<double> VecValues);

  /// The weighted mean: the sum of value times weight divided by the sum of the weights.
  /// Weights that add up to 0 give the floating-point quotient (NaN or an infinity).
  /// Throws "Length of value and weight vectors do not match in TVectorTools::WeightedMean"
  /// when the two vectors differ in length.
  static double VectorWeightedMean(std::vector<double> VecValues, std::vector<double> VecWeights);

  /// Whether `DblValue` occurs in the vector (exact comparison; NaN is never found).
  static bool HasValue(std::vector<double> VecValues, double DblValue);

  /// Whether `IntValue` occurs in the vector.
  static bool HasValue(std::vector<int> VecValues, int IntValue);

  /// Each text converted by `atoi`: leading digits are read, the rest ignored, and text that
  /// does not begin with a number gives 0. Never throws.
  static std::vector<int> StringToInt(std::vector<std::string> VecTexts);

  /// Each text converted by `atof`; text that does not begin with a number gives 0.0.
  /// Never throws.
  static std::vector<double> StringToDouble(std::vector<std::string> VecTexts);

  /// Each integer converted exactly to a double.
  static std::vector<double> IntToDouble(std::vector<int> VecValues);

  /// start, start + step, ... while the value does not exceed end, each value the previous
  /// one plus step (rounding accumulates). Empty when start > end or start or end is NaN.
  /// Throws "Step must be greater than 0 in TVectorTools::VectorSeries" when start <= end
  /// and the step is not greater than 0 (NaN included), and "Step is too small to advance in
  /// TVectorTools::VectorSeries" when adding the step leaves a value of the series unchanged
  /// (a step lost in rounding, or a start of minus infinity), so it could never pass end;
  /// an end of plus infinity is such a case. A series longer than memory can hold throws
  /// std::length_error or std::bad_alloc before any value is computed.
  static std::vector<double> VectorSeries(double DblStart, double DblEnd, double DblStep);

  /// The element-wise products a[i] * b[i].
  /// Throws "Length of vectors does not match in TVectorTools::VectorProduct" when the two
  /// vectors differ in length.
  static std::vector<double> VectorProduct(std::vector<double> VecA, std::vector<double> VecB);

  /// The least-squares slope of y against x: (n Sxy - Sx Sy) / (n Sxx - Sx Sx), n the length
  /// of y. A zero denominator gives the floating-point quotient (NaN or an infinity).
  /// Throws "Length of vectors does not match in TVectorTools::VectorProduct" when x and y
  /// differ in length.
  static double Gradient(std::vector<double> VecX, std::vector<double> VecY);
};

#endif
