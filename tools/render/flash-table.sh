#!/bin/sh
# The flash measure (arcveil3d-render --flashes) of both looks over many seeds, as a
# Markdown table for the README: each seed's worst second, whole frame, worst quarter
# and red (the worse of the whole frame and the quarters), and the longest run of
# seconds with 2 flashes or more, beside it (5 or more is extended flashing).
#   flash-table.sh [--size WxH] [--seconds N] TOOL [SEED...]   (default 320x240, 60 s, seeds 1-20)
set -eu
size=320x240
seconds=60
while [ $# -gt 0 ]; do
  case $1 in
    --size) size=$2; shift 2 ;;
    --seconds) seconds=$2; shift 2 ;;
    *) break ;;
  esac
done
tool=$1
shift
[ $# -gt 0 ] || set -- 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20
export MESA_SHADER_CACHE_DISABLE=true
figure() { echo "$out" | sed -n "s/^$1 //p"; }
echo "| seed | designed: whole frame | designed: worst quarter | designed: red | designed: longest run, s \
| gentle: whole frame | gentle: worst quarter | gentle: red | gentle: longest run, s |"
echo "|---|---|---|---|---|---|---|---|---|"
for seed in "$@"; do
  line="| $seed"
  for look in "" --gentle; do
    # shellcheck disable=SC2086
    out=$("$tool" --size "$size" --seed "$seed" --frames $((seconds * 60)) --step 0.0166666667 --flashes $look)
    red=$(printf '%s\n%s\n' "$(figure whole_worst_second_red_flashes)" "$(figure quarter_worst_second_red_flashes)" | sort -n | tail -1)
    line="$line | $(figure whole_worst_second_flashes) | $(figure quarter_worst_second_flashes) | $red | $(figure longest_flashing_run_s)"
  done
  echo "$line |"
done
