#!/usr/bin/env bash
# The stand-alone saver (-s): a full-screen window on the current desktop mode with the
# pointer hidden, that ends at a pointer move away from the first position, a key, a
# button (not the wheel) or focus loss, and not at reports of the first position.
source "$(dirname "$0")/xvfb-lib.sh"
start_xvfb 160x120
# Another client's window, to take the focus away.
start_host other 32x24

# start_standalone NAME [arcveil3d options]: starts -s with the pointer at 40,30 and waits
# until its window covers the screen and has the focus; sets SAVER_WINDOW.
start_standalone() {
  local name="$1"
  shift
  # (--sync would wait for a move that does not come when the pointer is there already)
  xdotool mousemove 40 30
  start_saver "$name" "$@"
  local i
  SAVER_WINDOW=""
  for i in $(seq 150); do
    SAVER_WINDOW=$(xwininfo -root -children | sed -n 's/^ *\(0x[0-9a-f]*\) "Arcveil 3D": ()  160x120+0+0 .*/\1/p' | head -n1)
    if [ -n "$SAVER_WINDOW" ] && [ "$(printf '0x%x' "$(xdotool getwindowfocus)")" = "$SAVER_WINDOW" ]; then
      sleep 0.3
      return 0
    fi
    sleep 0.1
  done
  fail "$name: no focused full-screen window"
}

# ends_within NAME: the saver must end by itself, with status 0.
ends_within() {
  wait_exit "$SAVER_PID" 10
  [ "$EXIT_STATUS" = 0 ] || fail "$1: ended with $EXIT_STATUS"
  echo "$1: ended: ok"
}

# still_running NAME: the saver must still run a second later.
still_running() {
  sleep 1
  kill -0 "$SAVER_PID" 2>/dev/null || fail "$1: the saver ended"
}

start_standalone move -s
# The scene is there, the pointer is not.
wait_scene "$SAVER_WINDOW" standalone 160x120 30 >/dev/null
"$XWIN" cursor | grep -qx 'cursor hidden' || fail "the pointer shows over the saver"
# The pointer's place when the window appeared is the first position: the very first
# move away ends the saver.
xdotool mousemove 41 30
ends_within "first move, one pixel away"

start_standalone same -s
# Reports of the first position again, as X motion and as synthetic events, end nothing.
"$XWIN" motion "$SAVER_WINDOW" 40 30
xdotool mousemove 40 30
"$XWIN" motion "$SAVER_WINDOW" 40 30
still_running "first position again"
xdotool mousemove 40 31
ends_within "a move after reports of the first position"

start_standalone key /s
xdotool key a
ends_within "key"

start_standalone button -S
xdotool click 4
xdotool click 5
still_running "wheel"
xdotool click 3
ends_within "button"

start_standalone focus s
xdotool windowfocus "$HOST_ID"
ends_within "focus loss"

[ -z "$(cat "$WORK"/*.err)" ] || fail "stderr: $(cat "$WORK"/*.err)"
