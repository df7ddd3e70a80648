#!/bin/bash
# Sets up, builds every deliverable and runs the programs' main job under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows
TOP=$PWD ROOT=$PWD/build/windows/wine
tools/winenv.sh up "$ROOT"
trap '"$TOP/tools/winenv.sh" down "$ROOT"' EXIT
cd build/windows/bin
"../wine/wine-run" smoke.exe
# The card-game client started as the lobby starts it, against a game server of ours.
"../wine/wine-run" fenlo_demo.exe
