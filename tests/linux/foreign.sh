#!/usr/bin/env bash
# XScreenSaver's ways of running a module: -window-id on another client's window (a plain
# visual's gets a child window), -root into $XSCREENSAVER_WINDOW or the root window.
source "$(dirname "$0")/xvfb-lib.sh"
start_xvfb 400x300

for visual in "" --plain-visual --single-buffered; do
  start_host "host$visual" 160x120 $visual
  if [ -z "$visual" ]; then
    XSCREENSAVER_WINDOW="$HOST_ID" start_saver "root$visual" -root
  else
    start_saver "window-id$visual" -window-id "$HOST_ID"
  fi
  wait_scene "$HOST_ID" "first$visual" 160x120
  # A window that cannot carry the scene gets a child that can; one that can, none.
  children=$(xwininfo -id "$HOST_ID" -children | grep -c '^ *0x' || true)
  [ "$children" = "$([ -z "$visual" ] && echo 0 || echo 1)" ] || fail "$visual: $children child windows"
  xdotool windowsize "$HOST_ID" 256 96
  wait_scene "$HOST_ID" "resized$visual" 256x96
  kill "$HOST_PID"
  wait_exit "$SAVER_PID" 10 0 # the window went
  echo "foreign window $visual: ok"
done

# --vanish: the owner destroys its window as soon as the saver makes a child in it.
for try in 1 2 3; do
  start_host "vanish$try" 64x48 --vanish
  timeout 20 "$SAVER" -window-id "$HOST_ID" 2>"$WORK/vanish$try.err" && got=0 || got=$?
  [ "$got" = 0 ] && [ ! -s "$WORK/vanish$try.err" ] || fail "vanished window: status $got: $(cat "$WORK/vanish$try.err")"
done
echo "vanished window: ok"

# The test windows are gone: the root window itself (black here) shows the scene.
frame_in root rootwindow -root --frames 3
[ "$(identify -format '%k' "$WORK/rootwindow.ppm")" -gt 50 ] || fail "the root window does not show the scene"
[ -z "$(cat "$WORK"/*.err)" ] || fail "stderr: $(cat "$WORK"/*.err)"
echo "root window: ok"
