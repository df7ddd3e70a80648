#!/bin/bash
# Sets up, builds and runs every test: the Windows build under Wine and the
# native build with AddressSanitizer and UBSan. Extra arguments go to ctest
# (for example: scripts/test.sh -R xml).
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh || exit 1

# The 32-bit deliverables are always built; their tests run under Wine where the
# machine runs 32-bit code, else the 64-bit build of the same sources runs them.
wine_preset=$(scripts/wine-preset.sh)
presets=(windows native)
[ "$wine_preset" = windows ] || presets=(windows "$wine_preset" native)

rc=0
for preset in "${presets[@]}"; do
  echo "== $preset: configure and build"
  if ! { cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" -- -k 0 >"build/$preset-build.log" 2>&1; }; then
    tail -n 60 "build/$preset-build.log" 2>/dev/null
    echo "== $preset: BUILD FAILED"
    rc=1
    continue
  fi
  if [ "$preset" = windows ] && [ "$wine_preset" != windows ]; then
    echo "== windows: built; this machine runs no 32-bit code, the $wine_preset build runs the Windows tests"
    continue
  fi
  echo "== $preset: test"
  # A Wine program now and then fails to start at all on a new prefix (no
  # output, a tenth of a second): a Windows test gets a second run.
  retry=()
  [ "$preset" = native ] || retry=(--repeat until-pass:2)
  ctest --preset "$preset" "${retry[@]}" "$@" || rc=1
done
exit $rc
