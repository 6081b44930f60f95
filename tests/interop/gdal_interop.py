#!/usr/bin/env python3
"""Interop of gridclip's grid files with GDAL's Arc/Info ASCII Grid driver (AAIGrid).

1. gridclip clips the two sample grids; gdalinfo must read each result with the expected
   size, origin, cell size and no-data value, and GDAL must read back, as Float64, exactly the
   values of the source cells that the result covers.
2. Grids written by GDAL's AAIGrid driver (with its default number format, with 17 significant
   digits, with 3 decimals, and from a GeoTIFF made by gdal_create) are read by gridclip with
   the values GDAL itself reads from them, bit for bit; where GDAL wrote enough digits, these
   are the values it was given.

Usage: gdal_interop.py GRIDCLIP WEST_ASC EAST_ASC WORK_DIR
Exits 77 (skipped) when GDAL's command-line tools are not installed (Debian: gdal-bin).
"""

import json
import math
import os
import shutil
import struct
import subprocess
import sys

SKIP = 77


class Grid:
    """An ASCII grid file as Python reads it: header numbers and rows of floats."""

    def __init__(self, path):
        with open(path, encoding="ascii") as stream:
            words = stream.read().split()
        self.header = {}
        for i in range(6):
            self.header[words[2 * i].lower()] = float(words[2 * i + 1])
        self.ncols = int(self.header["ncols"])
        self.nrows = int(self.header["nrows"])
        values = [float(word) for word in words[12:12 + self.ncols * self.nrows]]
        if len(values) != self.ncols * self.nrows:
            raise AssertionError(f"{path}: body too short")
        self.rows = [values[r * self.ncols:(r + 1) * self.ncols] for r in range(self.nrows)]
        self.cell = self.header["cellsize"]
        self.west = self.header["xllcorner"]
        self.north = self.header["yllcorner"] + self.nrows * self.cell
        self.nodata = self.header["nodata_value"]


failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL:", message)


def same_bits(a, b):
    return struct.pack("<d", a) == struct.pack("<d", b)


def run(args):
    result = subprocess.run(args, capture_output=True, text=True, check=False)
    if result.returncode != 0:
        raise AssertionError(f"{' '.join(args)} failed ({result.returncode}):\n"
                             f"{result.stdout}{result.stderr}")
    return result.stdout


def run_gridclip(gridclip, args):
    output = run([gridclip] + args)
    if output:
        raise AssertionError(f"gridclip {' '.join(args)} printed: {output}")


def gdal_info(path):
    return json.loads(run(["gdalinfo", "-json", "-oo", "DATATYPE=Float64", path]))


def gdal_values(path, work):
    """The cells GDAL reads from `path` as Float64, row by row from the north."""
    raw = os.path.join(work, os.path.basename(path) + ".f64")
    run(["gdal_translate", "-q", "-oo", "DATATYPE=Float64", "-ot", "Float64", "-of", "ENVI",
         path, raw])
    with open(raw, "rb") as stream:
        data = stream.read()
    count = len(data) // 8
    return list(struct.unpack(f"<{count}d", data))


def check_clip(clip_path, source, expected, work):
    """gdalinfo's view of a clipped grid, and GDAL's values against the source's cells."""
    name = os.path.basename(clip_path)
    info = gdal_info(clip_path)
    ncols, nrows, west, north, cell, nodata = expected
    check(info["size"] == [ncols, nrows], f"{name}: size {info['size']}")
    check(info["geoTransform"] == [west, cell, 0.0, north, 0.0, -cell],
          f"{name}: geotransform {info['geoTransform']}")
    band = info["bands"][0]
    check(band["type"] == "Float64", f"{name}: band type {band['type']}")
    check(band.get("noDataValue") == nodata, f"{name}: no-data {band.get('noDataValue')}")

    values = gdal_values(clip_path, work)
    check(len(values) == ncols * nrows, f"{name}: GDAL read {len(values)} values")
    col0 = round((west - source.west) / source.cell)
    row0 = round((source.north - north) / source.cell)
    mismatches = 0
    for r in range(nrows):
        for c in range(ncols):
            want = source.rows[row0 + r][col0 + c]
            got = values[r * ncols + c]
            if not same_bits(want, got):
                mismatches += 1
                if mismatches <= 5:
                    print(f"  {name} cell ({c}, {r}): GDAL {got!r}, source {want!r}")
    check(mismatches == 0, f"{name}: {mismatches} cells differ from the source")
    print(f"{name}: {ncols} x {nrows} at ({west}, {north}), cell {cell}, no-data {nodata}: "
          f"GDAL reads the source's values")


def write_envi(path, values, ncols, nrows, west, north, cell, nodata):
    """A raw Float64 raster with an ENVI header, so GDAL starts from exact doubles."""
    with open(path, "wb") as stream:
        stream.write(struct.pack(f"<{len(values)}d", *values))
    with open(os.path.splitext(path)[0] + ".hdr", "w", encoding="ascii") as stream:
        stream.write("ENVI\n"
                     f"samples = {ncols}\nlines = {nrows}\nbands = 1\nheader offset = 0\n"
                     "file type = ENVI Standard\ndata type = 5\ninterleave = bsq\n"
                     "byte order = 0\n"
                     f"map info = {{Arbitrary, 1, 1, {west!r}, {north!r}, {cell!r}, {cell!r}, "
                     "0, North}\n"
                     f"data ignore value = {nodata!r}\n")


