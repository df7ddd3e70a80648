#!/bin/bash
# Sets up, builds and runs every test: the Windows build under Wine and the
# native build with AddressSanitizer and UBSan. Extra arguments go to both
# ctest runs (for example: scripts/test.sh -R xml).
#
# The 32-bit deliverables are always built; their tests run under Wine where
# the machine runs 32-bit code, else the 64-bit build of the same sources
# (win64) runs them and the 32-bit build stops at the deliverables. Every
# build comes before the Wine tests: those wait on windows, timers and peers,
# and a build beside them stretches each wait by more than it gains. The short
# native tests run beside them, at a lower priority. Every test runs once.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh || exit 1
. scripts/build.sh
rm -f build/native-test.log

wine_preset=$(scripts/wine-preset.sh)
start=$(date +%s)
took() { echo "$(( $(date +%s) - start )) s"; }

echo "== $wine_preset: configure and build"
wine_built=yes
if build "$wine_preset"; then
  echo "== $wine_preset: built ($(took))"
else
  echo "== $wine_preset: the Windows tests are not run"
  wine_built=no
fi
rc=0

if [ "$wine_preset" != windows ]; then
  build windows --target deliverables && echo "== windows: deliverables built ($(took)); this machine runs no 32-bit code, the $wine_preset build runs the Windows tests" || rc=1
fi
native_built=no
build native && native_built=yes && echo "== native: built ($(took))" || rc=1
[ $wine_built = yes ] || exit 1

if [ $native_built = yes ]; then
  ( renice -n 10 -p $BASHPID >/dev/null; ctest --preset native "$@" >build/native-test.log 2>&1 ) &
  native_pid=$!
fi

echo "== $wine_preset: test"
ctest --preset "$wine_preset" "$@" || rc=1
echo "== $wine_preset: tested ($(took))"

if [ $native_built = yes ]; then
  wait $native_pid || rc=1
  echo "== native: test"
  grep -vE '^ +Start |^[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed ' build/native-test.log
fi
echo "== done ($(took))"
exit $rc
