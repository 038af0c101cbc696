#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing.
# Usage: scripts/deps.sh [run|test|windows]   (run: only what building and playing need;
# windows: what the cross-build for Windows and its tests under Wine need)
set -euo pipefail

RUN_PACKAGES=(cmake ninja-build g++ freeglut3-dev libglu1-mesa-dev libgl1-mesa-dev libgl1-mesa-dri libstb-dev)
TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
               xvfb xauth xdotool x11-utils imagemagick dpkg-dev desktop-file-utils appstream lintian groff-base)
# The versions of freeglut, GoogleTest and Google Benchmark installed for
# Linux name the source packages that the Windows build compiles.
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix wine wine64 dpkg-dev python3 libgtest-dev libbenchmark-dev libstb-dev
                  xvfb xauth xdotool x11-utils imagemagick nsis)

packages=("${RUN_PACKAGES[@]}")
case "${1:-test}" in
  test) packages+=("${TEST_PACKAGES[@]}") ;;
  windows) packages+=("${WINDOWS_PACKAGES[@]}") ;;
esac

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing Debian packages: ${missing[*]}" >&2
  echo "Install them with: sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi
echo "Installing ${missing[*]} ..."
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq "${missing[@]}" >/dev/null
