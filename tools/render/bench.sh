#!/usr/bin/env bash
# The benchmark over the 16 combinations of the four layer switches (Rain, Hieroglyphs,
# Cross, HighQuality) at one size, as a table of medians: frames per second, CPU time per
# frame (all threads), system CPU time and page faults per frame, and fragments shaded
# per pixel. Given two builds it runs them in turn, combination by combination and
# repetition by repetition, swapping which goes first, so that a change in the machine's
# load falls on both alike; compare the builds only within one table.
#   bench.sh [--size WxH] [--frames N] [--repeat N] ARCVEIL3D_RENDER [OTHER_ARCVEIL3D_RENDER]
set -euo pipefail
size=1024x768
frames=200
repeat=3
while [ $# -gt 0 ]; do
  case $1 in
    --size) size=$2; shift 2 ;;
    --frames) frames=$2; shift 2 ;;
    --repeat) repeat=$2; shift 2 ;;
    -*) echo "bench.sh: unknown option $1" >&2; exit 2 ;;
    *) break ;;
  esac
done
[ $# -eq 1 ] || [ $# -eq 2 ] || { echo "usage: bench.sh [--size WxH] [--frames N] [--repeat N] TOOL [OTHER_TOOL]" >&2; exit 2; }
tools=("$@")

work=$(mktemp -d /tmp/arcveil-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
# A shader cache of its own, filled before timing: the driver's compiles stay out of
# the figures, and no earlier cache makes one build look faster than the other.
export MESA_SHADER_CACHE_DIR=$work/cache
unset MESA_SHADER_CACHE_DISABLE

combinations=()
for rain in 1 0; do for glyphs in 1 0; do for cross in 1 0; do for quality in 1 0; do
  combinations+=("$rain $glyphs $cross $quality")
done; done; done; done

run() { # run BUILD_INDEX COMBINATION FRAMES: the bench's figures as NAME VALUE lines
  local rain glyphs cross quality
  read -r rain glyphs cross quality <<<"$2"
  "${tools[$1]}" --size "$size" --seed 1 --frames "$3" --bench \
    --set Rain="$rain" --set Hieroglyphs="$glyphs" --set Cross="$cross" --set HighQuality="$quality"
}

for b in "${!tools[@]}"; do
  for combination in "${combinations[@]}"; do run "$b" "$combination" 2 >/dev/null; done
done

echo "# $size, $frames frames a run, median of $repeat runs; $(run 0 "1 1 1 1" 1 | sed -n 's/^renderer //p')"
echo "# load at start: $(uptime | sed 's/.*load average: //')"
for ((r = 0; r < repeat; ++r)); do
  for c in "${!combinations[@]}"; do
    order=("${!tools[@]}")
    if [ ${#tools[@]} -eq 2 ] && [ $(((r + c) % 2)) -eq 1 ]; then order=(1 0); fi
    for b in "${order[@]}"; do
      run "$b" "${combinations[$c]}" "$frames" |
        awk -v key="$c $b" '{ figure[$1] = $2 }
          END { print key, figure["fps"], figure["cpu_ms_per_frame"],
                figure["system_cpu_ms_per_frame"] == "" ? "-" : figure["system_cpu_ms_per_frame"],
                figure["page_faults_per_frame"] == "" ? "-" : figure["page_faults_per_frame"],
                figure["fragments_per_pixel"] == "" ? "-" : figure["fragments_per_pixel"] }' >>"$work/runs"
    done
  done
done
echo "# load at end: $(uptime | sed 's/.*load average: //')"

median() { # median COMBINATION BUILD FIELD
  awk -v key="$1 $2" -v field="$3" '$1 " " $2 == key { print $field }' "$work/runs" | sort -g |
    awk -f "$(dirname "$0")/median.awk"
}

if [ ${#tools[@]} -eq 2 ]; then
  printf '%-18s | %15s | %15s | %15s | %15s | %17s\n' "Rain Hier Cross HQ" "fps A     B" "cpu ms A    B" \
    "sys ms A    B" "faults A    B" "frag/px A     B"
else
  printf '%-18s | %7s | %7s | %7s | %7s | %8s\n' "Rain Hier Cross HQ" "fps" "cpu ms" "sys ms" "faults" "frag/px"
fi
for c in "${!combinations[@]}"; do
  read -r rain glyphs cross quality <<<"${combinations[$c]}"
  line=$(printf '%4s %4s %5s %2s' "$rain" "$glyphs" "$cross" "$quality")
  if [ ${#tools[@]} -eq 2 ]; then
    printf '%s |' "$line"
    for field in 3 4 5 6; do printf ' %7s %7s |' "$(median "$c" 0 $field)" "$(median "$c" 1 $field)"; done
    printf ' %8s %8s\n' "$(median "$c" 0 7)" "$(median "$c" 1 7)"
  else
    printf '%s |' "$line"
    for field in 3 4 5 6; do printf ' %7s |' "$(median "$c" 0 $field)"; done
    printf ' %8s\n' "$(median "$c" 0 7)"
  fi
done
