#!/usr/bin/env bash
# Builds the native programs and runs the Linux saver, arcveil3d, on this display: in a
# window of its own by default, full screen with -s (any key, button, pointer move or
# focus change ends it), or with any other arcveil3d options given. Without a display
# it renders a few frames with arcveil3d-render instead and says where they are.
# Usage: scripts/run-native.sh [arcveil3d options]
#   ARCVEIL_BUILD_DIR: another build folder than the native preset's build/native
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh native

build="${ARCVEIL_BUILD_DIR:-build/native}"
cmake --preset native -B "$build" >/dev/null
cmake --build "$build" --target arcveil3d arcveil3d-render

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  [ $# -gt 0 ] || set -- -window
  exec "$build/linux/arcveil3d" "$@"
fi

out="${ARCVEIL_FRAMES_DIR:-out/frames}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
echo "No X display here: rendering frames headless instead."
"$build/tools/render/arcveil3d-render" --size 1024x768 --frames 4 --step 0.75 --out "$out/frame-%d.png"
echo "Frames written:"
ls -1 "$out"/frame-*.png
