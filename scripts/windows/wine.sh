#!/usr/bin/env bash
# Runs a Windows program under Wine, in a prefix of the build tree that it
# makes on first use (never under $HOME), and passes its exit status on.
# Usage: scripts/windows/wine.sh PROGRAM.exe [ARG...]
# KOV_WINE_PREFIX names another prefix; the default is build-windows/wine.
set -euo pipefail

WINEPREFIX="${KOV_WINE_PREFIX:-$(cd "$(dirname "$0")/../.." && pwd)/build-windows/wine}"
# No menu entries or file associations written into $HOME, no prompts to
# download Mono or Gecko, and none of Wine's own diagnostics on stderr.
export WINEPREFIX WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=;mshtml="

if [ ! -f "$WINEPREFIX/.ready" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  # Programs started at once (parallel tests) make it once, one after another.
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.ready" ]; then
      DISPLAY= wine wineboot --init >/dev/null 2>&1
      wineserver --wait
      touch "$WINEPREFIX/.ready"
    fi
  ) 9>"$WINEPREFIX.lock"
fi
exec wine "$@"
