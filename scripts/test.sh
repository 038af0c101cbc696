#!/usr/bin/env bash
# The whole test suite: installs what it needs, builds and runs every test with
# CTest under a virtual X server with Mesa's software renderer, then builds and
# runs it all again under AddressSanitizer + UndefinedBehaviorSanitizer (with
# clang, which also builds and briefly runs the fuzz targets), and last
# cross-builds the game for Windows and runs its tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/deps.sh test

export LIBGL_ALWAYS_SOFTWARE=1
JOBS=$(nproc)
# -noreset: by default the server resets whenever its last client leaves, and a
# test connecting during that reset is refused.
XVFB=(xvfb-run -a -s "-screen 0 1280x1024x24 -noreset")

echo "=== Release build ==="
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DKOV_BUILD_TESTS=ON -DKOV_BUILD_BENCH=ON
cmake --build build/release -j "$JOBS"
"${XVFB[@]}" ctest --test-dir build/release --output-on-failure --no-tests=error -j "$JOBS"

echo "=== AddressSanitizer + UndefinedBehaviorSanitizer build ==="
CC=clang CXX=clang++ cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKOV_SANITIZE=ON -DKOV_BUILD_TESTS=ON -DKOV_BUILD_FUZZ=ON -DKOV_BUILD_BENCH=OFF
cmake --build build/asan -j "$JOBS"
"${XVFB[@]}" ctest --test-dir build/asan --output-on-failure --no-tests=error -j "$JOBS"

echo "=== Windows build (mingw-w64), tests under Wine ==="
# The Wine session compares kov.exe's picture with the Linux game's.
./scripts/build-windows.sh -DKOV_BUILD_BENCH=OFF -DKOV_LINUX_GAME="$PWD/build/release/kov" \
  kov kov-level-check kov_unit_tests kov_gl_tests kov_packages
"${XVFB[@]}" ctest --test-dir build-windows --output-on-failure --no-tests=error -j "$JOBS"
