#!/usr/bin/env bash
# Builds a game in the release build (with the test packages, which the
# scripts that use it need anyway) and prints the binary's path.
# Usage: scripts/release-game.sh [TARGET]   (default: kov; kov_heap_count for the soak)
set -euo pipefail
cd "$(dirname "$0")/.."

target=${1:-kov}
./scripts/deps.sh test >&2
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release --target "$target" >/dev/null
echo "build/release/$target"
