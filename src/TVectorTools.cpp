#include "TVectorTools.h"

#include <cmath>
#include <cstdlib>
#include <utility>

double TVectorTools::SumVector(std::vector<double> VecValues) {
  double DblSum = 0.0;
  for (const double DblValue : VecValues) DblSum += DblValue;
  return DblSum;
}

double TVectorTools::VectorMean(std::vector<double> VecValues) {
  const double DblCount = static_cast<double>(VecValues.size());
  return SumVector(std::move(VecValues)) / DblCount;
}

double TVectorTools::VectorWeightedMean(std::vector<double> VecValues,
                                        std::vector<double> VecWeights) {
  if (VecValues.size() != VecWeights.size())
    throw "Length of value and weight vectors do not match in TVectorTools::WeightedMean";
  double DblWeighted = 0.0;
  double DblWeightSum = 0.0;
  for (size_t SizI = 0; SizI < VecValues.size(); ++SizI) {
    DblWeighted += VecValues[SizI] * VecWeights[SizI];
    DblWeightSum += VecWeights[SizI];
  }
  return DblWeighted / DblWeightSum;
}

bool TVectorTools::HasValue(std::vector<double> VecValues, double DblValue) {
  for (const double DblElement : VecValues)
    if (DblElement == DblValue) return true;
  return false;
}

bool TVectorTools::HasValue(std::vector<int> VecValues, int IntValue) {
  for (const int IntElement : VecValues)
    if (IntElement == IntValue) return true;
  return false;
}

std::vector<int> TVectorTools::StringToInt(std::vector<std::string> VecTexts) {
  std::vector<int> VecResult;
  VecResult.reserve(VecTexts.size());
  for (const std::string& StgText : VecTexts) VecResult.push_back(std::atoi(StgText.c_str()));
  return VecResult;
}

std::vector<double> TVectorTools::StringToDouble(std::vector<std::string> VecTexts) {
  std::vector<double> VecResult;
  VecResult.reserve(VecTexts.size());
  for (const std::string& StgText : VecTexts) VecResult.push_back(std::atof(StgText.c_str()));
  return VecResult;
}

std::vector<double> TVectorTools::IntToDouble(std::vector<int> VecValues) {
  std::vector<double> VecResult;
  VecResult.reserve(VecValues.size());
  for (const int IntValue : VecValues) VecResult.push_back(static_cast<double>(IntValue));
  return VecResult;
}

std::vector<double> TVectorTools::VectorSeries(double DblStart, double DblEnd, double DblStep) {
  std::vector<double> VecResult;
  // A step that is not positive would never pass end; `!(>)` also refuses a NaN step.
  if (DblStart <= DblEnd && !(DblStep > 0.0))
    throw "Step must be greater than 0 in TVectorTools::VectorSeries";
  if (DblStart <= DblEnd) {
    // A step lost at the start ends the series at once; and no series passes an infinite
    // end: each one ends with a step lost in rounding, here rather than after filling memory.
    if (DblStart + DblStep == DblStart || std::isinf(DblEnd)) {
      throw "Step is too small to advance in TVectorTools::VectorSeries";
    }
    // The length is known up front; reserving it makes a series too long for memory fail at
    // once (std::length_error or std::bad_alloc) instead of after filling memory.
    const double DblCount = DblEnd / DblStep - DblStart / DblStep + 1.0;
    const auto DblLimit = static_cast<double>(VecResult.max_size());
    VecResult.reserve(DblCount < DblLimit ? static_cast<std::size_t>(DblCount) + 1
                                          : VecResult.max_size() + 1);
  }
  for (double DblValue = DblStart; DblValue <= DblEnd;) {
    VecResult.push_back(DblValue);
    // A step lost in rounding (or a start of minus infinity) would repeat one value forever.
    const double DblNext = DblValue + DblStep;
    if (DblNext == DblValue) throw "Step is too small to advance in TVectorTools::VectorSeries";
    DblValue = DblNext;
  }
  return VecResult;
}

std::vector<double> TVectorTools::VectorProduct(std::vector<double> VecA,
                                                std::vector<double> VecB) {
  if (VecA.size() != VecB.size())
    throw "Length of vectors does not match in TVectorTools::VectorProduct";
  std::vector<double> VecResult;
  VecResult.reserve(VecA.size());
  for (size_t SizI = 0; SizI < VecA.size(); ++SizI) VecResult.push_back(VecA[SizI] * VecB[SizI]);
  return VecResult;
}

double TVectorTools::Gradient(std::vector<double> VecX, std::vector<double> VecY) {
  const double DblSx = SumVector(VecX);
  const double DblSy = SumVector(VecY);
  const double DblSxx = SumVector(VectorProduct(VecX, VecX));
  const double DblSxy = SumVector(VectorProduct(VecX, VecY));
  const double DblN = static_cast<double>(VecY.size());
  return (DblN * DblSxy - DblSx * DblSy) / (DblN * DblSxx - DblSx * DblSx);
}
