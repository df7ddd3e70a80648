#!/bin/bash
# Sets up, builds every deliverable and runs the programs' main job under Wine:
# the whole loop on 127.0.0.1, our lobby and game servers with MiraboGame.exe
# logged in from the command line. On a desktop (DISPLAY set and answering, CI
# unset) the person plays; otherwise a driver of ours plays the path under Xvfb
# and leaves a screenshot of each stage in build/<preset>/loop/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
. scripts/build.sh
# Where the machine runs no 32-bit code, the 64-bit build of the same sources runs.
P=$(scripts/wine-preset.sh)
echo "run.sh: building the programs (logs: build/*-build.log)"
if [ "$P" = windows ]; then
  build windows --target programs
else
  build windows --target deliverables
  build "$P" --target programs
fi
TOP=$PWD ROOT=$PWD/build/$P/wine

answers() {
  python3 - <<'PY' 2>/dev/null
import ctypes, sys
x = ctypes.CDLL("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
sys.exit(0 if x.XOpenDisplay(None) else 1)
PY
}
if [ -n "${DISPLAY:-}" ] && [ -z "${CI:-}" ] && answers; then
  MIRABO_DISPLAY=$DISPLAY tools/winenv.sh up "$ROOT" 0
  person=1
else
  tools/winenv.sh up "$ROOT" 0
  person=0
fi
trap '"$TOP/tools/winenv.sh" down "$ROOT"' EXIT
cd build/$P/bin
"../wine/wine-run" smoke.exe
if [ $person = 1 ]; then
  "../wine/wine-run" MiraboLoop.exe --person
else
  SHOTS=$TOP/build/$P/loop
  rm -rf "$SHOTS"
  status=0
  "../wine/wine-run" MiraboLoop.exe --drive "Z:${SHOTS//\//\\}" || status=$?
  echo "run.sh: the loop's screenshots are in $SHOTS/"
  ls "$SHOTS" 2>/dev/null | sed 's/^/  /'
  exit $status
fi
