#!/usr/bin/env bash
# The saver under the real XScreenSaver daemon (Debian's xscreensaver), on two monitors
# and on one: the renderer's frame for the blank time, and processes in step.
#   third argument: arcveil3d-render
source "$(dirname "$0")/xvfb-lib.sh"
source "$(dirname "$0")/daemon-lib.sh"
RENDER="$3"
# shows_part CROP: that part of the screen is that part of the renderer's frame.
shows_part() { [ "$(compare -metric AE "$WORK/screen.png[$1]" "$WORK/frame.png[$1]" null: 2>&1)" = 0 ]; }
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

# With the plain line, one process stopped for 3 s: both stopped 1.7 s in, the monitors
# show frames far apart; resumed, a second later they show frames at most 0.5 s apart.
programs "arcveil3d --root"
blank
sleep 1
PROCESSES=($(processes))
[ ${#PROCESSES[@]} = 2 ] || fail "not a process per monitor: ${PROCESSES[*]}"
kill -STOP "${PROCESSES[1]}"
sleep 1.2
look stopped
STOPPED_DUE=$DUE
kill -CONT "${PROCESSES[0]}"
sleep 1
kill -CONT "${PROCESSES[1]}"
sleep 1
look resumed
processes | xargs kill -CONT
unblank
replay "$RENDER" "$DUE"
apart() {
  local a b
  a=$(frame_of "$1" 800x600+0+0 "$2") b=$(frame_of "$1" 640x480+800+0 "$2")
  [ -n "$a" ] && [ -n "$b" ] && echo $((a > b ? a - b : b - a))
}
stopped=$(apart stopped "$STOPPED_DUE") || true
resumed=$(apart resumed "$DUE") || true
[ "${stopped:-0}" -ge 40 ] && [ -n "$resumed" ] && [ "$resumed" -le 25 ] ||
  fail "a process stopped for 3 s is not back in step within a second: frames ${stopped:-?} apart, then ${resumed:-?}"
echo "a process held up 3 s is back in step within a second: $stopped frames apart, then $resumed: ok"

start_xephyr -screen 800x600
still_frame 800x600
