#!/usr/bin/env bash
# What a layout of monitors costs against one frame of each monitor's size, measured in
# one run: each monitor's size alone, then the layout (--monitors), in turn, repetition by
# repetition, all layers on. Prints the medians of CPU time a frame (all threads), frames
# per second and fragments shaded, and the layout's CPU time and fill over the singles' sum.
#   bench-monitors.sh [--frames N] [--repeat N] ARCVEIL3D_RENDER WxH LAYOUT
#   bench-monitors.sh build/native/tools/render/arcveil3d-render 1440x600 800x600+0+0,640x480+800+0
set -euo pipefail
frames=200
repeat=5
while [ $# -gt 3 ]; do
  case $1 in
    --frames) frames=$2; shift 2 ;;
    --repeat) repeat=$2; shift 2 ;;
    *) echo "bench-monitors.sh: unknown option $1" >&2; exit 2 ;;
  esac
done
[ $# -eq 3 ] || { echo "usage: bench-monitors.sh [--frames N] [--repeat N] TOOL WxH LAYOUT" >&2; exit 2; }
tool=$1 size=$2 layout=$3
work=$(mktemp -d /tmp/arcveil-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
export MESA_SHADER_CACHE_DIR=$work/cache
unset MESA_SHADER_CACHE_DISABLE

# The cases: each monitor's size alone, then the layout.
cases=()
for rect in ${layout//,/ }; do cases+=("--size ${rect%%+*}"); done
cases+=("--size $size --monitors $layout")
for c in "${cases[@]}"; do "$tool" $c --seed 1 --frames 2 --bench >/dev/null; done

echo "# $frames frames a run, median of $repeat runs; load at start: $(uptime | sed 's/.*load average: //')"
for ((r = 0; r < repeat; ++r)); do
  for i in "${!cases[@]}"; do
    # shellcheck disable=SC2086
    "$tool" ${cases[$i]} --seed 1 --frames "$frames" --bench |
      awk -v i="$i" '{ f[$1] = $2 } END { print i, f["cpu_ms_per_frame"], f["fps"], f["fragments_per_frame"] }' \
      >>"$work/runs"
  done
done
median() { awk -v i="$1" -v field="$2" '$1 == i { print $field }' "$work/runs" | sort -g |
  awk -f "$(dirname "$0")/median.awk"; }

printf '%-44s | %8s | %7s | %12s\n' "frame" "cpu ms" "fps" "fragments"
sum=0
fragments=0
last=$((${#cases[@]} - 1))
for i in "${!cases[@]}"; do
  printf '%-44s | %8s | %7s | %12s\n' "${cases[$i]}" "$(median "$i" 2)" "$(median "$i" 3)" "$(median "$i" 4)"
  [ "$i" -lt "$last" ] || continue
  sum=$(awk -v s="$sum" -v v="$(median "$i" 2)" 'BEGIN { print s + v }')
  fragments=$(awk -v s="$fragments" -v v="$(median "$i" 4)" 'BEGIN { print s + v }')
done
# A turned view sees another part of the storm, so its fill differs from the unturned
# frame of its size: the last line sets the time against the fragments shaded.
awk -v l="$(median "$last" 2)" -v s="$sum" -v lf="$(median "$last" 4)" -v sf="$fragments" 'BEGIN {
  printf "layout over the sum of its monitors alone: %.3f (%.2f ms against %.2f ms)\n", l / s, l, s
  printf "fragments shaded, layout over the sum: %.3f\n", lf / sf
  printf "CPU time per fragment, layout over the sum: %.3f\n", (l / lf) / (s / sf)
}'
