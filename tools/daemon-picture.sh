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
look screen
processes | xargs kill -CONT
unblank
replay "$build/tools/render/arcveil3d-render" "$DUE"
first=$(frame_of screen 800x600+0+0 "$DUE")
second=$(frame_of screen 640x480+800+0 "$DUE")
[ -n "$first" ] && [ -n "$second" ] || fail "the screen is none of the renderer's frames $((DUE - 149)) to $DUE"
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
