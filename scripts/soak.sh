#!/usr/bin/env bash
# Soak test: plays the game for SECONDS (default 600) under a private virtual X
# server with random key presses, key holds and mouse drags of every binding
# but Escape, then checks that it still redraws (the F overlay toggles), that
# its resident memory grew by less than 2 MiB over the last of three passes of
# the same play (tests/e2e/soak.py says why), and that Escape still ends it
# with status 0.
#
# Usage: scripts/soak.sh [SECONDS]
#   KOV_BINARY=path    the game to soak (default: the release build, built here)
#   KOV_SOAK_SEED=n    repeat the random input of an earlier run
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-600}
KOV_BINARY=${KOV_BINARY:-$(./scripts/release-game.sh)}
exec /usr/bin/python3 tests/e2e/soak.py "$KOV_BINARY" . "$seconds"
