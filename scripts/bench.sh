#!/bin/bash
# Builds and runs the benchmarks on demand (never part of the test run).
#   scripts/bench.sh [NAME...]     native Google Benchmark programs bench_<name>,
#                                  and Windows ones (bench_<name>.exe) under Wine
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset bench >/dev/null && cmake --build --preset bench >/dev/null
P=$(scripts/wine-preset.sh)
cmake --preset "$P" >/dev/null && cmake --build --preset "$P" >/dev/null
names=("$@")
run_native() { echo "== native $1"; build/bench/bin/bench_"$1"; }
run_wine() {
  echo "== windows $1 (under Wine)"
  (cd build/$P/bin && ../wine/wine-run bench_"$1".exe)
}
TOP=$PWD ROOT=$PWD/build/$P/wine
tools/winenv.sh up "$ROOT" 0
trap '"$TOP/tools/winenv.sh" down "$ROOT"' EXIT
if [ ${#names[@]} -eq 0 ]; then
  # The benchmarks each build names (not their helpers, such as bench_empty_window.exe).
  mapfile -t native <build/bench/benchmarks.txt
  mapfile -t windows <"build/$P/benchmarks.txt"
  for n in "${native[@]}"; do [ -n "$n" ] && [ -x "build/bench/bin/bench_$n" ] && run_native "$n"; done
  for n in "${windows[@]}"; do [ -n "$n" ] && [ -f "build/$P/bin/bench_$n.exe" ] && run_wine "$n"; done
else
  for n in "${names[@]}"; do
    [ -x "build/bench/bin/bench_$n" ] && run_native "$n"
    [ -f "build/$P/bin/bench_$n.exe" ] && run_wine "$n"
  done
fi
exit 0
