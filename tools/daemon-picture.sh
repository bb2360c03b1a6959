#!/usr/bin/env bash
# Makes docs/daemon.png: what the real XScreenSaver daemon shows on two monitors (an
# 800x600 primary and a 640x480 to its right), above arcveil3d-render's frame of the same
# blanking. The daemon runs the plain programs line; a few seconds in, its two processes
# are stopped, the screen is taken, and the frames of the blanking's run that the monitors
# show are found among the renderer's frames, exactly (what lies off the monitors is no one's).
#   tools/daemon-picture.sh [native build folder (build/native)] [seconds (6)]
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
build="$top/${1:-build/native}"
seconds=${2:-6}
set -- "$build/linux/arcveil3d" none
source tests/linux/xvfb-lib.sh
source tests/linux/daemon-lib.sh
start_xephyr +xinerama -extension RANDR -screen 800x600 -screen 640x480
start_daemon
programs "arcveil3d --root"
blank
sleep "$seconds"
processes | xargs kill -STOP
sleep 0.5
due=$(( ($(date +%s%3N) - BLANK * 1000) / 20 ))
import -window root -depth 8 "$WORK/screen.png"
processes | xargs kill -CONT
unblank
# Off the monitors: black in both.
off() { convert "$1" -fill black -draw 'rectangle 800,480 1439,599' "$2"; }
off "$WORK/screen.png" "$WORK/shown.png"
"$build/tools/render/arcveil3d-render" --size 1440x600 --monitors 800x600+0+0,640x480+800+0 --seed "$BLANK" \
  --step 0.02 --frames "$due" --out "$WORK/frame%06d.png" >/dev/null 2>&1
# frame_of CROP: the frame of the run that part of the screen shows, or nothing.
frame_of() {
  local n
  convert "$WORK/screen.png" -crop "$1" +repage "$WORK/part.png"
  for ((n = due; n > due - 100 && n > 0; n--)); do
    convert "$(printf "$WORK/frame%06d.png" $((n - 1)))" -crop "$1" +repage "$WORK/meant.png" # numbered from 0
    [ "$(compare -metric AE "$WORK/part.png" "$WORK/meant.png" null: 2>&1)" != 0 ] || { echo "$n"; return; }
  done
}
first=$(frame_of 800x600+0+0)
second=$(frame_of 640x480+800+0)
[ -n "$first" ] && [ -n "$second" ] || fail "the screen is none of the renderer's frames $((due - 99)) to $due"
echo "the primary shows frame $first, the other monitor frame $second"
# Below the screen, each monitor's part of the frame it shows, both halved.
off() { convert "$1" -fill black -draw 'rectangle 800,480 1439,599' "$2"; }
off "$WORK/screen.png" "$WORK/shown.png"
convert "$(printf "$WORK/frame%06d.png" $((first - 1)))" \( "$(printf "$WORK/frame%06d.png" $((second - 1)))" \
  -crop 640x480+800+0 \) -geometry +800+0 -composite "$WORK/replayed.png"
off "$WORK/replayed.png" "$WORK/replayed.png"
convert "$WORK/shown.png" "$WORK/replayed.png" -append -resize 50% "$WORK/both.png"
convert "$WORK/both.png" -strip -colors 128 "PNG8:$top/docs/daemon.png"
echo "docs/daemon.png: the screen above, frames $first and $second of the blanking at $BLANK below"
