#!/usr/bin/env bash
# Renders the same frames with two builds of arcveil3d-render and compares them pixel by
# pixel: a refactor of the renderer or of the programs around it must leave every frame
# bit for bit the same. A handful of seeds, sizes and switch settings, several frames
# each (a lit bolt among them).
#   tools/compare-frames.sh OLD_ARCVEIL3D_RENDER NEW_ARCVEIL3D_RENDER
set -euo pipefail
old=$1
new=$2
work=$(mktemp -d /tmp/arcveil-frames.XXXXXX)
trap 'rm -rf "$work"' EXIT
export MESA_SHADER_CACHE_DISABLE=true

cases=(
  "--size 160x120 --seed 1"
  "--size 320x240 --seed 7 --set Rain=0"
  "--size 640x480 --seed 42 --set Cross=0 --set Hieroglyphs=0"
  "--size 200x150 --seed 5 --set HighQuality=0"
  "--size 97x61 --seed 4294967295 --set Rain=0 --set Cross=0 --set Hieroglyphs=0 --set HighQuality=0"
)
differ=0
compared=0
for i in "${!cases[@]}"; do
  for build in old new; do
    tool=$old
    [ "$build" = new ] && tool=$new
    # shellcheck disable=SC2086
    "$tool" ${cases[$i]} --frames 12 --step 0.25 --out "$work/$build-$i-%02d.png" 2>/dev/null
  done
  for frame in "$work"/old-"$i"-*.png; do
    other=${frame/\/old-/\/new-}
    compared=$((compared + 1))
    pixels=$(compare -metric AE "$frame" "$other" null: 2>&1 || true)
    if [ "$pixels" != 0 ]; then
      echo "differs: ${cases[$i]}, $(basename "$frame"): $pixels pixels"
      differ=$((differ + 1))
    fi
  done
done
echo "$compared frames compared, $differ differ"
[ "$differ" -eq 0 ]
