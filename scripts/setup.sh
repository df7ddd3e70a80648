#!/bin/bash
# Installs what the build and the tests need on Debian 12, only what is missing.
# Extra packages may be named on the command line (scripts/fuzz.sh adds clang).
#
# A package mirror may be mid-sync for one architecture: "apt-get update" then
# fails on that index although everything else installs. So the update is
# retried only while the install that follows fails, and the i386 packages
# (Wine for 32-bit programs) are optional: without them the 32-bit deliverables
# are still built and the Windows tests run from the 64-bit build. Only a
# package the build needs that cannot be installed ends the set-up.
set -uo pipefail

PKGS=(
  cmake ninja-build python3 locales zip unzip
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix libz-mingw-w64-dev
  mingw-w64-tools python3-pil
  wine wine64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
  fonts-wine fonts-wqy-zenhei xvfb xauth x11-apps
  g++ googletest libgtest-dev libgmock-dev libbenchmark-dev libpugixml-dev
  "$@"
)
PKGS_I386=(wine32:i386)
# What only a test uses (it skips, saying so, where this is missing).
PKGS_OPTIONAL=(tesseract-ocr tesseract-ocr-eng tesseract-ocr-chi-sim)
PAUSE=${MIRABO_APT_PAUSE:-5}
TRIES=3

missing_of() {
  local p
  for p in "$@"; do
    if [ "$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null)" != installed ]; then
      echo "$p"
    fi
  done
}

mapfile -t need < <(missing_of "${PKGS[@]}")
mapfile -t need32 < <(missing_of "${PKGS_I386[@]}")
mapfile -t needopt < <(missing_of "${PKGS_OPTIONAL[@]}")
[ ${#need[@]} -eq 0 ] && [ ${#need32[@]} -eq 0 ] && [ ${#needopt[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
LOG=$(mktemp)
trap 'rm -f "$LOG"' EXIT
install() {
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "$@" >>"$LOG" 2>&1
}
update() {
  $SUDO apt-get update -qq >>"$LOG" 2>&1 && return 0
  local why
  why=$(grep -oE 'Mirror sync in progress|Could not resolve [^ ]+|Failed to fetch [^ ]+' "$LOG" | head -n 1)
  echo "setup: the package index is incomplete (${why:-apt-get update failed}); going on with what it has"
  return 1
}

echo "setup: installing $(echo ${need[*]} ${need32[*]} ${needopt[*]})"
if [ ${#need32[@]} -gt 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi

# What the build needs: an update, then the install; both again after a pause
# while the install fails (the mirror may finish its sync meanwhile).
if [ ${#need[@]} -gt 0 ]; then
  for try in $(seq $TRIES); do
    update
    install "${need[@]}" && break
    [ "$try" -lt $TRIES ] && sleep "$PAUSE"
  done
  mapfile -t still < <(missing_of "${need[@]}")
  if [ ${#still[@]} -gt 0 ]; then
    # One by one, so that the line names what is missing, not a whole batch.
    for p in "${still[@]}"; do install "$p"; done
    mapfile -t still < <(missing_of "${need[@]}")
  fi
  if [ ${#still[@]} -gt 0 ]; then
    echo "setup: cannot install ${still[*]}, which the build needs; apt-get said:"
    grep -E '^(E|W): ' "$LOG" | sort -u | head -n 8 | sed 's/^/  /'
    exit 1
  fi
else
  update
fi

if [ ${#need32[@]} -gt 0 ]; then
  install "${need32[@]}"
  mapfile -t still32 < <(missing_of "${need32[@]}")
  if [ ${#still32[@]} -gt 0 ]; then
    echo "setup: ${still32[*]} cannot be installed: the 32-bit deliverables are built, and the Windows tests and the main job run from the 64-bit build (win64)"
  fi
fi
if [ ${#needopt[@]} -gt 0 ]; then
  install "${needopt[@]}"
  mapfile -t stillopt < <(missing_of "${needopt[@]}")
  if [ ${#stillopt[@]} -gt 0 ]; then
    echo "setup: ${stillopt[*]} cannot be installed: the tests that read the screen back are skipped"
  fi
fi
echo "setup: done"
