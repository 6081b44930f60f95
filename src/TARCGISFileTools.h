#ifndef GRIDCLIP_TARCGISFILETOOLS_H
#define GRIDCLIP_TARCGISFILETOOLS_H

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "TMap.h"

/// Reader and writer of ASCII grid files: six header lines (`ncols`, `nrows`, `xllcorner`,
/// `yllcorner`, `cellsize`, `NODATA_value`), then `nrows` lines of `ncols` values, northern
/// row first, values within a line from west to east. Numbers are written losslessly: every
/// value reads back as the same double.
class TARCGISFileTools {
 public:
  TARCGISFileTools() = delete;

  /// Reads a grid from the stream into a new map (caller owns) with its edge and centre axes.
  /// Blanks, tabs, CR and LF all separate values; the stream is left just after the last
  /// value read, so grids written one after another read back in turn. The map's X edges run
  /// west to east from `xllcorner` and its Y edges north to south, row 0 being the first row
  /// of the body; its no-data value is the header's. Throws, for a header word that is not
  /// the tag expected (tags are case-sensitive):
  /// "File format error: expected to find ncols tag",
  /// "File format error: expectd to find nrows tag",
  /// "File format error: expected to find xllcorner tag",
  /// "File format error: expected to find yllcorner tag",
  /// "File format error: expected to find cellsize tag",
  /// "File format error: expected to find NODATA_value tag" (the sixth tag may also be
  /// "nodata_value");
  /// "File format error: invalid header value in TARCGISFileTools::LoadARCGISFile" for a header
  /// number that is missing, not a number or not finite, an `ncols`/`nrows` below 1 or beyond
  /// 32 bits, a `cellsize` not greater than 0, or a grid whose northern or eastern edge
  /// (`yllcorner` + `nrows` x `cellsize`, `xllcorner` + `ncols` x `cellsize`) is not finite;
  /// "File format error: invalid cell value in TARCGISFileTools::LoadARCGISFile" for a body
  /// token that is not a number ("nan" and "inf" are numbers);
  /// "Unexpected end of file found in TARCGISFileTools::LoadARCGISFile" when the body holds
  /// fewer than `ncols` x `nrows` values (at once, without reading the body, when the rest of
  /// a seekable stream is too short to hold them).
  static TMap* LoadARCGISFile(std::istream& Stream);

  /// Reads the named file as above. Throws the string "Unable to open file " + name when the
  /// file cannot be opened or is a directory, and the messages of the stream form.
  static TMap* LoadARCGISFile(std::string StgFileName);

  /// Writes the map (edge axes set) as a grid file: the header from the edge axes (the two
  /// corner values right-aligned in 8 characters), then every row, each value followed by a
  /// blank. A failed write leaves the stream in the bad state.
  static void WriteARCGISFile(TMap* PtrMap, std::ostream& Stream);

  /// Writes the map to the named file, created or truncated. Throws the string
  /// "Unable to open file " + name when it cannot be opened, and "Unable to write file " + name
  /// when not everything could be written or the file did not close cleanly.
  static void WriteARCGISFile(TMap* PtrMap, std::string StgFileName);

  /// Reads the named files in order; the i-th map (caller owns all) comes from the i-th name.
  /// A failure of any file is passed on unchanged, after the maps already read are released.
  static std::vector<TMap*> LoadFileList(std::vector<std::string> VecFileNames);

  /// Writes the i-th map to the i-th file, in order; the maps stay the caller's. Throws
  /// "Size of map list and filename list do not match in TARCGISFileTools::WriteFileList" before
  /// writing anything when the lists differ in length; a failed write is passed on unchanged,
  /// leaving the earlier files written.
  static void WriteFileList(std::vector<TMap*> VecMaps, std::vector<std::string> VecFileNames);
};

#endif
