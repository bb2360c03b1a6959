#!/bin/sh
# arcveil3d-render as people and scripts use it, and what it draws against stored frames
# (exactly on the driver recorded beside them, within a tolerance on another).
#   render-cli-test.sh ARCVEIL3D_RENDER REFERENCE_DIR WORK_DIR [--update]
# --update writes the reference frames anew (after a change to the picture that is meant).
set -u
tool=$1
reference=$2
work=$3
update=${4:-}
rm -rf "$work" && mkdir -p "$work" || exit 1
export MESA_SHADER_CACHE_DISABLE=true
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

"$tool" --size 160x120 --seed 1 --frames 1 --bench >"$work/count.txt" 2>/dev/null || fail "counting bench failed"
renderer=$(sed -n 's/^renderer //p' "$work/count.txt")
[ -n "$renderer" ] || fail "the benchmark names no renderer"
[ "$update" = --update ] && printf '%s\n' "$renderer" >"$reference/RENDERER.txt"
exact=0
[ "$renderer" = "$(cat "$reference/RENDERER.txt")" ] && exact=1
# name: options (seed 5 shows lit bolts; odd-step, a step that is no whole millisecond).
while IFS=: read -r name options; do
  # shellcheck disable=SC2086
  "$tool" --size 160x120 $options --out "$work/$name.png" 2>/dev/null || fail "$name: the run failed"
  if [ "$update" = --update ]; then
    cp "$work/$name.png" "$reference/$name.png"
  elif [ $exact -eq 1 ]; then
    differ=$(compare -metric AE "$work/$name.png" "$reference/$name.png" null: 2>&1)
    [ "$differ" = 0 ] || fail "$name: $differ pixels differ from the reference"
  else
    # Another driver: at most one pixel in a hundred off by more than a tenth.
    differ=$(compare -metric AE -fuzz 10% "$work/$name.png" "$reference/$name.png" null: 2>&1)
    [ "${differ%%.*}" -le "$(identify -format '%[fx:int(w*h/100)]' "$work/$name.png")" ] \
      || fail "$name: $differ pixels differ from the reference by more than a tenth"
  fi
done <<'EOF'
bolt: --seed 5 --frames 44 --step 0.05
bolt-bare-nearest: --seed 5 --frames 54 --step 0.05 --set Rain=0 --set Cross=0 --set Hieroglyphs=0 --set HighQuality=0
minute: --seed 9 --frames 600 --step 0.1 --set Rain=0
odd-step: --seed 7 --frames 30 --step 0.0337 --set Hieroglyphs=0
first: --size 200x80 --seed 11 --frames 1 --step 0 --set Cross=0
monitors: --size 280x120 --monitors 160x120+0+0,120x90+160+0 --seed 5 --frames 44 --step 0.05
gentle: --seed 4 --frames 60 --step 0.05 --gentle
EOF

[ "$(convert "$work/monitors.png" -crop 120x30+160+90 -format '%[fx:maxima]' info:)" = 0 ] ||
  fail "something is drawn off every monitor"
"$tool" --size 240x150 --monitors 160x120+0+0,160x120+80+30 --seed 5 --frames 44 --step 0.05 \
  --out "$work/overlap.png" 2>/dev/null
[ "$(compare -metric AE "$work/overlap.png[160x120+0+0]" "$work/bolt.png" null: 2>&1)" = 0 ] ||
  fail "the primary's view is not the one-monitor frame"

# The two monitors moved right and down in a larger window.
"$tool" --size 400x200 --monitors 160x120+120+50,120x90+280+50 --seed 5 --frames 44 --step 0.05 \
  --out "$work/moved.png" 2>/dev/null
[ "$(compare -metric AE "$work/moved.png[120x90+280+50]" "$work/monitors.png[120x90+160+0]" null: 2>&1)" = 0 ] ||
  fail "a view's pixels change with its place in the window"

# seamless X Y H [-transpose]: the picture goes on across the seam before column X, rows Y
# to Y+H-1 (between rows: transposed): it changes there at most a fifth more than between
# neighbouring columns on either side (eight each, the livelier side).
seamless() {
  convert "$work/seams.png" ${4:+"$4"} -crop "18x$3+$(($1 - 9))+$2" +repage \( +clone -roll +1+0 \) \
    -compose difference -composite -crop 1x +repage -format '%[fx:mean] ' info: |
    awk '{ for (i = 2; i <= 9; i++) { b += $i; a += $(i + 9) }
           m = (a > b ? a : b) / 8; exit !(m > 0 ? $10 / m <= 1.2 : $10 == 0) }'
}
# size|monitors, the primary first|seams: sizes and heights apart, a column, one straddling
# two, a 2x2 grid. The overlays are off: each view has its own.
bare="--seed 8 --frames 20 --step 0.25 --set Cross=0 --set Hieroglyphs=0 --set Rain=0"
while IFS='|' read -r size monitors seams; do
  # shellcheck disable=SC2086
  "$tool" --size "$size" --monitors "$monitors" $bare --out "$work/seams.png" 2>/dev/null
  echo "$seams" | tr ',' '\n' | while read -r seam; do
    # shellcheck disable=SC2086
    seamless $seam || echo "$monitors: the picture breaks at $seam"
  done
