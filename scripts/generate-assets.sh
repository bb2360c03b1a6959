#!/usr/bin/env bash
# Rebuilds the asset generator and rewrites every generated file under resources/
# (textures, glyph atlas, storm loop, information page, bitmaps, icon, cursor, font
# licences). Needs libfreetype-dev, fonts-dejavu-core and fonts-noto-core. The output
# is the same, byte for byte, on every run.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${ARCVEIL_ASSETGEN_BUILD:-build/assetgen}
if [ -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -DARCVEIL_BUILD_ASSETGEN=ON >/dev/null
else
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DARCVEIL_BUILD_ASSETGEN=ON >/dev/null
fi
cmake --build "$build" --target arcveil-assetgen
"$build/tools/assetgen/arcveil-assetgen" resources
