#!/bin/sh
# Instructions per frame of the project's own code, OpenGL driver excluded: runs
# arcveil3d-render under callgrind, collecting only inside CGLDrawer::Draw, and sums the
# cost of the functions that live in the executable (the renderer, the font, the seams).
#   profile-frame.sh BUILD_DIR [FRAMES] [SIZE]
set -eu
build=$1
frames=${2:-60}
size=${3:-320x240}
out=$(mktemp /tmp/arcveil-callgrind.XXXXXX)
tool="$build/tools/render/arcveil3d-render"
MESA_SHADER_CACHE_DISABLE=true valgrind --tool=callgrind --toggle-collect='CGLDrawer::Draw()' \
  --callgrind-out-file="$out" "$tool" --size "$size" --seed 1 --frames "$frames" --step 0.0166667 --bench \
  >/dev/null 2>&1
callgrind_annotate --inclusive=no --threshold=100 "$out" 2>/dev/null | awk -v exe="$(readlink -f "$tool")" -v frames="$frames" '
  /\[/ {
    cost = $1; gsub(",", "", cost)
    object = $NF; gsub(/[][]/, "", object)
    if (object == exe) own += cost
    else if (object ~ /libm\.so/) maths += cost
    else if ($0 ~ /uncaught_exceptions|__cxa_get_globals/) chain += cost
    else driver += cost
  }
  END {
    printf "own_instructions_per_frame %.0f\n", own / frames
    printf "libm_instructions_per_frame %.0f\n", maths / frames
    printf "chain_bookkeeping_instructions_per_frame %.0f\n", chain / frames
    printf "driver_and_libc_instructions_per_frame %.0f\n", driver / frames
  }'
rm -f "$out"
