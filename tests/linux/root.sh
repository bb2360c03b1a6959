#!/usr/bin/env bash
# -root draws into the window XScreenSaver names in XSCREENSAVER_WINDOW (hexadecimal or
# decimal), and into the root window when nothing is named.
source "$(dirname "$0")/xvfb-lib.sh"
start_xvfb 128x96

start_host hex 112x84
XSCREENSAVER_WINDOW="$HOST_ID" start_saver hex -root
wait_scene "$HOST_ID" hex 112x84 30 >/dev/null
kill "$SAVER_PID" "$HOST_PID"
echo "XSCREENSAVER_WINDOW in hex: ok"

start_host decimal 80x60
XSCREENSAVER_WINDOW="$((HOST_ID))" start_saver decimal -root
wait_scene "$HOST_ID" decimal 80x60 30 >/dev/null
kill "$SAVER_PID"
echo "XSCREENSAVER_WINDOW in decimal: ok"

# The test windows are gone: the root window itself shows the scene.
kill "$HOST_PID"
ROOT_ID=$(xwininfo -root | sed -n 's/^xwininfo: Window id: \(0x[0-9a-f]*\).*/\1/p')
env -u XSCREENSAVER_WINDOW "$SAVER" -root >"$WORK/root.out" 2>"$WORK/root.err" &
SAVER_PID=$!
PIDS+=("$SAVER_PID")
# The root's own background is black here, not the test windows' colour.
for i in $(seq 120); do
  props="$(scene_of "$ROOT_ID" root)"
  if ! grep -q '^redband none' <<<"$props" && [ "$(sed -n 's/^colours //p' <<<"$props")" -gt 50 ]; then
    break
  fi
  sleep 0.25
done
grep -q '^redband none' <<<"$props" && fail "the root window does not show the scene: $props"
echo "root window: ok"
