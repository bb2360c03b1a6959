# Sourced by the Linux saver's end-to-end scripts: tests/shell-lib.sh, a private settings
# folder, and the steps the scripts share.
#   SAVER: the arcveil3d program; XWIN: the test X client (tests/linux/XTestWindow.cpp)
set -euo pipefail
SAVER="$1"
XWIN="$2"
source "$(dirname "${BASH_SOURCE[0]}")/../shell-lib.sh"
export XDG_CONFIG_HOME="$WORK/config"
SETTINGS="$XDG_CONFIG_HOME/arcveil3d/settings.ini"
# A shader cache beside the program: every start after the first skips compiling.
export MESA_SHADER_CACHE_DIR="$(dirname "$SAVER")/mesa-shader-cache"
# Mesa and Xlib keep memory to the end that LeakSanitizer would report (sanitizer builds).
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
export SDL_AUDIODRIVER=dummy
unset XSCREENSAVER_WINDOW # -root draws into the root window unless a test names one

# start_host NAME WxH [--plain-visual]: a magenta window owned by the test client; sets
# HOST_ID and HOST_PID (killing it removes the window).
start_host() {
  "$XWIN" create "${@:2}" >"$WORK/$1.id" &
  HOST_PID=$!
  PIDS+=("$HOST_PID")
  eventually 10 grep -q '^0x' "$WORK/$1.id" || fail "the test window did not appear"
  HOST_ID="$(head -n1 "$WORK/$1.id")"
}

# start_saver LOG args...: arcveil3d in the background; sets SAVER_PID.
start_saver() {
  "$SAVER" "${@:2}" >"$WORK/$1.out" 2>"$WORK/$1.err" &
  SAVER_PID=$!
  PIDS+=("$SAVER_PID")
}

# wait_exit PID SECONDS [STATUS]: the process ended in time (with STATUS), its EXIT_STATUS.
gone() { ! kill -0 "$1" 2>/dev/null; }
wait_exit() {
  eventually "$2" gone "$1" || fail "process $1 did not end within $2 s"
  EXIT_STATUS=0
  wait "$1" || EXIT_STATUS=$?
  [ -z "${3:-}" ] || [ "$EXIT_STATUS" = "$3" ] || fail "process $1 ended with $EXIT_STATUS, not $3"
}

# stop_saver [STATUS]: SIGTERM (as XScreenSaver ends its modules), then wait_exit.
stop_saver() { kill "$SAVER_PID" && wait_exit "$SAVER_PID" 10 "$@"; }

# own_window: sets OWN to the saver's own top-level window, waiting for it.
find_own() {
  OWN=$(xwininfo -root -children | sed -n 's/^ *\(0x[0-9a-f]*\) "Arcveil 3D".*/\1/p' | head -n1)
  [ -n "$OWN" ]
}
own_window() { eventually 15 find_own || fail "no window of the saver's own"; }

# capture WINDOW NAME: the window's picture as NAME.ppm (timed: import waits for a click
# when the window is gone).
capture() { timeout 10 import -window "$1" -depth 8 "$WORK/$2.ppm"; }

# wait_scene WINDOW NAME WxH: waits until the window shows the scene at that size: many
# colours, out to its right edge, and nothing of the test windows' magenta.
shows_scene() {
  capture "$1" "$2" 2>/dev/null && [ "$(identify -format '%wx%h' "$WORK/$2.ppm")" = "$3" ] &&
    [ "$(identify -format '%k' "$WORK/$2.ppm")" -gt 50 ] &&
    [ "$(convert "$WORK/$2.ppm" -gravity east -crop 20%x100%+0+0 -format '%k' info:)" -gt 20 ] &&
    [ "$(convert "$WORK/$2.ppm" -fill black +opaque '#ff00ff' -format '%[fx:maxima.r]' info:)" = 0 ]
}
wait_scene() { eventually 30 shows_scene "$@" || fail "$2: no scene at $3"; }
# own_scene NAME WxH args...: start_saver NAME -window args..., until OWN shows the scene.
own_scene() {
  start_saver "$1" -window "${@:3}"
  own_window
  wait_scene "$OWN" "$1" "$2"
}
# host_scene NAME WxH args...: start_saver NAME -window-id HOST_ID args..., until it shows.
host_scene() {
  start_saver "$1" -window-id "$HOST_ID" "${@:3}"
  wait_scene "$HOST_ID" "$1" "$2"
}
# frame_in WINDOW NAME args...: a run that ends by itself (--frames), then WINDOW's picture.
frame_in() {
  "$SAVER" "${@:3}" >"$WORK/$2.out" 2>"$WORK/$2.err" || fail "$2: $(cat "$WORK/$2.err")"
  capture "$1" "$2"
}

same() { cmp -s "$WORK/$1.ppm" "$WORK/$2.ppm"; }
