#!/usr/bin/env bash
# The gentle lightning reaches the scene from each of the saver's sources: its first
# frame is arcveil3d-render --gentle's (seed 5: a strike in view, so the two looks
# differ) when -gentle, or Gentle=1 in the settings file, asks for it, and the designed
# frame when nothing does or -no-gentle overrides the file; --save -gentle stores it.
#   third argument: arcveil3d-render
source "$(dirname "$0")/xvfb-lib.sh"
RENDER="$3"
start_xvfb 320x240
RUN=(--seed 5 --step 0.25)
for look in designed gentle; do
  flag=()
  [ $look = gentle ] && flag=(--gentle)
  "$RENDER" --size 96x72 "${RUN[@]}" "${flag[@]}" --out "$WORK/$look.png" >/dev/null 2>&1 || fail "arcveil3d-render"
  convert "$WORK/$look.png" "$WORK/$look.ppm"
done
same designed gentle && fail "seed 5's first frame is the same in both looks"

# look NAME FILE_CONTENTS [options]: the first frame in a window of its own, the file
# holding the contents given.
look() {
  mkdir -p "$(dirname "$SETTINGS")"
  printf '%b' "$2" >"$SETTINGS"
  start_saver "$1" -window -geometry 96x72+150+100 "${RUN[@]}" -delay 10000000 "${@:3}"
  own_window
  wait_scene "$OWN" "$1" 96x72
  kill "$SAVER_PID"
  wait_exit "$SAVER_PID" 10
}
while read -r name file expected options; do
  [ "$file" = - ] && file=
  # shellcheck disable=SC2086
  look "$name" "$file" $options
  same "$name" "$expected" || fail "$name ($options, file '$file'): not the $expected frame"
done <<'EOF_ROWS'
none - designed
option - gentle -gentle
file [Arcveil3D]\nGentle=1\n gentle
overridden [Arcveil3D]\nGentle=1\n designed -no-gentle
last-wins - gentle -no-gentle --gentle
EOF_ROWS
[ -z "$(cat "$WORK"/*.err)" ] || fail "a message: $(cat "$WORK"/*.err)"
echo "the gentle lightning from -gentle and the file, -no-gentle over the file: ok"

rm -f "$SETTINGS"
env -u DISPLAY "$SAVER" -gentle --save >/dev/null 2>"$WORK/save.err" || fail "--save: $(cat "$WORK/save.err")"
grep -qx Gentle=1 "$SETTINGS" || fail "--save -gentle: $(cat "$SETTINGS")"
printf '[Arcveil3D]\nGentle=2\n' >"$SETTINGS"
env -u DISPLAY "$SAVER" --save >/dev/null 2>"$WORK/save.err" || fail "--save: $(cat "$WORK/save.err")"
grep -q "Gentle=2' is outside 0 to 1" "$WORK/save.err" && grep -qx Gentle=0 "$SETTINGS" ||
  fail "Gentle=2 in the file: $(cat "$WORK/save.err")"
echo "--save stores Gentle; a value out of range is named and not used: ok"
