#!/usr/bin/env bash
# Takes screenshots of the real program under a private virtual X server:
# docs/game.png (the game as it starts), docs/workbench.png (lights switched
# and moved, a narrow spot, flat shading, a coarse ball), docs/panel.png (the
# same with the F1 panel), docs/lights.png (the same with the light markers)
# and docs/spiral.png (a level of the set).
#
# Usage: scripts/screenshots.sh [OUT_DIR]   (default: docs)
#   KOV_BINARY=path    the game to use (default: the release build, built here)
set -euo pipefail
cd "$(dirname "$0")/.."

out=${1:-docs}
KOV_BINARY=${KOV_BINARY:-$(./scripts/release-game.sh)}
exec /usr/bin/python3 tests/e2e/screenshots.py "$KOV_BINARY" . "$out"
