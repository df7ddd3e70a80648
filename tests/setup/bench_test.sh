#!/bin/bash
# scripts/bench.sh with no names, in a stand-in tree (cmake, the Wine world and
# the programs are stand-ins): it runs the benchmarks each build lists and no
# helper program beside them.
set -u
BENCH=$(cd "$(dirname "$0")/../.." && pwd)/scripts/bench.sh
W=$(mktemp -d)
trap 'rm -rf "$W"' EXIT
R=$W/repo
mkdir -p "$R/scripts" "$R/tools" "$R/build/bench/bin" "$R/build/windows/bin" "$R/build/windows/wine" "$W/bin"
cp "$BENCH" "$R/scripts/bench.sh"
printf '#!/bin/bash\nexit 0\n' | tee "$R/scripts/setup.sh" "$R/tools/winenv.sh" "$W/bin/cmake" >/dev/null
printf '#!/bin/bash\necho windows\n' >"$R/scripts/wine-preset.sh"
printf '#!/bin/bash\necho "ran $1"\n' >"$R/build/windows/wine/wine-run"
printf '#!/bin/bash\necho "ran bench_xml"\n' >"$R/build/bench/bin/bench_xml"
touch "$R/build/windows/bin/bench_loop.exe" "$R/build/windows/bin/bench_empty_window.exe"
printf 'xml\n' >"$R/build/bench/benchmarks.txt"
printf 'loop\n' >"$R/build/windows/benchmarks.txt"
chmod +x "$R/scripts/"*.sh "$R/tools/winenv.sh" "$W/bin/cmake" "$R/build/windows/wine/wine-run" "$R/build/bench/bin/bench_xml"

out=$(PATH="$W/bin:$PATH" bash "$R/scripts/bench.sh" 2>&1); rc=$?
fails=0
check() { if ! eval "$1"; then echo "FAIL: $1"; echo "$out" | sed 's/^/  | /'; fails=$((fails + 1)); fi; }
check '[ $rc -eq 0 ]'
check 'echo "$out" | grep -qx "ran bench_xml"'
check 'echo "$out" | grep -qx "ran bench_loop.exe"'
check '! echo "$out" | grep -q empty_window'
exit $fails
