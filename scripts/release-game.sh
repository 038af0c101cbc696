#!/usr/bin/env bash
# Builds the game in the release build (with the test packages, which the
# scripts that use it need anyway) and prints the binary's path.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/deps.sh test >&2
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release --target kov >/dev/null
echo build/release/kov
