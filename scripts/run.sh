#!/usr/bin/env bash
# Builds the game (Release) if needed and starts it from the project root, so
# that the data/ paths resolve. Arguments go to the toolkit (e.g. -display :1).
# It builds in build/game, without the tests, so it needs only the run packages.
set -euo pipefail
cd "$(dirname "$0")/.."

# Before anything is built: without a display the game could not start.
if [ -z "${DISPLAY:-}" ] && [[ " $* " != *" -display "* ]]; then
  echo "kov needs an X display, and DISPLAY is not set." >&2
  echo "To run it without a screen, start it under a virtual X server (packages xvfb and xauth):" >&2
  echo "  xvfb-run -a -s '-screen 0 1024x768x24' ./scripts/run.sh" >&2
  exit 1
fi

"./scripts/deps.sh" run
cmake -S . -B build/game -G Ninja -DCMAKE_BUILD_TYPE=Release -DKOV_BUILD_TESTS=OFF -DKOV_BUILD_BENCH=OFF >/dev/null
if [ ! -x build/game/kov ]; then
  echo "Building the game in build/game (the first time takes a minute or so)..." >&2
fi
cmake --build build/game --target kov >/dev/null
exec ./build/game/kov "$@"
