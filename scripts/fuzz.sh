#!/bin/bash
# Runs the libFuzzer targets (clang, native) for a bounded time each.
#   scripts/fuzz.sh [SECONDS] [TARGET...]     default: 60 s, every target
# Each target starts from tests/fuzz/corpus/<target>; what it finds lands in
# tests/fuzz/findings/<target>/ (ignored by git: a finding becomes a test).
set -euo pipefail
cd "$(dirname "$0")/.."
secs=${1:-60}
shift || true
scripts/setup.sh clang libclang-rt-14-dev
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in build/fuzz/bin/fuzz_*; do [ -x "$f" ] && targets+=("${f##*/fuzz_}"); done
fi
rc=0
for t in "${targets[@]}"; do
  work=build/fuzz/corpus/$t findings=tests/fuzz/findings/$t
  mkdir -p "$work" "$findings"
  [ -d "tests/fuzz/corpus/$t" ] && cp -n tests/fuzz/corpus/"$t"/* "$work"/ 2>/dev/null || true
  echo "== fuzz $t for ${secs}s"
  if ! build/fuzz/bin/fuzz_"$t" -max_total_time="$secs" -print_final_stats=1 \
       -artifact_prefix="$findings/" "$work" 2>"build/fuzz/$t.log"; then
    echo "== fuzz $t: FINDING (see $findings and build/fuzz/$t.log)"
    rc=1
  fi
  grep -E 'stat::number_of_executed_units|Done' "build/fuzz/$t.log" | tail -2 || true
done
exit $rc
