#!/bin/sh
# Compiles each installed header on its own and builds the consumer program against the
# installed library with nothing but pkg-config's flags, then runs it on the sample grids.
# Usage: pkgconfig_consumer.sh PKGCONFIG_DIR CXX SOURCE OUT_DIR WEST EAST [EXTRA_FLAGS...]
# Exits 77 (skipped) when pkg-config is not installed.
set -eu
pc_dir=$1 cxx=$2 source=$3 out=$4 west=$5 east=$6
shift 6
if ! command -v pkg-config >/dev/null 2>&1; then
  echo "pkg-config is not installed (Debian: pkg-config); skipping"
  exit 77
fi
# Only the scratch prefix is searched, never the system's directories.
PKG_CONFIG_LIBDIR=$pc_dir
export PKG_CONFIG_LIBDIR
unset PKG_CONFIG_PATH
flags=$(pkg-config --cflags --libs gridclip)
echo "pkg-config gridclip: $flags (version $(pkg-config --modversion gridclip))"
# Every installed header compiles on its own.
includedir=$(pkg-config --variable=includedir gridclip)
cflags=$(pkg-config --cflags gridclip)
for header in "$includedir"/*.h; do
  printf '#include "%s"\n' "$(basename "$header")" |
    "$cxx" -std=c++17 -fsyntax-only -Wall -Wextra -Werror -x c++ $cflags - ||
    { echo "$header does not compile on its own"; exit 1; }
done
mkdir -p "$out"
# shellcheck disable=SC2086 # the flags are a list of words
"$cxx" -std=c++17 "$@" "$source" $flags -o "$out/consumer_pkgconfig"
"$out/consumer_pkgconfig" "$west" "$east"
