#!/usr/bin/env bash
# Takes screenshots of the real program under a private virtual X server:
# docs/game.png (the game as it starts) and docs/workbench.png (lights
# switched and moved, a narrow spot, flat shading, a coarse ball).
#
# Usage: scripts/screenshots.sh [OUT_DIR]   (default: docs)
#   KOV_BINARY=path    the game to use (default: the release build, built here)
set -euo pipefail
cd "$(dirname "$0")/.."

out=${1:-docs}
if [ -z "${KOV_BINARY:-}" ]; then
  ./scripts/deps.sh test
  cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build build/release --target kov >/dev/null
  KOV_BINARY=build/release/kov
fi
exec /usr/bin/python3 tests/e2e/screenshots.py "$KOV_BINARY" . "$out"
