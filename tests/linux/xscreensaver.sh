#!/usr/bin/env bash
# The saver under the real XScreenSaver daemon (Debian's xscreensaver), as a user runs it:
# on two monitors (an 800x600 primary and a 640x480 to its right) and on one. The daemon
# makes a window on each monitor and starts a process in each; with -step 0 on the
# programs line, the monitors show exactly arcveil3d-render's frame for the daemon's
# blank time. With the plain programs line, a process stopped for 3 s is back in step
# with its neighbour within a second: the picture goes on across the seam again
# (tests/render/seam-lib.sh).
#   third argument: arcveil3d-render
source "$(dirname "$0")/xvfb-lib.sh"
source "$(dirname "$0")/daemon-lib.sh"
. "$(dirname "$0")/../render/seam-lib.sh"
RENDER="$3"
# shows_frame MONITORS...: each monitor of the screen shows exactly its part of the
# renderer's still frame for the blank time (what lies off every monitor is no one's).
shows_frame() {
  local monitor
  import -window root -depth 8 "$WORK/screen.png" 2>/dev/null || return 1
  for monitor in "$@"; do
    convert "$WORK/screen.png" -crop "$monitor" +repage "$WORK/shown.png"
    convert "$WORK/frame.png" -crop "$monitor" +repage "$WORK/meant.png"
    [ "$(compare -metric AE "$WORK/shown.png" "$WORK/meant.png" null: 2>&1)" = 0 ] || return 1
  done
}

start_xephyr +xinerama -extension RANDR -screen 800x600 -screen 640x480
start_daemon
programs "arcveil3d --root -step 0"
blank
"$RENDER" --size 1440x600 --monitors 800x600+0+0,640x480+800+0 --seed "$BLANK" --step 0 --frames 1 \
  --out "$WORK/frame.png" >/dev/null 2>&1
eventually 20 shows_frame 800x600+0+0 640x480+800+0 ||
  fail "two monitors do not show the renderer's frame for the blank time $BLANK: $(tail -3 "$DAEMON/log")"
unblank
echo "two monitors under the daemon: the renderer's frame for the blank time: ok"

# seams WHEN: the least seam ratio of five looks at the screen 0.1 s apart (the two
# processes draw apart: a look may catch one a frame or two ahead, a flash on one side).
seams() {
  local i
  for i in 1 2 3 4 5; do
    import -window root -depth 8 "$WORK/look.png" 2>/dev/null
    seam_ratio "$WORK/look.png" 800 0 480
    sleep 0.1
  done | sort -n | head -1 | tee -a "$WORK/seams.txt" | sed "s/^/$1: /"
}
below() { awk -v r="$1" -v limit="$2" 'BEGIN { exit !(r <= limit) }'; }
programs "arcveil3d --root"
blank
sleep 3
PROCESSES=($(processes))
[ ${#PROCESSES[@]} = 2 ] || fail "not a process per monitor: ${PROCESSES[*]}"
seams running
kill -STOP "${PROCESSES[1]}"
sleep 3
seams stopped
kill -CONT "${PROCESSES[1]}"
sleep 1
seams resumed
read -r running stopped resumed <<<"$(tr '\n' ' ' <"$WORK/seams.txt")"
below "$running" 2 && ! below "$stopped" 3 && below "$resumed" 2 ||
  fail "a process stopped for 3 s is not back in step within a second (seam ratios $running, $stopped, $resumed)"
unblank
echo "a process held up 3 s is back in step within a second: ok"

# One monitor.
start_xephyr -screen 800x600
start_daemon
programs "arcveil3d --root -step 0"
blank
"$RENDER" --size 800x600 --seed "$BLANK" --step 0 --frames 1 --out "$WORK/frame.png" >/dev/null 2>&1
eventually 20 shows_frame 800x600+0+0 || fail "one monitor does not show the renderer's frame for $BLANK"
unblank
echo "one monitor under the daemon: the renderer's frame for the blank time: ok"
