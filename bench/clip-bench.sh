#!/usr/bin/env bash
# Clip benchmark: times gridclip against the std::from_chars / std::to_chars baseline
# (bench/ClipBaseline.cpp, the practical single-core limit of the job) and, when it is
# installed, GDAL's gdal_translate -projwin, on two overlapping N x N grids.
#
# Usage: bench/clip-bench.sh [N] [RUNS]     (defaults: N = 4000, RUNS = 5)
#
# Builds the release preset's targets it needs, writes the grids to a scratch folder (removed
# at the end), runs every program RUNS times in turn and prints wall time (median) and peak
# memory (largest resident set of any run), the ratios and the targets.
set -euo pipefail

N=${1:-4000}
RUNS=${2:-5}
if ! [[ $N =~ ^[0-9]+$ && $RUNS =~ ^[0-9]+$ ]] || ((N < 5 || RUNS < 1)); then
  echo "usage: bench/clip-bench.sh [N >= 5] [RUNS >= 1]" >&2
  exit 2
fi

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$ROOT/build/release
(cd "$ROOT" && cmake --preset release >/dev/null &&
  cmake --build --preset release -j2 \
    --target gridclip clip_bench_grids clip_baseline clip_bench_measure >/dev/null)

SCRATCH=$(mktemp -d "${TMPDIR:-/tmp}/clip-bench.XXXXXX")
trap 'rm -rf "$SCRATCH"' EXIT
cd "$SCRATCH"

WINDOW=$("$BUILD/bench/clip_bench_grids" "$N" . | tr '\n' ' ')
read -r ULX ULY LRX LRY COLS ROWS <<<"$WINDOW"

GDAL=$(command -v gdal_translate || true)
if [[ -z $GDAL ]]; then
  echo "gdal_translate is not installed: GDAL is left out (Debian: apt-get install gdal-bin)."
fi

MEASURE=$BUILD/bench/clip_bench_measure
# measure RESULT_FILE command...: one timed run; gridclip reports failures on stdout.
measure() {
  local result=$1
  shift
  local said
  said=$("$MEASURE" "$result" "$@") || {
    echo "failed: $*" >&2
    exit 1
  }
  if [[ -n $said ]]; then
    echo "failed: $* said: $said" >&2
    exit 1
  fi
}

for ((run = 1; run <= RUNS; ++run)); do
  measure gridclip.txt "$BUILD/gridclip" a.asc b.asc gridclip_a.asc gridclip_b.asc
  measure baseline.txt "$BUILD/bench/clip_baseline" a.asc b.asc baseline_a.asc baseline_b.asc
  if [[ -n $GDAL ]]; then
    # Read as doubles, as the other two do (GDAL reads decimals as Float32 by default).
    for grid in a b; do
      measure "gdal_$grid.txt" "$GDAL" -q -of AAIGrid --config AAIGRID_DATATYPE Float64 \
        -projwin "$ULX" "$ULY" "$LRX" "$LRY" "$grid.asc" "gdal_$grid.asc"
    done
  fi
done
if [[ -n $GDAL ]]; then
  paste -d ' ' gdal_a.txt gdal_b.txt | awk '{ print $1 + $4, ($2 > $5 ? $2 : $5) }' >gdal.txt
fi

if cmp -s gridclip_a.asc baseline_a.asc && cmp -s gridclip_b.asc baseline_b.asc; then
  AGREE="gridclip and baseline outputs agree byte for byte"
else
  AGREE="WARNING: gridclip and baseline outputs differ"
fi

# median_and_peak FILE: "median_seconds peak_kib" of the runs recorded in FILE.
median_and_peak() {
  local median peak
  median=$(cut -d ' ' -f 1 "$1" | sort -g |
    awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }')
  peak=$(cut -d ' ' -f 2 "$1" | sort -g | tail -n 1)
  echo "$median $peak"
}

read -r GC_S GC_K <<<"$(median_and_peak gridclip.txt)"
read -r BL_S BL_K <<<"$(median_and_peak baseline.txt)"
GD_S=""
GD_K=""
if [[ -n $GDAL ]]; then read -r GD_S GD_K <<<"$(median_and_peak gdal.txt)"; fi

awk -v n="$N" -v runs="$RUNS" -v cols="$COLS" -v rows="$ROWS" \
  -v gc_s="$GC_S" -v gc_k="$GC_K" -v bl_s="$BL_S" -v bl_k="$BL_K" \
  -v gd_s="$GD_S" -v gd_k="$GD_K" -v agree="$AGREE" 'BEGIN {
  printf "Clip of two %d x %d grids to their common %d x %d window; wall time: median of %d runs\n\n",
    n, n, cols, rows, runs
  printf "| program | wall time (s) | peak memory (MiB) |\n|---|---:|---:|\n"
  printf "| gridclip | %.3f | %.1f |\n", gc_s, gc_k / 1024
  printf "| baseline (from_chars / to_chars) | %.3f | %.1f |\n", bl_s, bl_k / 1024
  if (gd_s != "") printf "| GDAL gdal_translate -projwin, both files | %.3f | %.1f |\n", gd_s, gd_k / 1024
  else printf "| GDAL | not installed | |\n"
  budget = (2 * n * n + 2 * cols * rows) * 8 / 1048576 + 64
  printf "\n| measure | value | target |\n|---|---:|---|\n"
  printf "| gridclip / baseline, wall time | %.2f | <= 1.3: %s |\n",
    gc_s / bl_s, (gc_s <= 1.3 * bl_s ? "met" : "MISSED")
  if (gd_s != "") printf "| GDAL / gridclip, wall time | %.1f | >= 5: %s |\n",
    gd_s / gc_s, (gd_s >= 5 * gc_s ? "met" : "MISSED")
  printf "| gridclip peak memory (MiB) | %.1f | <= %.1f (grids as doubles + 64 MiB): %s |\n",
    gc_k / 1024, budget, (gc_k / 1024 <= budget ? "met" : "MISSED")
  printf "\n%s\n", agree
}'
