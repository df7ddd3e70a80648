#!/bin/bash
# Sets up, builds and runs every test: the Windows build under Wine and the
# native build with AddressSanitizer and UBSan. Extra arguments go to both
# ctest runs (for example: scripts/test.sh -R xml).
#
# The 32-bit deliverables are always built; their tests run under Wine where
# the machine runs 32-bit code, else the 64-bit build of the same sources
# (win64) runs them and the 32-bit build stops at the deliverables. The Wine
# tests mostly wait on windows and peers, so the other builds and the native
# tests run beside them, at a lower priority. Every test runs once.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh || exit 1
. scripts/build.sh
rm -f build/native-test.log

wine_preset=$(scripts/wine-preset.sh)
start=$(date +%s)
took() { echo "$(( $(date +%s) - start )) s"; }

# The rest, beside the Wine tests: the 32-bit deliverables where win64 runs
# the tests, then the native build and its tests.
others() {
  local rc=0
  if [ "$wine_preset" != windows ]; then
    build windows --target deliverables && echo "== windows: deliverables built ($(took)); this machine runs no 32-bit code, the $wine_preset build runs the Windows tests" || rc=1
  fi
  if build native; then
    echo "== native: built ($(took))"
    ctest --preset native "$@" >build/native-test.log 2>&1 || rc=1
  else
    rc=1
  fi
  return $rc
}

echo "== $wine_preset: configure and build"
if ! build "$wine_preset"; then
  echo "== $wine_preset: the Windows tests are not run"
  others "$@"
  exit 1
fi
echo "== $wine_preset: built ($(took))"

( renice -n 10 -p $BASHPID >/dev/null; others "$@" ) &
others_pid=$!

echo "== $wine_preset: test"
rc=0
ctest --preset "$wine_preset" "$@" || rc=1
echo "== $wine_preset: tested ($(took))"

wait $others_pid || rc=1
echo "== native: test"
if [ -f build/native-test.log ]; then
  grep -vE '^ +Start |^[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed ' build/native-test.log
fi
echo "== done ($(took))"
exit $rc
