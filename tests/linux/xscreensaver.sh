#!/usr/bin/env bash
# The saver under the real XScreenSaver daemon (Debian's xscreensaver), on two monitors
# and on one: the renderer's frame for the blank time, and processes in step.
#   third argument: arcveil3d-render
source "$(dirname "$0")/xvfb-lib.sh"
source "$(dirname "$0")/daemon-lib.sh"
. "$(dirname "$0")/../render/seam-lib.sh"
RENDER="$3"
# shows_part CROP: that part of the screen is that part of the renderer's frame.
shows_part() {
  convert "$WORK/screen.png" -crop "$1" +repage "$WORK/shown.png" && convert "$WORK/frame.png" -crop "$1" +repage \
    "$WORK/meant.png" && [ "$(compare -metric AE "$WORK/shown.png" "$WORK/meant.png" null: 2>&1)" = 0 ]
}
shows_frame() { import -window root -depth 8 "$WORK/screen.png" 2>/dev/null && shows_part 800x600+0+0 && { [ -z "$1" ] || shows_part 640x480+800+0; }; }
# still_frame SIZE [LAYOUT]: under the -step 0 line, each monitor shows exactly its part of
# the renderer's frame for the blank time (what lies off every monitor is no one's).
still_frame() {
  start_daemon
  programs "arcveil3d --root -step 0"
  blank
  "$RENDER" --size "$1" ${2:+--monitors "$2"} --seed "$BLANK" --step 0 --frames 1 --out "$WORK/frame.png" >/dev/null 2>&1
  eventually 20 shows_frame "${2:-}" || fail "$1 does not show the renderer's frame for $BLANK: $(tail -3 "$DAEMON/log")"
  unblank
  echo "${2:-$1} under the daemon: the renderer's frame for the blank time: ok"
}
start_xephyr +xinerama -extension RANDR -screen 800x600 -screen 640x480
still_frame 1440x600 800x600+0+0,640x480+800+0

# seams WHEN LOOKS: the least seam ratio of that many looks at the screen. The processes
# draw apart: two frames' steps apart read up to 3 already, a look catching one ahead;
# pictures seconds apart read 4.5 or more.
seams() {
  for i in $(seq "$2"); do
    import -window root -depth 8 "$WORK/look.png" 2>/dev/null && seam_ratio "$WORK/look.png" 800 0 480
  done | sort -n | head -1 | tee -a "$WORK/seams.txt" | sed "s/^/$1: /"
}
programs "arcveil3d --root"
blank
sleep 3
PROCESSES=($(processes))
[ ${#PROCESSES[@]} = 2 ] || fail "not a process per monitor: ${PROCESSES[*]}"
seams running 10
kill -STOP "${PROCESSES[1]}"
sleep 3 &
sleep 1.5
seams stopped 2
wait $!
kill -CONT "${PROCESSES[1]}"
sleep 1
seams resumed 10
awk '{ r[NR] = $1 } END { exit !(r[1] <= 3 && r[2] > 4 && r[3] <= 3) }' "$WORK/seams.txt" ||
  fail "a process stopped for 3 s is not back in step within a second (seam ratios $(tr '\n' ' ' <"$WORK/seams.txt"))"
unblank
echo "a process held up 3 s is back in step within a second: ok"

start_xephyr -screen 800x600
still_frame 800x600
