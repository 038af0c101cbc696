#!/bin/sh
# Runs a command and checks its exit status and that its output holds a pattern.
# Usage: expect.sh STATUS PATTERN COMMAND [ARGUMENT...]
expected=$1
pattern=$2
shift 2
output=$("$@" 2>&1)
status=$?
printf '%s\n' "$output"
if [ "$status" -ne "$expected" ]; then
  echo "FAIL: exit status $status, expected $expected" >&2
  exit 1
fi
if ! printf '%s\n' "$output" | grep -q -E -- "$pattern"; then
  echo "FAIL: the output lacks /$pattern/" >&2
  exit 1
fi
