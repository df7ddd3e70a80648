#!/bin/bash
# scripts/setup.sh against stand-in apt-get, dpkg-query and dpkg first on PATH:
# a mirror mid-sync, i386 packages that cannot be installed, and a package the
# build needs that cannot be installed.
set -u
SETUP=$(cd "$(dirname "$0")/../.." && pwd)/scripts/setup.sh
W=$(mktemp -d)
trap 'rm -rf "$W"' EXIT
fails=0

# The stand-ins keep the "installed" packages in $W/installed, the packages
# that cannot be installed in $W/broken, and a log of the calls in $W/calls.
mkdir "$W/bin"
cat >"$W/bin/dpkg-query" <<'SH'
#!/bin/bash
grep -qxF -- "${@: -1}" "$STATE/installed" && printf installed || printf not-installed
SH
cat >"$W/bin/dpkg" <<'SH'
#!/bin/bash
echo "dpkg $*" >>"$STATE/calls"
[ "$1" = --print-foreign-architectures ] && cat "$STATE/arches" 2>/dev/null
[ "$1" = --add-architecture ] && echo "$2" >>"$STATE/arches"
exit 0
SH
cat >"$W/bin/apt-get" <<'SH'
#!/bin/bash
echo "apt-get $*" >>"$STATE/calls"
if [ "$1" = update ]; then
  [ -f "$STATE/update-fails" ] || exit 0
  echo "E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?" >&2
  echo "E: Some index files failed to download. They have been ignored, or old ones used instead." >&2
  exit 100
fi
pkgs=(); for a in "$@"; do case $a in install|-*) ;; *) pkgs+=("$a") ;; esac; done
for p in "${pkgs[@]}"; do
  if grep -qxF -- "$p" "$STATE/broken"; then
    echo "E: Unable to correct problems, you have held broken packages." >&2; exit 100
  fi
done
printf '%s\n' "${pkgs[@]}" >>"$STATE/installed"
SH
printf '#!/bin/bash\nexec "$@"\n' >"$W/bin/sudo"
chmod +x "$W/bin/"*

# run NAME: setup.sh with the stand-ins; sets out and rc
run() {
  export STATE=$W/$1
  out=$(PATH="$W/bin:$PATH" MIRABO_APT_PAUSE=0 bash "$SETUP" 2>&1); rc=$?
}
check() { if ! eval "$2"; then echo "FAIL $1: $2"; echo "$out" | sed 's/^/  | /'; fails=$((fails + 1)); fi; }
fresh() { mkdir -p "$W/$1"; : >"$W/$1/installed"; : >"$W/$1/broken"; }
all_pkgs() { sed -n '/^PKGS=(/,/^)/p' "$SETUP" | grep -v -e '^PKGS=(' -e '^)' -e '"\$@"' | tr ' ' '\n' | grep .; }
optional_pkgs() { sed -n 's/^PKGS_OPTIONAL=(\(.*\))$/\1/p' "$SETUP" | tr ' ' '\n' | grep .; }

# A mirror mid-sync on the i386 index: everything else installs, the run goes on.
fresh mirror; touch "$W/mirror/update-fails"; echo wine32:i386 >"$W/mirror/broken"
run mirror
check mirror '[ $rc -eq 0 ]'
check mirror '[ "$(all_pkgs | grep -cvxFf "$W/mirror/installed")" -eq 0 ]'
check mirror 'echo "$out" | grep -q "^setup: the package index is incomplete (Failed to fetch .*binary-i386/Packages.xz)"'
check mirror 'echo "$out" | grep -q "^setup: wine32:i386 cannot be installed: .*64-bit build (win64)"'
check mirror '[ "$(grep -c "apt-get update" "$W/mirror/calls")" -eq 1 ]'
check mirror 'grep -qx "dpkg --add-architecture i386" "$W/mirror/calls"'

# A package the build needs cannot be installed: the update is tried again,
# then the set-up ends with a line naming that package only.
fresh broken; echo xvfb >"$W/broken/broken"
run broken
check broken '[ $rc -eq 1 ]'
check broken 'echo "$out" | grep -qx "setup: cannot install xvfb, which the build needs; apt-get said:"'
check broken '[ "$(grep -c "apt-get update" "$W/broken/calls")" -eq 3 ]'

# Nothing missing: no apt-get at all, nothing said.
fresh done; { all_pkgs; optional_pkgs; echo wine32:i386; } >"$W/done/installed"
run done
check done '[ $rc -eq 0 ] && [ -z "$out" ] && [ ! -e "$W/done/calls" ]'

# What only a test uses cannot be installed: said in a line, the set-up goes on.
fresh optional; { all_pkgs; echo wine32:i386; } >"$W/optional/installed"; optional_pkgs >"$W/optional/broken"
run optional
check optional '[ $rc -eq 0 ] && echo "$out" | grep -q "^setup: tesseract-ocr .*cannot be installed: the tests that read the screen back are skipped"'

[ $fails -eq 0 ] && echo "setup_test: ok"
exit $((fails > 0))