def check_gdal_written(gridclip, asc_path, exact_values, work):
    """gridclip reads a grid that GDAL wrote with the values GDAL reads from it."""
    name = os.path.basename(asc_path)
    info = gdal_info(asc_path)
    ncols, nrows = info["size"]
    west, cell, _, north, _, _ = info["geoTransform"]
    gdal = gdal_values(asc_path, work)
    copy1 = os.path.join(work, name + ".gridclip1.asc")
    copy2 = os.path.join(work, name + ".gridclip2.asc")
    # A grid clipped with itself comes back whole; gridclip writes numbers losslessly, so the
    # copy holds exactly the values gridclip read.
    run_gridclip(gridclip, [asc_path, asc_path, copy1, copy2])
    read = Grid(copy1)
    check((read.ncols, read.nrows) == (ncols, nrows), f"{name}: gridclip read {read.ncols} x "
          f"{read.nrows}, GDAL {ncols} x {nrows}")
    check((read.west, read.north, read.cell) == (west, north, cell),
          f"{name}: gridclip's origin ({read.west}, {read.north}) cell {read.cell}, GDAL's "
          f"({west}, {north}) cell {cell}")
    check(read.nodata == info["bands"][0].get("noDataValue"),
          f"{name}: no-data {read.nodata}, GDAL {info['bands'][0].get('noDataValue')}")
    ours = [v for row in read.rows for v in row]
    bad = [i for i, (a, b) in enumerate(zip(ours, gdal)) if not same_bits(a, b)]
    check(len(ours) == len(gdal) and not bad,
          f"{name}: {len(bad)} values differ from GDAL's, first at "
          f"{[(ours[i], gdal[i]) for i in bad[:3]]}")
    if exact_values is not None:
        bad = [i for i, (a, b) in enumerate(zip(ours, exact_values)) if not same_bits(a, b)]
        check(not bad, f"{name}: {len(bad)} values differ from those GDAL was given, first "
              f"at {[(ours[i], exact_values[i]) for i in bad[:3]]}")
    print(f"{name}: {ncols} x {nrows}: gridclip reads GDAL's values"
          + (" (the exact doubles given)" if exact_values is not None else ""))


def main():
    if len(sys.argv) != 5:
        print(__doc__)
        return 2
    gridclip, west_path, east_path, work = sys.argv[1:]
    missing = [tool for tool in ("gdalinfo", "gdal_translate", "gdal_create")
               if shutil.which(tool) is None]
    if missing:
        print(f"GDAL tools not installed ({', '.join(missing)}; Debian: gdal-bin); skipping")
        return SKIP
    print(run(["gdalinfo", "--version"]).strip())
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)

    # 1. gridclip's output read by GDAL.
    west, east = Grid(west_path), Grid(east_path)
    west_clip = os.path.join(work, "west_clip.asc")
    east_clip = os.path.join(work, "east_clip.asc")
    run_gridclip(gridclip, [west_path, east_path, west_clip, east_clip])
    # The tiles share a 25 m lattice; their overlap is 8 x 7 cells.
    common = (8, 7, 512500.0, 5276525.0, 25.0, -32768.0)
    check_clip(west_clip, west, common, work)
    check_clip(east_clip, east, common, work)

    # 2. GDAL's output read by gridclip. Values that need all 17 digits, the extremes of the
    # double range, a subnormal, negative zero and the no-data value.
    values = [0.1, 1.0 / 3.0, -9999.0, 1e-300,
              123456789.123456789, 2.5e10, -0.0, 5e-324,
              1.7976931348623157e308, -2.2250738585072014e-308, -1.5, 4512345.5]
    raw = os.path.join(work, "exact.f64")
    write_envi(raw, values, 4, 3, 1000.5, 2000.25, 0.5, -9999.0)
    for suffix, options, exact in (("default", [], values),
                                   ("17digits", ["-co", "SIGNIFICANT_DIGITS=17"], values),
                                   ("3decimals", ["-co", "DECIMAL_PRECISION=3"], None)):
        asc = os.path.join(work, f"gdal_{suffix}.asc")
        run(["gdal_translate", "-q", "-of", "AAIGrid"] + options + [raw, asc])
        check_gdal_written(gridclip, asc, exact, work)

    tif = os.path.join(work, "created.tif")
    run(["gdal_create", "-q", "-of", "GTiff", "-ot", "Float64", "-outsize", "5", "4",
         "-bands", "1", "-burn", "273.15", "-a_nodata", "-1",
         "-a_ullr", "500000", "5300000", "500050", "5299960", tif])
    asc = os.path.join(work, "gdal_from_tiff.asc")
    run(["gdal_translate", "-q", "-of", "AAIGrid", tif, asc])
    check_gdal_written(gridclip, asc, [273.15] * 20, work)

    if failures:
        print(f"{len(failures)} check(s) failed")
        return 1
    print("all GDAL interop checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
