# Sourced by the test scripts: a work folder of their own (WORK), removed at exit with
# every process they started (PIDS, the last first, so that X servers go after their
# clients), and private X servers, each on a free display from -displayfd.
WORK="$(mktemp -d /tmp/arcveil-test.XXXXXX)"
PIDS=()
cleanup() {
  local i
  for ((i = ${#PIDS[@]} - 1; i >= 0; i--)); do
    kill "${PIDS[i]}" 2>/dev/null || true
    wait "${PIDS[i]}" 2>/dev/null || true
  done
  rm -rf "$WORK"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# eventually SECONDS COMMAND...: retries the command every 0.1 s until it succeeds, for
# that long however long each try takes.
eventually() {
  local until=$((SECONDS + $1))
  while [ "$SECONDS" -lt "$until" ]; do
    "${@:2}" && return 0
    sleep 0.1
  done
  return 1
}

# start_xvfb WxH [Xvfb options]: exports DISPLAY. -noreset: the server stays as it is
# when its last client leaves.
start_xvfb() {
  rm -f "$WORK/displayfd" # a later server's number must not be read as the last one's
  Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp -noreset "${@:2}" 3>"$WORK/displayfd" 2>>"$WORK/xvfb.log" &
  PIDS+=($!)
  eventually 10 grep -q '^[0-9][0-9]*$' "$WORK/displayfd" || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
  export DISPLAY=":$(head -n1 "$WORK/displayfd")"
}

# start_xephyr [Xephyr options]: a nested X server in a private Xvfb; exports DISPLAY
# (Xephyr's). For monitors side by side, top-aligned, as Xinerama tells them (RandR off):
#   start_xephyr +xinerama -extension RANDR -screen 800x600 -screen 640x480
start_xephyr() {
  [ -n "${XEPHYR_HOST:-}" ] || { start_xvfb 2048x1024; XEPHYR_HOST=$DISPLAY; }
  DISPLAY=$XEPHYR_HOST Xephyr -displayfd 4 "$@" -nolisten tcp -noreset 4>"$WORK/xephyrfd" 2>>"$WORK/xephyr.log" &
  PIDS+=($!)
  eventually 10 grep -q '^[0-9][0-9]*$' "$WORK/xephyrfd" || fail "Xephyr did not start: $(cat "$WORK/xephyr.log")"
  export DISPLAY=":$(head -n1 "$WORK/xephyrfd")"
}
