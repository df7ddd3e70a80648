#!/bin/bash
# The Wine environment the Windows tests run in, kept under one folder:
#   winenv.sh up   ROOT [N]    make the prefix once, start Xvfb and a persistent wineserver
#                              (MIRABO_DISPLAY set: that display instead of Xvfb), and
#                              slots 1..N (default: the build's number, in ROOT/slots)
#   winenv.sh down ROOT        stop this folder's wine processes and the Xvfbs started by "up"
#   winenv.sh env  ROOT [SLOT] print the variables as shell exports (used by wine-run)
#
# Slot 0 is ROOT itself: the main job and the tests that may run side by side.
# Slots 1..N (N in ROOT/nslots, written by the build) are worlds of their own for
# the tests that take the focus, open boxes or own a single-instance name: each
# has its prefix (hard links to slot 0's system files, its own copy of what
# programs write), its Xvfb and its wineserver, so such tests run beside each
# other without meeting.
#
# Wine's session processes (services.exe, explorer.exe...) inherit the stdio of
# whoever starts them first; they are started here with stdio detached so that
# ctest never waits on a pipe they hold.
set -eu
cmd=${1:?usage: winenv.sh up|down|env ROOT [SLOT]}
ROOT=$(mkdir -p "${2:?ROOT}" && cd "$2" && pwd)
SLOT=${3:-0}

# win32, or win64 for the 64-bit test build on machines that run no 32-bit code
# (the build writes it to $ROOT/arch).
ARCH=$(cat "$ROOT/arch" 2>/dev/null || echo win32)
if [ "$ARCH" = win64 ]; then
  WINE=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64 LOADER=$WINE
else
  WINE=wine WINESERVER=wineserver LOADER=/usr/lib/wine/wine
fi
SLOTS=$(cat "$ROOT/nslots" 2>/dev/null || echo 0)
[ "$cmd" = up ] && SLOTS=${3:-$SLOTS}
LOCDIR=$ROOT/locale

dir_of() { if [ "$1" = 0 ]; then echo "$ROOT"; else echo "$ROOT/slot$1"; fi; }

wine_exports() {
  local d; d=$(dir_of "$1")
  # Wine's own messages are off; the tests keep those of a program that cannot
  # start (a DLL that does not load, a process that cannot be made).
  echo "export WINEPREFIX='$d/prefix' WINEARCH=$ARCH WINEDEBUG='${MIRABO_WINEDEBUG:--all}'"
  echo "export MIRABO_WINE='$WINE'"
  [ "$ARCH" = win64 ] && echo "export WINELOADER='$WINE' WINESERVER='$WINESERVER'"
  echo "export WINEDLLOVERRIDES='mscoree,mshtml='"
  # Code page 936: the zh_CN locale compiled into our own folder, no system change.
  # LC_ALL itself is set only for wine (see wine_locale), not in the shell.
  echo "export LOCPATH='$LOCDIR'"
  if [ -s "$d/display" ]; then
    echo "export DISPLAY='$(cat "$d/display")'"
  fi
}

# Runs a command with the zh_CN locale; env keeps bash itself out of it.
wine_locale() { env LC_ALL=zh_CN.UTF-8 "$@"; }

alive() { [ -s "$1" ] && kill -0 "$(cat "$1")" 2>/dev/null; }

# Whether a wineserver of this prefix listens: its socket lies in a folder
# named after the prefix's device and inode, under Wine's own folder in /tmp.
server_ready() {
  local s
  for s in /tmp/.wine-"$(id -u)"/"$1"/socket /tmp/wine-*/"$1"/socket; do
    [ -S "$s" ] && return 0
  done
  return 1
}

# Starts the persistent server and waits until it answers: a program started
# before that would start a server of its own, which ends seconds after its
# last program and takes the next program's start with it.
start_server() {
  local d=$1
  setsid "$WINESERVER" -p -f </dev/null >"$d/wineserver.log" 2>&1 8>&- 9>&- &
  echo $! >"$d/wineserver.pid"
  local name; name=$(printf 'server-%x-%x' $(stat -c '%d %i' "$WINEPREFIX"))
  for _ in $(seq 400); do
    server_ready "$name" && return 0
    alive "$d/wineserver.pid" || break
    sleep 0.025
  done
  echo "winenv: the wineserver of $WINEPREFIX did not start: $(head -c 300 "$d/wineserver.log")" >&2
  exit 1
}

stop_server() {
  local d=$1
  "$WINESERVER" -k </dev/null >/dev/null 2>&1 || true
  if [ -s "$d/wineserver.pid" ]; then
    local pid; pid=$(cat "$d/wineserver.pid")
    for _ in $(seq 200); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
    kill "$pid" 2>/dev/null || true
  fi
  rm -f "$d/wineserver.pid"
}

