#!/usr/bin/env bash
# The stand-alone saver (-s, --s or /S, anywhere on the line): a full-screen window on
# the current desktop mode, that ends at once, whatever -delay, at a pointer move away
# from where the pointer was when it started, a key, a button (not the wheel) or a loss
# of focus.
source "$(dirname "$0")/xvfb-lib.sh"
start_xvfb 160x120
start_host other 32x24 # another client's window, to take the focus away

focused() {
  SAVER_WINDOW=$(xwininfo -root -children | sed -n 's/^ *\(0x[0-9a-f]*\) "Arcveil 3D": ([^)]*)  160x120+0+0 .*/\1/p')
  [ -n "$SAVER_WINDOW" ] && [ "$(printf '0x%x' "$(xdotool getwindowfocus)")" = "$SAVER_WINDOW" ]
}
# NAME|options|what is done before the input that ends it|that input
while IFS='|' read -r name options before input; do
  xdotool mousemove 40 30
  start_saver "$name" $options -delay 10000000
  eventually 15 focused || fail "$name: no focused full-screen window"
  [ "$name" != move ] || wait_scene "$SAVER_WINDOW" standalone 160x120
  sleep 0.3
  if [ -n "$before" ]; then
    $before
    sleep 0.5
    gone "$SAVER_PID" && fail "$name: ended by '$before'"
  fi
  $input
  wait_exit "$SAVER_PID" 5 0
  echo "$name: ended: ok"
done <<EOF2
move|-no-rain -s||xdotool mousemove 41 30
key|--s||xdotool key a
button|-fps /S|xdotool click 4 click 5|xdotool click 3
focus|-S||xdotool windowfocus $HOST_ID
EOF2
[ -z "$(cat "$WORK"/*.err)" ] || fail "stderr: $(cat "$WORK"/*.err)"
