#!/usr/bin/env bash
# Prints how much of a core the Windows saver uses under Wine while it draws frames back
# to back, at the desktop's mode. A figure, not a test (the Windows tests check that the
# message loop sleeps while there is nothing to draw).
#   tools/wine-cpu-figures.sh [build folder (build/windows)] [seconds (3)]
set -euo pipefail
cd "$(dirname "$0")/.."
# Inside a private Wine session (display and prefix of its own) unless run in one already.
[ -n "${DISPLAY:-}" ] && [ -n "${WINEPREFIX:-}" ] || exec tests/wine/with-wine.sh -- "$PWD/tools/wine-cpu-figures.sh" "$@"
. cmake/wine-paths.sh
scr="$PWD/${1:-build/windows}/windows/Arcveil3D.scr"
seconds="${2:-3}"
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
"$WINE" reg add 'HKCU\Software\Quenmoor Soft.\Arcveil3D\Arcveil3D' /v Desktop /t REG_DWORD /d 1 /f >/dev/null
"$WINE" "$scr" /s </dev/null &
saver=$!
sleep 3 # start-up, context, textures
before=$(ticks $saver)
sleep "$seconds"
after=$(ticks $saver)
kill $saver
awk -v t=$((after - before)) -v hz="$(getconf CLK_TCK)" -v s="$seconds" \
  'BEGIN { printf "figure: the running saver used %.0f%% of a core over %s s\n", 100 * t / hz / s, s }'
