// render_png: draws a grid as a PNG picture, north up. Cells are coloured along a ramp from
// dark blue (lowest value) over green to yellow (highest); cells holding the grid's no-data
// value, NaN or an infinity are grey. The ramp spans the grid's data range unless a range is
// given, so that several pictures can share one scale.
// Usage: render_png grid.asc picture.png [pixels_per_cell [low high]]
// Needs libpng; the gridclip library itself has no dependency.

#include <png.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "ClippedPair.h"
#include "TARCGISFileTools.h"
#include "TMap.h"

namespace {
using TColour = std::array<std::uint8_t, 3>;

constexpr TColour NoDataGrey = {160, 160, 160};

// The viridis ramp at five even stops: perceptually even and readable without colour vision.
constexpr std::array<TColour, 5> RampStops = {{
    {68, 1, 84},
    {59, 82, 139},
    {33, 145, 140},
    {94, 201, 98},
    {253, 231, 37},
}};

bool HoldsData(const TMap& Map, double DblValue) {
  return std::isfinite(DblValue) && DblValue != Map.MbrDblNoDataValue;
}

// The colour at `DblShare` (0 to 1, clamped) along the ramp.
TColour RampColour(double DblShare) {
  const double DblPos = std::clamp(DblShare, 0.0, 1.0) * static_cast<double>(RampStops.size() - 1);
  const std::size_t SizeLow = std::min(static_cast<std::size_t>(DblPos), RampStops.size() - 2);
  const double DblT = DblPos - static_cast<double>(SizeLow);
  TColour Colour{};
  for (std::size_t SizeC = 0; SizeC < 3; ++SizeC) {
    const double DblLow = RampStops[SizeLow][SizeC];
    const double DblHigh = RampStops[SizeLow + 1][SizeC];
    Colour[SizeC] = static_cast<std::uint8_t>(std::lround(DblLow + (DblHigh - DblLow) * DblT));
  }
  return Colour;
}

struct TRange {
  double DblLow = 0.0;
  double DblHigh = 0.0;
  bool BlnEmpty = true;
};

TRange DataRange(const TMap& Map) {
  TRange Range;
  for (const std::vector<double>& VecRow : Map.MbrVecRows) {
    for (double DblValue : VecRow) {
      if (!HoldsData(Map, DblValue)) continue;
      if (Range.BlnEmpty || DblValue < Range.DblLow) Range.DblLow = DblValue;
      if (Range.BlnEmpty || DblValue > Range.DblHigh) Range.DblHigh = DblValue;
      Range.BlnEmpty = false;
    }
  }
  return Range;
}

// RGB pixels, row by row from the north, `LngScale` x `LngScale` pixels per cell.
std::vector<std::uint8_t> Render(const TMap& Map, const TRange& Range, long LngScale) {
  const auto SizeScale = static_cast<std::size_t>(LngScale);
  const auto SizeCols = static_cast<std::size_t>(Map.MbrLngXDim);
  const auto SizeRows = static_cast<std::size_t>(Map.MbrLngYDim);
  const std::size_t SizeStride = SizeCols * SizeScale * 3;
  std::vector<std::uint8_t> VecPixels(SizeStride * SizeRows * SizeScale);
  const double DblSpan = Range.DblHigh - Range.DblLow;
  for (std::size_t SizeY = 0; SizeY < SizeRows; ++SizeY) {
    std::uint8_t* PtrRow = VecPixels.data() + SizeY * SizeScale * SizeStride;
    for (std::size_t SizeX = 0; SizeX < SizeCols; ++SizeX) {
      const double DblValue = Map.MbrVecRows[SizeY][SizeX];
      // A flat grid is drawn in the middle of the ramp.
      const TColour Colour =
          HoldsData(Map, DblValue)
              ? RampColour(DblSpan > 0.0 ? (DblValue - Range.DblLow) / DblSpan : 0.5)
              : NoDataGrey;
      for (std::size_t SizeP = 0; SizeP < SizeScale; ++SizeP) {
        std::copy(Colour.begin(), Colour.end(), PtrRow + (SizeX * SizeScale + SizeP) * 3);
      }
    }
    // The first pixel row of the cell row is complete: repeat it for the others.
    for (std::size_t SizeP = 1; SizeP < SizeScale; ++SizeP) {
      std::copy(PtrRow, PtrRow + SizeStride, PtrRow + SizeP * SizeStride);
    }
  }
  return VecPixels;
}

// Writes the pixels with libpng's simplified interface, which reports errors by its result.
bool WritePng(const std::string& StgFileName, const std::vector<std::uint8_t>& VecPixels,
              long LngWidth, long LngHeight, std::string& StgError) {
  png_image Image{};
  Image.version = PNG_IMAGE_VERSION;
  Image.width = static_cast<png_uint_32>(LngWidth);
  Image.height = static_cast<png_uint_32>(LngHeight);
  Image.format = PNG_FORMAT_RGB;
  const int IntDone =
      png_image_write_to_file(&Image, StgFileName.c_str(), 0, VecPixels.data(), 0, nullptr);
  if (!IntDone) StgError = Image.message;
  png_image_free(&Image);
  return IntDone != 0;
}

bool ParseDouble(const char* ChrText, double& DblValue) {
  char* ChrEnd = nullptr;
  DblValue = std::strtod(ChrText, &ChrEnd);
  return ChrEnd != ChrText && *ChrEnd == '\0' && std::isfinite(DblValue);
}
}  // namespace

