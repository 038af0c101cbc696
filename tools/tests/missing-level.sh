#!/bin/sh
# Starts the game where there is no data/ and no X display: it must refuse at
# once with exit status 1 and one line on stderr naming the level file and why.
# Usage: missing-level.sh GAME
game=$1
dir=$(mktemp -d) || exit 1
trap 'rm -rf "$dir"' EXIT
cd "$dir" || exit 1
env -u DISPLAY "$game" >stdout.txt 2>stderr.txt
status=$?
cat stderr.txt
fail() {
  echo "FAIL: $1" >&2
  exit 1
}
[ "$status" -eq 1 ] || fail "exit status $status, expected 1"
[ "$(wc -l <stderr.txt)" -eq 1 ] || fail "stderr holds $(wc -l <stderr.txt) lines, expected 1"
grep -q 'data/field.txt' stderr.txt || fail "stderr does not name data/field.txt"
grep -q 'No such file or directory' stderr.txt || fail "stderr does not give the reason"
[ ! -s stdout.txt ] || fail "stdout is not empty"