# A screen of the size a person's rarely falls below: the card table (1040 x 720)
# and its side panel stand whole on it, beside the maximised lobby.
start_xvfb() {
  local d=$1 n disp=""
  exec 8>/tmp/.mirabo-xvfb.lock
  flock 8
  for n in $(seq 90 250); do
    if [ ! -e /tmp/.X11-unix/X$n ] && [ ! -e /tmp/.X$n-lock ]; then disp=:$n; break; fi
  done
  [ -n "$disp" ] || { echo "winenv: no free X display" >&2; exit 1; }
  setsid Xvfb "$disp" -screen 0 1280x800x24 -nolisten tcp </dev/null >"$d/xvfb.log" 2>&1 8>&- 9>&- &
  echo $! >"$d/xvfb.pid"
  for _ in $(seq 200); do [ -e /tmp/.X11-unix/X${disp#:} ] && break; sleep 0.025; done
  flock -u 8
  [ -e /tmp/.X11-unix/X${disp#:} ] || { echo "winenv: Xvfb did not start: $(head -c 300 "$d/xvfb.log")" >&2; exit 1; }
  echo "$disp" >"$d/display"
}

# Sound stays on only for a person at a desktop whose machine has a sound card;
# elsewhere Wine's audio driver is off, so nothing is printed about sound and
# the programs run as with sound off.
want_audio() {
  [ -n "${MIRABO_DISPLAY:-}" ] && [ -z "${CI:-}" ] && grep -qE '^ *[0-9]+ \[' /proc/asound/cards 2>/dev/null
}

set_audio() {
  local want=off
  want_audio && want=on
  [ "$(cat "$ROOT/audio" 2>/dev/null)" = "$want" ] && return 0
  if [ $want = on ]; then
    wine_locale "$WINE" reg delete 'HKCU\Software\Wine\Drivers' /v Audio /f </dev/null >/dev/null 2>&1 || true
  else
    wine_locale "$WINE" reg add 'HKCU\Software\Wine\Drivers' /v Audio /d "" /f </dev/null >/dev/null 2>&1
  fi
  echo $want >"$ROOT/audio"
}

need() {
  local p
  for p in "$@"; do
    command -v "$p" >/dev/null 2>&1 || [ -x "$p" ] || { echo "winenv: $p is missing (scripts/setup.sh installs it)" >&2; exit 1; }
  done
}

# The prefix's fonts. Debian's Wine does not look in its own font folder, so
# its UI fonts (Marlett draws the caption buttons, Tahoma...) are copied into
# the prefix. With no SimSun, every face would fall back to WenQuanYi Zen Hei,
# whose small sizes lose strokes (greyscale forbidden, no hinting): the faces
# the programs ask for go to its sharp cut, with bitmap strikes at 12-16 px, as
# Windows would give SimSun (and SimSun through font linking for Arial's CJK).
REPLACED_FACES=(宋体 SimSun 新宋体 NSimSun 黑体 SimHei Arial)
set_fonts() {
  local fonts; fonts=$(dirname "$LOADER")/../../share/wine/fonts
  [ -d "$fonts" ] || fonts=/usr/share/wine/fonts
  [ -d "$fonts" ] || { echo "winenv: Wine's fonts are missing (package fonts-wine)" >&2; exit 1; }
  cp "$fonts"/* "$WINEPREFIX/drive_c/windows/Fonts/"
  local f reg=$ROOT/fonts.reg
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    for f in "${REPLACED_FACES[@]}"; do printf '"%s"="WenQuanYi Zen Hei Sharp"\r\n' "$f"; done
  } | iconv -f UTF-8 -t UTF-16 >"$reg"
  wine_locale "$WINE" regedit /S "Z:${reg//\//\\}" </dev/null >/dev/null 2>&1
}

# Slot 0: the prefix, made once (again when its form changes). A new prefix is
# booted, set up and its server stopped, so that the slots copy a registry that
# is written out.
PREFIX_FORMAT="prefix 3"
make_prefix() {
  eval "$(wine_exports 0)"
  [ "$(cat "$WINEPREFIX/.mirabo-ready" 2>/dev/null)" = "$PREFIX_FORMAT" ] && return 0
  if [ -d "$WINEPREFIX" ]; then
    stop_server "$ROOT"
    rm -rf "$WINEPREFIX"
  fi
  mkdir -p "$WINEPREFIX"
  rm -f "$ROOT/audio"
  start_server "$ROOT"
  wine_locale "$WINE" wineboot -i </dev/null >"$ROOT/wineboot.log" 2>&1
  # No crash dialog: a crashing test prints a backtrace and exits.
  wine_locale "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
  # With no window manager, Wine waits 2 s each time a window it manages
  # is hidden or destroyed: let it manage none.
  wine_locale "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
  # Tests have no sound; a person's run turns it on again (set_audio).
  wine_locale "$WINE" reg add 'HKCU\Software\Wine\Drivers' /v Audio /d "" /f </dev/null >/dev/null 2>&1
  echo off >"$ROOT/audio"
  set_fonts
  # The session that made the prefix runs a second set of services and
  # loses its desktop process later on, after which every program waits
  # seconds for a new one: start the test session afresh.
  stop_server "$ROOT"
  echo "$PREFIX_FORMAT" >"$WINEPREFIX/.mirabo-ready"
  rm -rf "$ROOT"/slot*/prefix
}

# Slot k's prefix: hard links to slot 0's system files, with copies of all
# that a program may write in place: the registry, the files at the top of the
# Windows folder (the lobby copies its DLLs there) and the users' folders
# (temporary files, the web cache's index, which every program maps and writes).
# A linked file written in one slot would change under a program of another.
SLOT_FORMAT=2
make_slot_prefix() {
  local d; d=$(dir_of "$1")
  [ "$(cat "$d/prefix/.mirabo-ready" 2>/dev/null)" = $SLOT_FORMAT ] && return 0
  if [ -d "$d/prefix" ]; then
    (eval "$(wine_exports "$1")" && stop_server "$d")
    rm -rf "$d/prefix"
  fi
  mkdir -p "$d"
  rm -rf "$d/prefix.new"
  cp -al "$ROOT/prefix" "$d/prefix.new"
  local f
  for f in "$d"/prefix.new/*.reg "$d"/prefix.new/drive_c/windows/*; do
    [ -f "$f" ] && [ ! -L "$f" ] && cp --remove-destination "$ROOT/prefix/${f#$d/prefix.new/}" "$f"
  done
  for f in users ProgramData; do
    [ -d "$ROOT/prefix/drive_c/$f" ] || continue
    rm -rf "$d/prefix.new/drive_c/$f"
    cp -a "$ROOT/prefix/drive_c/$f" "$d/prefix.new/drive_c/$f"
  done
  # A new file: the linked one is slot 0's own mark.
  rm -f "$d/prefix.new/.mirabo-ready"
  echo $SLOT_FORMAT >"$d/prefix.new/.mirabo-ready"
  mv "$d/prefix.new" "$d/prefix"
}

# Brings one slot's display, server and session up.
slot_up() {
  local k=$1 d; d=$(dir_of "$1")
  mkdir -p "$d"
  if [ "$k" = 0 ] && [ -n "${MIRABO_DISPLAY:-}" ]; then
    echo "$MIRABO_DISPLAY" >"$d/display"
  elif ! alive "$d/xvfb.pid"; then
    start_xvfb "$d"
  fi
  eval "$(wine_exports "$k")"
  if ! alive "$d/wineserver.pid"; then
    start_server "$d"
    wine_locale "$WINE" wineboot </dev/null >/dev/null 2>&1
  fi
  [ "$k" = 0 ] && set_audio
  return 0
}

up() {
  exec 9>"$ROOT/lock"
  flock 9
  need "$LOADER" "$WINESERVER" Xvfb localedef
  if [ ! -d "$LOCDIR/zh_CN.UTF-8" ]; then
    mkdir -p "$LOCDIR"
    localedef -i zh_CN -f UTF-8 "$LOCDIR/zh_CN.UTF-8" >/dev/null 2>&1 ||
      [ -d "$LOCDIR/zh_CN.UTF-8" ] || { echo "winenv: localedef could not make zh_CN.UTF-8 (package locales)" >&2; exit 1; }
  fi
  make_prefix
  local k pids=()
  for k in $(seq "$SLOTS"); do make_slot_prefix "$k"; done
  for k in $(seq 0 "$SLOTS"); do slot_up "$k" & pids+=($!); done
  local rc=0 p
  for p in "${pids[@]}"; do wait "$p" || rc=1; done
  # The processes started above hold the lock's descriptor: release it here.
  flock -u 9
  return $rc
}

# Every slot at once: a wineserver takes a second or two to end.
down() {
  local d k
  for d in "$ROOT" "$ROOT"/slot*; do
    [ -d "$d/prefix" ] || continue
    k=0; [ "$d" = "$ROOT" ] || k=${d##*/slot}
    (
      eval "$(wine_exports "$k")"
      stop_server "$d"
      if alive "$d/xvfb.pid"; then kill "$(cat "$d/xvfb.pid")" 2>/dev/null || true; fi
      rm -f "$d/xvfb.pid" "$d/display"
    ) &
  done
  wait
}

case $cmd in
  up) up ;;
  down) down ;;
  env) wine_exports "$SLOT" ;;
  *) echo "usage: winenv.sh up|down|env ROOT [SLOT]" >&2; exit 2 ;;
esac
