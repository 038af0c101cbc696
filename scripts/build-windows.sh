#!/usr/bin/env bash
# Cross-builds the game for 64-bit Windows into build-windows/, from the same
# CMake project, with mingw-w64. freeglut, GoogleTest and Google Benchmark are
# built from Debian's source packages of the versions installed for Linux, once
# per version, into build-windows/prefix. Programs that run at build time (the
# icon painter) and the tests run under Wine (scripts/windows/wine.sh).
# Usage: scripts/build-windows.sh [-DNAME=VALUE...] [TARGET...]
#   the -D options go to CMake; without targets it builds everything, and the
#   zip and the installer (target kov_packages).
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/deps.sh windows

options=()
while [ $# -gt 0 ] && [[ $1 == -D* ]]; do
  options+=("$1")
  shift
done

OUT=$PWD/build-windows
PREFIX=$OUT/prefix
TOOLCHAIN=$PWD/cmake/mingw-w64-x86_64.cmake
mkdir -p "$OUT/sources" "$PREFIX"

# build_source BINARY_PACKAGE [CMAKE_OPTION...]: the source package behind an
# installed package, built static and installed into the prefix, unless that
# version is there already.
build_source() {
  local package=$1 tree name
  shift
  tree=$(python3 scripts/windows/debian-source.py "$package" "$OUT/sources")
  name=$(basename "$tree")
  [ -f "$PREFIX/.$name" ] && return
  echo "=== $name for Windows ==="
  cmake -S "$tree" -B "$OUT/sources/build-$name" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" -DBUILD_SHARED_LIBS=OFF "$@" >/dev/null
  cmake --build "$OUT/sources/build-$name" --target install >/dev/null
  touch "$PREFIX/.$name"
}

# With glut.h, as on Linux.
build_source freeglut3-dev -DFREEGLUT_REPLACE_GLUT=ON -DFREEGLUT_BUILD_DEMOS=OFF -DFREEGLUT_BUILD_SHARED_LIBS=OFF \
  -DFREEGLUT_BUILD_STATIC_LIBS=ON
build_source libgtest-dev -DINSTALL_GTEST=ON -DBUILD_GMOCK=OFF
if [[ " ${options[*]} " != *" -DKOV_BUILD_BENCH=OFF "* ]]; then
  # Debian's source reads no version from git.
  build_source libbenchmark-dev -DBENCHMARK_ENABLE_TESTING=OFF -DBENCHMARK_ENABLE_GTEST_TESTS=OFF \
    -DBENCHMARK_ENABLE_WERROR=OFF -DBENCHMARK_ENABLE_INSTALL=ON -DGIT_VERSION=0.0.0
fi

cmake -S . -B "$OUT" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_FIND_ROOT_PATH="$PREFIX" -DKOV_BUILD_TESTS=ON -DKOV_BUILD_BENCH=ON \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$PWD/scripts/windows/wine.sh" "${options[@]}" >/dev/null
if [ $# -gt 0 ]; then
  cmake --build "$OUT" --target "$@"
else
  cmake --build "$OUT"
  cmake --build "$OUT" --target kov_packages
fi
