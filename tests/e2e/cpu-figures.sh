#!/usr/bin/env bash
# Prints how much of a core the program uses: the preview, whose still picture leaves
# the message loop nothing to do, and the running saver, which draws frames back to
# back. Figures only; the scenarios' own checks decide the result.
#   cpu-figures.sh <saver_driver.exe> <Arcveil3D.scr> <work folder>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../wine/session.sh"
require_wine_session "" "$0" "$@"
driver="$1"
saver="$2"
work="$3"
mkdir -p "$work"
ticks_per_second=$(getconf CLK_TCK)

# CPU ticks (user + system) of the running program, found by its command line.
program_ticks() {
  local pid
  pid=$(pgrep -f "^[A-Z]:.*Arcveil3D\.scr $1" | head -n1)
  [ -n "$pid" ] || { echo 0; return; }
  awk '{print $14 + $15}' "/proc/$pid/stat"
}

status=0
measure() {
  local label="$1" option="$2"
  shift 2
  rm -f "$work/ready" "$work/go"
  WINE_TEST_TIMEOUT=120 "$here/../../cmake/wine-run.sh" "$driver" "$(winpath "$saver")" "$@" \
    "$(winpath "$work/ready")" "$(winpath "$work/go")" &
  local driver_pid=$!
  for _ in $(seq 1 300); do
    [ -e "$work/ready" ] && break
    kill -0 "$driver_pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ -e "$work/ready" ]; then
    local before after
    before=$(program_ticks "$option")
    sleep 2
    after=$(program_ticks "$option")
    awk -v t=$((after - before)) -v hz="$ticks_per_second" -v l="$label" \
      'BEGIN { printf "figure: %s used %.0f%% of a core over 2 s\n", l, 100 * t / hz / 2 }'
  fi
  touch "$work/go"
  wait "$driver_pid" || status=1
}
measure "the preview (still picture)" "/p" options
measure "the running saver (frames back to back)" "/s" end key
exit $status
