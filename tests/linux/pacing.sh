#!/usr/bin/env bash
# Frames are counted, not timed: the test client counts the image uploads a software
# OpenGL makes, one a frame. (An unmapped parent X does not tell: the saver looks once a
# second.)
source "$(dirname "$0")/xvfb-lib.sh"
start_xvfb 320x240

start_host host 64x48
host_scene slow 64x48 -delay 200000
slow=$("$XWIN" frames 1)
[ "$slow" -ge 1 ] && [ "$slow" -le 6 ] || fail "-delay 200000: $slow frames in 1 s"
kill "$SAVER_PID"
host_scene fast 64x48 -delay 0
fast=$("$XWIN" frames 1)
[ "$fast" -gt 9 ] || fail "-delay 0: only $fast frames in 1 s"
echo "-delay 200000: $slow frames in 1 s; -delay 0: $fast: ok"

# hidden NAME HIDE SHOW [SECONDS]: no frame while hidden (after that long), frames again
# once shown.
hidden() {
  $2
  sleep "${4:-0.15}"
  local none shown
  none=$("$XWIN" frames 0.3)
  $3
  sleep 0.15
  shown=$("$XWIN" frames 0.3)
  [ "$none" = 0 ] && [ "$shown" -gt 0 ] || fail "$1: $none frames hidden, $shown shown"
  echo "$1: ok"
}
cover() { start_host cover 320x240; }
uncover() { kill "$HOST_PID"; }

hidden "foreign window, covered" cover uncover
kill "$SAVER_PID"
start_host plain 64x48 --plain-visual
host_scene child 64x48 -delay 0
hidden "foreign window with a child, unmapped" "xdotool windowunmap $HOST_ID" "xdotool windowmap $HOST_ID"
kill "$SAVER_PID"
own_scene own 64x48 --size 64x48 -delay 0
hidden "own window, unmapped" "xdotool windowunmap $OWN" "xdotool windowmap $OWN"
kill "$SAVER_PID"

start_host parent 100x80
start_host inner 64x48
PARENT_ID=$(head -n1 "$WORK/parent.id")
xdotool windowreparent "$HOST_ID" "$PARENT_ID"
host_scene inner 64x48 -delay 0
hidden "foreign window, parent unmapped" "xdotool windowunmap $PARENT_ID" "xdotool windowmap $PARENT_ID" 1.2
kill "$SAVER_PID"

start_host slowest 64x48 # magenta until the new saver's first frame
host_scene slowest 64x48 -delay 10000000
cover
{ sleep 0.4; uncover; } &
[ "$("$XWIN" frames 1.2)" -ge 1 ] || fail "uncovered with -delay 10000000: no frame in 0.8 s"
echo "uncovered: a frame at once: ok"
