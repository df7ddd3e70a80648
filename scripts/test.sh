#!/bin/bash
# Sets up, builds and runs every test: the Windows build under Wine and the
# native build with AddressSanitizer and UBSan. Extra arguments go to ctest
# (for example: scripts/test.sh -R xml).
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh || exit 1

rc=0
for preset in windows native; do
  echo "== $preset: configure and build"
  if ! { cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" -- -k 0 >"build/$preset-build.log" 2>&1; }; then
    tail -n 60 "build/$preset-build.log" 2>/dev/null
    echo "== $preset: BUILD FAILED"
    rc=1
    continue
  fi
  echo "== $preset: test"
  ctest --preset "$preset" "$@" || rc=1
done
exit $rc
