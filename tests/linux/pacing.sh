#!/usr/bin/env bash
# Frames are counted, not timed: the test client counts the image uploads a software
# OpenGL makes, one a frame. -delay D allows at most T/D + 1 frames in T seconds, and
# -delay 0 many more; a window that is unmapped or fully covered gets none until it
# can be seen again: a window of its own, a foreign window drawn into, and a foreign
# window whose child carries the scene.
source "$(dirname "$0")/xvfb-lib.sh"
start_xvfb 320x240

start_host host 64x48
start_saver slow -window-id "$HOST_ID" -delay 200000
wait_scene "$HOST_ID" slow 64x48
slow=$("$XWIN" frames 1)
[ "$slow" -ge 1 ] && [ "$slow" -le 6 ] || fail "-delay 200000: $slow frames in 1 s"
kill "$SAVER_PID"
start_saver fast -window-id "$HOST_ID" -delay 0
wait_scene "$HOST_ID" fast 64x48
fast=$("$XWIN" frames 1)
[ "$fast" -gt 9 ] || fail "-delay 0: only $fast frames in 1 s"
echo "-delay 200000: $slow frames in 1 s; -delay 0: $fast: ok"

# hidden NAME HIDE SHOW: no frame while hidden, frames again once shown.
hidden() {
  $2
  sleep 0.15
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
start_saver child -window-id "$HOST_ID" -delay 0
wait_scene "$HOST_ID" child 64x48
hidden "foreign window with a child, unmapped" "xdotool windowunmap $HOST_ID" "xdotool windowmap $HOST_ID"
kill "$SAVER_PID"
start_saver own -window --size 64x48 -delay 0
own_window
wait_scene "$OWN" own 64x48
hidden "own window, unmapped" "xdotool windowunmap $OWN" "xdotool windowmap $OWN"