done <<'EOF' | grep . && fail "seams break"
720x300|400x300+0+0,320x240+400+30|400 30 240
320x135|160x90+0+0,160x90+160+45|160 45 45
160x360|160x120+0+240,160x120+0+0,160x120+0+120|120 0 160 -transpose,240 0 160 -transpose
320x240|160x120+0+0,160x120+160+0,160x120+100+120|160 0 120,120 100 160 -transpose
320x240|160x120+160+120,160x120+0+0,160x120+160+0,160x120+0+120|160 0 240,120 0 320 -transpose
EOF
# The places alone make the picture: the grid listed in another order, with a clone.
# shellcheck disable=SC2086
"$tool" --size 320x240 --monitors 160x120+160+120,160x120+0+120,160x120+160+0,160x120+0+0,160x120+0+120 $bare \
  --out "$work/reordered.png" 2>/dev/null
cmp -s "$work/seams.png" "$work/reordered.png" || fail "the grid listed in another order is another picture"

while read -r option args; do
  # shellcheck disable=SC2086
  "$tool" $args >/dev/null 2>"$work/err.txt"
  rc=$?
  [ $rc -eq 2 ] && [ "$(wc -l <"$work/err.txt")" -eq 1 ] && grep -q -- "$option" "$work/err.txt" \
    || fail "$args: status $rc, $(cat "$work/err.txt")"
done <<'EOF'
--wobble --wobble
--out --seed 3
EOF

__EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent/vendor.json __EGL_VENDOR_LIBRARY_DIRS=/nonexistent \
  "$tool" --size 32x32 --seed 1 --out "$work/x.png" >/dev/null 2>"$work/err.txt" && rc=0 || rc=$?
[ $rc -eq 3 ] && grep -q EGL "$work/err.txt" || fail "without an EGL driver: status $rc, $(cat "$work/err.txt")"

"$tool" --size 48x32 --seed 5 --frames 3 --step 0.2 --out "$work/f%02d.png" 2>/dev/null || fail "the %02d run failed"
[ -s "$work/f00.png" ] && [ -s "$work/f01.png" ] && [ ! -e "$work/f03.png" ] || fail "not frames 00 to 02"
"$tool" --size 48x32 --seed 5 --frames 3 --step 0.2 --out "$work/last.png" 2>/dev/null
cmp -s "$work/last.png" "$work/f02.png" || fail "the single file is not the last frame"

# The benchmark prints its figures, one a line (bench.sh reads them by name).
"$tool" --size 64x48 --seed 2 --frames 5 --bench >"$work/bench.txt" 2>/dev/null || fail "bench failed"
[ "$(wc -l <"$work/bench.txt")" -eq 11 ] && grep -q "^frames 5$" "$work/bench.txt" && grep -q "^first_frame_s " "$work/bench.txt" \
  || fail "bench printed: $(cat "$work/bench.txt")"

# The fragments shaded, exactly, on the reference pictures' driver: more means overdraw
# crept in, fewer that something is no longer drawn.
if [ $exact -eq 1 ]; then
  grep -q "^fragments_per_frame 95040$" "$work/count.txt" || fail "fragments shaded: $(grep fragments_per_frame "$work/count.txt"), expected 95040"
  "$tool" --size 240x180 --monitors 80x60+80+60,80x60+0+60,80x60+160+60,80x60+80+0,80x60+80+120 --seed 1 \
    --frames 1 --bench 2>/dev/null | grep -q "^fragments_per_frame 200288$" || fail "fragments shaded on five monitors: not 200288"
else
  echo "fragment count not checked: another driver ($renderer)"
fi

# Ten seconds of seed 3, and a bolt close to the camera (seed 30) on a tall narrow picture
# at 20 frames a second: the gentle look within 1.5 flashes a second, and still bright.
flashes() { "$tool" --size 80x60 --seed 3 --frames 600 --flashes "$@" 2>/dev/null; }
within() { awk -v most="$1" '/_worst_second_/ { if ($2 > most) bad = 1; n++ } END { exit !(n == 4 && !bad) }'; }
brightest() { sed -n 's/^whole_luminance .* to //p' "$work/$1.txt"; }
flashes >"$work/designed.txt" && ! within 3 <"$work/designed.txt" ||
  fail "the designed look's flashes: $(cat "$work/designed.txt")"
flashes --gentle >"$work/gentle.txt" && within 1.5 <"$work/gentle.txt" && grep -q "^longest_flashing_run_s 0$" "$work/gentle.txt" ||
  fail "the gentle look's flashes: $(cat "$work/gentle.txt")"
awk -v g="$(brightest gentle)" -v d="$(brightest designed)" 'BEGIN { exit !(g > 0.8 * d) }' ||
  fail "the gentle storm is darker: brightest $(brightest gentle) against $(brightest designed)"
flashes --gentle --size 80x480 --seed 30 --frames 2400 --step 0.05 >"$work/close.txt" && within 1.5 <"$work/close.txt" ||
  fail "a close bolt's flashes: $(cat "$work/close.txt")"
flashes --gentle --size 160x60 --monitors 80x60+0+0 | cmp -s - "$work/gentle.txt" || fail "a monitor is not measured alone"

[ $failures -eq 0 ] && echo "arcveil3d-render behaves"
exit $failures
