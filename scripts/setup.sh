#!/bin/bash
# Installs what the build and the tests need on Debian 12, only what is missing.
# Extra packages may be named on the command line (scripts/fuzz.sh adds clang).
set -euo pipefail

PKGS=(
  cmake ninja-build python3 locales zip unzip
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix libz-mingw-w64-dev
  mingw-w64-tools python3-pil
  wine wine32:i386 wine64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
  fonts-wine fonts-wqy-zenhei xvfb xauth x11-apps
  g++ googletest libgtest-dev libgmock-dev libbenchmark-dev libpugixml-dev
  "$@"
)

missing=()
for p in "${PKGS[@]}"; do
  if [ "$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null)" != installed ]; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
echo "setup: installing ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "setup: done"
