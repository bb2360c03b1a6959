#!/usr/bin/env bash
# Prints what two monitors cost under XScreenSaver's daemon, which starts a process per
# monitor, against the stand-alone saver (-s) drawing both monitors in one process: the
# CPU time (user and system, every thread) for the same number of frames on each
# monitor, on a nested X server with an 800x600 primary and a 640x480 monitor to its
# right, under one daemon that runs throughout (blanked for its processes, idle for -s).
# The two alternate, run by run; the medians and their ratio are printed. A figure, not
# a test: tests/linux/xscreensaver.sh runs the daemon as its tests do.
#   tools/daemon-cpu-figures.sh [native build folder (build/native)] [frames (300)] [runs (3)]
set -euo pipefail
cd "$(dirname "$0")/.."
frames=${2:-300}
runs=${3:-3}
set -- "$PWD/${1:-build/native}/linux/arcveil3d" none
source tests/linux/xvfb-lib.sh
source tests/linux/daemon-lib.sh
# What the programs line runs: the process's CPU time to a file of its own.
printf '%s\n' '#!/bin/sh' 'exec /usr/bin/time -f "%U %S" -o "$HOME/../cpu.$$" "$@"' >"$DAEMON/bin/cpu"
chmod 755 "$DAEMON/bin/cpu"
start_xephyr +xinerama -extension RANDR -screen 800x600 -screen 640x480
start_daemon
programs "cpu arcveil3d --root --frames $frames"
sum() { awk '{ s += $1 + $2 } END { printf "%.2f\n", s }' "$@"; }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
for run in $(seq "$runs"); do
  rm -f "$DAEMON"/cpu.*
  blank
  # time writes its file when the process ends: the first two to end (the daemon may
  # start the line again when one ends).
  ended() { find "$DAEMON" -name 'cpu.*' -size +0 -printf '%T@ %p\n' | sort -n | head -2 | cut -d' ' -f2; }
  eventually 600 eval '[ "$(ended | wc -l)" = 2 ]' || fail "the daemon's processes did not end"
  sum $(ended) | tee -a "$WORK/daemon.txt" | sed "s/^/run $run: the daemon's two processes: /;s/$/ s/"
  unblank
  rm -f "$DAEMON"/cpu.*
  as_user "$DAEMON/bin/cpu" arcveil3d -s --frames "$frames" >/dev/null 2>&1 || fail "-s did not run"
  sum "$DAEMON"/cpu.* | tee -a "$WORK/alone.txt" | sed "s/^/run $run: -s on both monitors: /;s/$/ s/"
done
daemon=$(median <"$WORK/daemon.txt")
alone=$(median <"$WORK/alone.txt")
awk -v d="$daemon" -v s="$alone" -v f="$frames" 'BEGIN {
  printf "figure: %d frames on each monitor: the daemon'\''s two processes %.2f s of CPU, -s %.2f s, ratio %.3f\n", f, d, s, d / s }'
