#!/bin/bash
# Refreshes the two screenshots at the top of the README from the loop: the
# lobby with a room open and the table in the middle of a hand. Run it when the
# art changes.
#
#   scripts/readme-shots.sh          run the loop headless (scripts/run.sh), then copy
#   scripts/readme-shots.sh DIR      copy from the screenshots a loop already left in DIR
#                                    (build/<preset>/loop, or the loop test's test-output/loop_path)
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -ge 1 ]; then
  SHOTS=$1
else
  env -u DISPLAY CI=1 scripts/run.sh
  SHOTS=build/$(scripts/wine-preset.sh)/loop
fi
mkdir -p docs/screenshots
copy() {  # stage, name in docs/screenshots
  local from
  from=$(ls "$SHOTS"/[0-9][0-9]_"$1".png 2>/dev/null | head -n 1)
  if [ -z "$from" ]; then
    echo "readme-shots: no screenshot of the stage '$1' in $SHOTS" >&2
    exit 1
  fi
  cp "$from" "docs/screenshots/$2"
  echo "readme-shots: $from -> docs/screenshots/$2"
}
copy lobby lobby-room.png
copy hint table-hand.png