int main(int IntArgs, char** ChrArgs) {
  if (IntArgs != 3 && IntArgs != 4 && IntArgs != 6) {
    std::cerr << "usage: render_png grid.asc picture.png [pixels_per_cell [low high]]\n";
    return 2;
  }
  long LngScale = 16;
  if (IntArgs >= 4) {
    double DblScale = 0.0;
    if (!ParseDouble(ChrArgs[3], DblScale) || DblScale < 1.0 || DblScale > 256.0 ||
        DblScale != std::floor(DblScale)) {
      std::cerr << "render_png: pixels_per_cell must be a whole number from 1 to 256\n";
      return 2;
    }
    LngScale = static_cast<long>(DblScale);
  }
  try {
    const std::unique_ptr<TMap> PtrMap(TARCGISFileTools::LoadARCGISFile(std::string(ChrArgs[1])));
    TRange Range = DataRange(*PtrMap);
    if (IntArgs == 6) {
      if (!ParseDouble(ChrArgs[4], Range.DblLow) || !ParseDouble(ChrArgs[5], Range.DblHigh) ||
          !(Range.DblLow <= Range.DblHigh)) {
        std::cerr << "render_png: low and high must be finite numbers, low <= high\n";
        return 2;
      }
    }
    const long LngWidth = PtrMap->MbrLngXDim * LngScale;
    const long LngHeight = PtrMap->MbrLngYDim * LngScale;
    if (LngWidth == 0 || LngHeight == 0 || LngWidth > 65535 || LngHeight > 65535) {
      std::cerr << "render_png: the picture would be " << LngWidth << " x " << LngHeight
                << " pixels; it must be 1 to 65535 on each side\n";
      return 1;
    }
    const std::vector<std::uint8_t> VecPixels = Render(*PtrMap, Range, LngScale);
    std::string StgError;
    if (!WritePng(ChrArgs[2], VecPixels, LngWidth, LngHeight, StgError)) {
      std::cerr << "render_png: " << StgError << '\n';
      return 1;
    }
    std::cout << LngWidth << " x " << LngHeight << " pixels, ";
    if (Range.BlnEmpty && IntArgs != 6) {
      std::cout << "no data\n";
    } else {
      std::cout << "ramp from " << Range.DblLow << " to " << Range.DblHigh << '\n';
    }
  } catch (...) {
    return ReportFailure();
  }
  return 0;
}
