#!/usr/bin/env bash
# The frame benchmark of the Linux build and of the Windows build under Wine,
# taking turns on one virtual X server with Mesa's software renderer: the
# shipped level's frame in floor layers (each game frame against the floor
# layer frames between its own) for both, and whether Wine's lies within 10 %
# of Linux's. Usage: scripts/bench-windows.sh [ROUNDS]   (default 3; medians)
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-3}

./scripts/deps.sh test
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release --target kov_frame_bench >/dev/null
./scripts/build-windows.sh kov_frame_bench >/dev/null

export LIBGL_ALWAYS_SOFTWARE=1
log=$(mktemp -d)
trap 'rm -rf "$log"' EXIT
# layers NAME COMMAND...: one run's figure, printed and added to $log/NAME. The
# program's status says whether all its own goals were met, which does not matter here.
layers() {
  local name=$1 figure
  shift
  xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$@" >"$log/out" 2>&1 || true
  figure=$(sed -n 's/^shipped level: \([0-9.]*\) floor layers.*/\1/p' "$log/out")
  if [ -z "$figure" ]; then
    cat "$log/out" >&2
    exit 1
  fi
  echo "$figure" >>"$log/$name"
  echo "$name: $figure floor layers"
}
for ((i = 1; i <= rounds; i++)); do
  layers linux build/release/bench/kov_frame_bench
  layers wine scripts/windows/wine.sh build-windows/bench/kov_frame_bench.exe
done
python3 - "$log/linux" "$log/wine" <<'PY'
import statistics, sys
linux, wine = (statistics.median(float(x) for x in open(path)) for path in sys.argv[1:])
print("shipped level, median: Linux %.2f, Wine %.2f floor layers: Wine %+.1f %%"
      % (linux, wine, 100 * (wine / linux - 1)))
sys.exit(0 if abs(wine / linux - 1) <= 0.10 else "Wine's figure is not within 10 % of Linux's")
PY
