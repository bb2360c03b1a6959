# Sourced by the Linux saver's end-to-end scripts. Each script runs on its own Xvfb,
# started on a free display (-displayfd) and stopped by its PID, with its own settings
# folder, and cleans up every process it started.
#   SAVER: the arcveil3d program; XWIN: the test X client (tests/linux/XTestWindow.cpp)
set -euo pipefail

SAVER="$1"
XWIN="$2"
WORK="$(mktemp -d /tmp/arcveil-linux-test.XXXXXX)"
export XDG_CONFIG_HOME="$WORK/config"
export MESA_SHADER_CACHE_DISABLE=true
# Mesa and Xlib keep memory to the end that LeakSanitizer would report (sanitizer builds);
# the project's own leaks are checked by the unit tests, which run without a display.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
# Silence by default; the sound test chooses its own driver.
export SDL_AUDIODRIVER=dummy
PIDS=()
XVFB_PID=""

cleanup() {
  local pid
  for pid in "${PIDS[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  for pid in "${PIDS[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
  fi
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# start_xvfb WxH [Xvfb options]: a private server; exports DISPLAY. It must not reset
# when its last client leaves: the next one would find it gone for a moment.
start_xvfb() {
  local size="$1"
  shift
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset "$@" 3>"$WORK/displayfd" 2>"$WORK/xvfb.log" &
  XVFB_PID=$!
  local i
  for i in $(seq 100); do
    if grep -q '^[0-9][0-9]*$' "$WORK/displayfd" 2>/dev/null; then
      export DISPLAY=":$(head -n1 "$WORK/displayfd")"
      return 0
    fi
    sleep 0.1
  done
  fail "Xvfb did not start"
}

# start_host NAME WxH [create options...]: a foreign window owned by the test client;
# sets HOST_ID and HOST_PID (killing it removes the window).
start_host() {
  local name="$1"
  shift
  "$XWIN" create "$@" >"$WORK/$name.id" &
  HOST_PID=$!
  PIDS+=("$HOST_PID")
  local i
  for i in $(seq 100); do
    if grep -q '^0x' "$WORK/$name.id" 2>/dev/null; then
      HOST_ID="$(head -n1 "$WORK/$name.id")"
      return 0
    fi
    sleep 0.1
  done
  fail "the test window did not appear"
}

# start_saver LOG args...: arcveil3d in the background; sets SAVER_PID.
start_saver() {
  local log="$1"
  shift
  "$SAVER" "$@" >"$WORK/$log.out" 2>"$WORK/$log.err" &
  SAVER_PID=$!
  PIDS+=("$SAVER_PID")
}

# wait_exit PID SECONDS: waits for the process to end and sets EXIT_STATUS, or fails.
wait_exit() {
  local pid="$1" limit="$2" i
  for i in $(seq $((limit * 10))); do
    if ! kill -0 "$pid" 2>/dev/null; then
      EXIT_STATUS=0
      wait "$pid" || EXIT_STATUS=$?
      return 0
    fi
    sleep 0.1
  done
  fail "process $pid did not end within ${limit}s"
}

# scene_of WINDOW NAME: captures the window and prints the picture's properties.
scene_of() {
  "$XWIN" capture "$1" "$WORK/$2.ppm" && "$XWIN" scene "$WORK/$2.ppm"
}

# wait_scene WINDOW NAME WxH SECONDS: waits until the window shows the scene at that
# size: many colours, the red band at the horizon, nothing of the window's own background.
wait_scene() {
  local window="$1" name="$2" size="$3" limit="$4" i props=""
  for i in $(seq $((limit * 4))); do
    props="$(scene_of "$window" "$name" || true)"
    if grep -q "^size $size\$" <<<"$props" && ! grep -q '^redband none' <<<"$props" &&
       grep -q '^background 0$' <<<"$props" && grep -q '^filled_topright yes' <<<"$props" &&
       [ "$(sed -n 's/^colours //p' <<<"$props")" -gt 50 ]; then
      echo "$props"
      return 0
    fi
    sleep 0.25
  done
  echo "$props" >&2
  fail "$name: the window did not show the scene at $size"
}

# find_box: sets BOX to the top-level window captioned "Arcveil 3D:" (its name is
# UTF-8, which xdotool's search does not read), waiting up to 10 s.
find_box() {
  BOX=""
  local i
  for i in $(seq 100); do
    BOX=$(xwininfo -root -children | sed -n 's/^ *\(0x[0-9a-f]*\) "Arcveil 3D:": .*/\1/p' | head -n1)
    [ -n "$BOX" ] && return 0
    sleep 0.1
  done
}
