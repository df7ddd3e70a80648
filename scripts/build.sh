# Sourced by the scripts: configure and build a preset with its log in
# build/PRESET-build.log; on failure one line per configure error (a missing
# tool names its package) or the log's end, never CMake's call stacks.
mkdir -p build

# The messages of CMake's errors in a log, one line each, without CMake's call stacks.
cmake_errors() {
  awk '/^CMake Error/ {on = 1; msg = ""; next}
       on && (/^Call Stack/ || (/^$/ && msg != "")) {print msg; on = 0; next}
       on {sub(/^ +/, ""); if ($0 != "") msg = msg (msg == "" ? "" : " ") $0}' "$1" | sort -u
}

# build PRESET [TARGET]: configure and build; the log goes to build/PRESET-build.log.
build() {
  local preset=$1 log=build/$1-build.log
  shift
  if ! { cmake --preset "$preset" >"$log" 2>&1 && cmake --build --preset "$preset" "$@" -- -k 0 >>"$log" 2>&1; }; then
    # A configure error is one line each (a missing tool names its package);
    # a build error, the log's end.
    cmake_errors "$log" | grep . || tail -n 60 "$log"
    echo "== $preset: BUILD FAILED ($log)"
    return 1
  fi
}
