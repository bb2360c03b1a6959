#!/usr/bin/env bash
# Builds Arcveil3D.scr and runs it under Wine.
#   scripts/run.sh [options for the saver]      (default: /s, the full-screen saver)
# With a $DISPLAY it runs there until the saver ends (move the mouse or press a key).
# Without one it runs on a private Xvfb for a few seconds, saves a screenshot to the
# path it prints, and ends the saver as a user would, with a key press.
# ARCVEIL_BUILD_DIR picks another build folder (default build/windows, the preset's);
# ARCVEIL_SCREEN the private screen's size (default 640x480, where the default
# video mode 640x480x16 exists); ARCVEIL_RUN_SECONDS how long it runs there (4).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh windows

build="${ARCVEIL_BUILD_DIR:-build/windows}"
cmake --preset windows -B "$build" >/dev/null
cmake --build "$build" --target Arcveil3D
scr="$PWD/$build/windows/Arcveil3D.scr"
[ $# -gt 0 ] || set -- /s

if [ -n "${DISPLAY:-}" ]; then
  WINE_TEST_TIMEOUT=0 exec cmake/wine-run.sh "$scr" "$@"
fi

mkdir -p out
shot="$PWD/out/arcveil3d-$(date +%Y%m%d-%H%M%S).png"
seconds="${ARCVEIL_RUN_SECONDS:-4}"
tests/wine/with-wine.sh --screen "${ARCVEIL_SCREEN:-640x480}" -- bash -c '
  set -u
  scr="$1"; shot="$2"; seconds="$3"; shift 3
  WINE_TEST_TIMEOUT=0 cmake/wine-run.sh "$scr" "$@" &
  saver=$!
  sleep "$seconds"
  import -display "$DISPLAY" -window root "$shot"
  # End it as a user would, so that it puts the video mode back on its way out.
  xdotool key space 2>/dev/null || true
  for _ in $(seq 1 50); do kill -0 "$saver" 2>/dev/null || break; sleep 0.1; done
  kill "$saver" 2>/dev/null || true
  wait "$saver"; status=$?
  echo "Arcveil3D.scr $* ended with exit code $status"
' run "$scr" "$shot" "$seconds" "$@"
echo "Screenshot: $shot"
