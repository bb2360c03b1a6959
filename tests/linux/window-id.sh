#!/usr/bin/env bash
# -window-id on a window another client owns: the scene appears in it, follows its
# size, and the saver ends when the window goes. Both the window's own visual and a
# visual OpenGL cannot use (the scene then goes into a child window) are covered.
source "$(dirname "$0")/xvfb-lib.sh"
start_xvfb 400x300

for variant in own-visual plain-visual; do
  options=()
  [ "$variant" = plain-visual ] && options=(--plain-visual)
  start_host "$variant" 160x120 "${options[@]}"
  start_saver "$variant" -window-id "$HOST_ID"
  wait_scene "$HOST_ID" "$variant-first" 160x120 30 >/dev/null
  xdotool windowsize "$HOST_ID" 256 96
  wait_scene "$HOST_ID" "$variant-resized" 256x96 30 >/dev/null
  kill "$HOST_PID"
  wait_exit "$SAVER_PID" 10
  [ "$EXIT_STATUS" = 0 ] || fail "$variant: the saver ended with $EXIT_STATUS when its window went"
  [ ! -s "$WORK/$variant.err" ] || fail "$variant: stderr: $(cat "$WORK/$variant.err")"
  echo "$variant: ok"
done

# A decimal id names the same window.
start_host decimal 96x72
start_saver decimal -window-id "$((HOST_ID))"
wait_scene "$HOST_ID" decimal 96x72 30 >/dev/null
echo "decimal id: ok"

# -window: a window of its own that follows the size the user (or a window manager)
# gives it, and ends when it is closed.
kill "$HOST_PID"
start_saver own -window --size 120x90
OWN=""
for i in $(seq 100); do
  OWN=$(xwininfo -root -children | sed -n 's/^ *\(0x[0-9a-f]*\) "Arcveil 3D": .*/\1/p' | head -n1)
  [ -n "$OWN" ] && break
  sleep 0.1
done
[ -n "$OWN" ] || fail "-window: no window"
wait_scene "$OWN" own-first 120x90 30 >/dev/null
xdotool windowsize "$OWN" 200 100
wait_scene "$OWN" own-resized 200x100 30 >/dev/null
xdotool windowclose "$OWN"
wait_exit "$SAVER_PID" 10
[ "$EXIT_STATUS" = 0 ] || fail "-window: ended with $EXIT_STATUS when its window was closed"
echo "own window: ok"
