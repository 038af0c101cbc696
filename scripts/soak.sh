#!/usr/bin/env bash
# Soak test: plays the game for SECONDS (default 600) under a private virtual X
# server with random key presses, holds and mouse drags of every binding but
# Escape, and fails if the heap blocks that the game's own code holds grew
# (the soak case of tests/e2e/e2e.py, on a build with tests/e2e/HeapCount.cpp).
#
# Usage: scripts/soak.sh [SECONDS]
#   KOV_SOAK_SEED=n    repeat the random input of an earlier run
set -euo pipefail
cd "$(dirname "$0")/.."

exec /usr/bin/python3 tests/e2e/e2e.py soak "$PWD/$(./scripts/release-game.sh kov_heap_count)" "$PWD" "${1:-600}"
