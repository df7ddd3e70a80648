#!/bin/bash
# The Wine environment the Windows tests run in, kept under one folder:
#   winenv.sh up   ROOT   make the prefix once, start Xvfb and a persistent wineserver
#                         (MIRABO_DISPLAY set: that display instead of Xvfb)
#   winenv.sh down ROOT   stop this prefix's wine processes and the Xvfb started by "up"
#   winenv.sh env  ROOT   print the variables as shell exports (used by wine-run)
#
# Wine's session processes (services.exe, explorer.exe...) inherit the stdio of
# whoever starts them first; they are started here with stdio detached so that
# ctest never waits on a pipe they hold.
set -eu
cmd=${1:?usage: winenv.sh up|down|env ROOT}
ROOT=$(mkdir -p "${2:?ROOT}" && cd "$2" && pwd)

PREFIX=$ROOT/prefix
LOCDIR=$ROOT/locale
# win32, or win64 for the 64-bit test build on machines that run no 32-bit code
# (the build writes it to $ROOT/arch).
ARCH=$(cat "$ROOT/arch" 2>/dev/null || echo win32)
if [ "$ARCH" = win64 ]; then
  WINE=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
else
  WINE=wine WINESERVER=wineserver
fi

wine_exports() {
  echo "export WINEPREFIX='$PREFIX' WINEARCH=$ARCH WINEDEBUG=-all"
  echo "export MIRABO_WINE='$WINE'"
  [ "$ARCH" = win64 ] && echo "export WINELOADER='$WINE' WINESERVER='$WINESERVER'"
  echo "export WINEDLLOVERRIDES='mscoree,mshtml='"
  # Code page 936: the zh_CN locale compiled into our own folder, no system change.
  # LC_ALL itself is set only for wine (see wine_locale), not in the shell.
  echo "export LOCPATH='$LOCDIR'"
  if [ -s "$ROOT/display" ]; then
    echo "export DISPLAY='$(cat "$ROOT/display")'"
  fi
}

# Runs a command with the zh_CN locale; env keeps bash itself out of it.
wine_locale() { env LC_ALL=zh_CN.UTF-8 "$@"; }

alive() { [ -s "$1" ] && kill -0 "$(cat "$1")" 2>/dev/null; }

start_server() {
  setsid "$WINESERVER" -p -f </dev/null >/dev/null 2>&1 &
  echo $! >"$ROOT/wineserver.pid"
}

stop_server() {
  if alive "$ROOT/wineserver.pid"; then
    "$WINESERVER" -k </dev/null >/dev/null 2>&1 || true
    local pid; pid=$(cat "$ROOT/wineserver.pid")
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
    kill "$pid" 2>/dev/null || true
  fi
  rm -f "$ROOT/wineserver.pid"
}

up() {
  exec 9>"$ROOT/lock"
  flock 9
  if [ ! -d "$LOCDIR/zh_CN.UTF-8" ]; then
    mkdir -p "$LOCDIR"
    localedef -i zh_CN -f UTF-8 "$LOCDIR/zh_CN.UTF-8" >/dev/null 2>&1 || true
  fi
  if [ -n "${MIRABO_DISPLAY:-}" ]; then
    echo "$MIRABO_DISPLAY" >"$ROOT/display"
  elif ! alive "$ROOT/xvfb.pid"; then
    local n disp=""
    for n in $(seq 90 160); do
      if [ ! -e /tmp/.X11-unix/X$n ] && [ ! -e /tmp/.X$n-lock ]; then disp=:$n; break; fi
    done
    [ -n "$disp" ] || { echo "winenv: no free X display" >&2; exit 1; }
    setsid Xvfb "$disp" -screen 0 1024x768x24 -nolisten tcp </dev/null >"$ROOT/xvfb.log" 2>&1 &
    echo $! >"$ROOT/xvfb.pid"
    for _ in $(seq 100); do [ -e /tmp/.X11-unix/X${disp#:} ] && break; sleep 0.05; done
    echo "$disp" >"$ROOT/display"
  fi
  eval "$(wine_exports)"
  if ! alive "$ROOT/wineserver.pid"; then
    mkdir -p "$PREFIX"
    if [ ! -f "$PREFIX/.mirabo-ready" ]; then
      start_server
      wine_locale "$WINE" wineboot -i </dev/null >"$ROOT/wineboot.log" 2>&1
      # No crash dialog: a crashing test prints a backtrace and exits.
      wine_locale "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
      # With no window manager, Wine waits 2 s each time a window it manages
      # is hidden or destroyed: let it manage none.
      wine_locale "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
      touch "$PREFIX/.mirabo-ready"
      # The session that made the prefix runs a second set of services and
      # loses its desktop process later on, after which every program waits
      # seconds for a new one: start the test session afresh.
      stop_server
    fi
    start_server
    wine_locale "$WINE" wineboot </dev/null >/dev/null 2>&1
  fi
  # The processes started above hold the lock's descriptor: release it here.
  flock -u 9
}

down() {
  eval "$(wine_exports)"
  stop_server
  if alive "$ROOT/xvfb.pid"; then kill "$(cat "$ROOT/xvfb.pid")" 2>/dev/null || true; fi
  rm -f "$ROOT/xvfb.pid" "$ROOT/display"
}

case $cmd in
  up) up ;;
  down) down ;;
  env) wine_exports ;;
  *) echo "usage: winenv.sh up|down|env ROOT" >&2; exit 2 ;;
esac
