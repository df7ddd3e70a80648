#!/bin/bash
# Sets up, builds every deliverable and runs the programs' main job under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows
ROOT=build/windows/wine
tools/winenv.sh up "$ROOT"
trap 'tools/winenv.sh down "$ROOT"' EXIT
cd build/windows/bin
"../wine/wine-run" smoke.exe
