#!/usr/bin/env bash
# Start-up to the first finished frame, and peak memory, at 1024x768: arcveil3d-render
# (its bench's first frame, and a run that writes one PNG), the Linux saver on a private
# Xvfb (its first glXSwapBuffers, through the first-swap probe) and, as the floor, the
# least EGL program on the same driver. Each with the driver's shader cache off (every
# shader compiled) and warm (a cache of its own, filled first). Runs alternate between
# the programs and builds; the table gives medians. Needs Xvfb and GNU time.
#   startup.sh [--runs N] BUILD_DIR [OTHER_BUILD_DIR]
set -euo pipefail
runs=5
if [ "${1:-}" = --runs ]; then runs=$2; shift 2; fi
[ $# -eq 1 ] || [ $# -eq 2 ] || { echo "usage: startup.sh [--runs N] BUILD_DIR [OTHER_BUILD_DIR]" >&2; exit 2; }
builds=("$@")
probe=$(readlink -f "${builds[-1]}/tools/render/libarcveil3d-first-swap.so")
baseline=${builds[-1]}/tools/render/arcveil3d-egl-baseline

work=$(mktemp -d /tmp/arcveil-startup.XXXXXX)
xvfb_pid=
cleanup() { [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for ((i = 0; i < 100; ++i)); do grep -qs '^[0-9]' "$work/display" && break; sleep 0.1; done
grep -q '^[0-9]' "$work/display" || { echo "startup.sh: Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$(head -n1 "$work/display")
export XDG_CONFIG_HOME=$work/config # the saver's default settings, whatever the user's file says

measure() { # measure NAME CACHE COMMAND...: NAME CACHE and the figures as FIGURE VALUE lines
  local name=$1 cache=$2
  shift 2
  local -a environment=(MESA_SHADER_CACHE_DISABLE=true)
  [ "$cache" = warm ] && environment=(MESA_SHADER_CACHE_DIR="$work/cache")
  env "${environment[@]}" /usr/bin/time -f 'exit_s %e\npeak_rss_mib %M KiB' -o "$work/time" "$@" >"$work/out" 2>"$work/err" ||
    { echo "startup.sh: $name failed: $(cat "$work/err")" >&2; exit 1; }
  { sed -n 's/^first_frame_s/&/p; s/^peak_rss_mib/frame_rss_mib/p' "$work/out" "$work/err"
    awk '$3 == "KiB" { printf "peak_rss_mib %.1f\n", $2 / 1024; next } { print }' "$work/time"; } |
    awk -v key="$name $cache" '{ print key, $1, $2 }' >>"$work/figures"
}

programs=("egl-baseline" )
for b in "${!builds[@]}"; do programs+=("render-bench:$b" "render-png:$b" "saver:$b"); done
run() { # run PROGRAM CACHE
  local name=${1%%:*} label=$1 dir=
  [[ $1 == *:* ]] && dir=${builds[${1#*:}]}
  case $name in
    egl-baseline) measure "$label" "$2" "$baseline" ;;
    render-bench) measure "$label" "$2" "$dir/tools/render/arcveil3d-render" --seed 1 --frames 1 --bench ;;
    render-png) measure "$label" "$2" "$dir/tools/render/arcveil3d-render" --seed 1 --out "$work/frame.png" ;;
    saver) measure "$label" "$2" env LD_PRELOAD="$probe" "$dir/linux/arcveil3d" -root --seed 1 --frames 1 ;;
  esac
}

for program in "${programs[@]}"; do run "$program" warm; done # fills the cache
: >"$work/figures"
echo "# $(sed -n 's/^renderer //p' <("${builds[-1]}/tools/render/arcveil3d-render" --size 8x8 --seed 1 --frames 1 --bench))"
echo "# load at start: $(uptime | sed 's/.*load average: //')"
for ((r = 0; r < runs; ++r)); do
  for cache in off warm; do
    for program in "${programs[@]}"; do run "$program" "$cache"; done
  done
done
echo "# load at end: $(uptime | sed 's/.*load average: //')"

median() { # median PROGRAM CACHE FIGURE
  awk -v key="$1 $2 $3" '$1 " " $2 " " $3 == key { print $4 }' "$work/figures" | sort -g |
    awk -f "$(dirname "$0")/median.awk"
}
printf '%-16s %-5s | %13s | %12s | %14s | %13s\n' program cache "first frame s" "rss then MiB" "exit s (time)" "peak RSS MiB"
for program in "${programs[@]}"; do
  for cache in off warm; do
    printf '%-16s %-5s | %13s | %12s | %14s | %13s\n' "$program" "$cache" "$(median "$program" $cache first_frame_s)" \
      "$(median "$program" $cache frame_rss_mib)" "$(median "$program" $cache exit_s)" "$(median "$program" $cache peak_rss_mib)"
  done
done
echo "# render-bench, render-png and saver carry the index of the build directory given (0 first)"
