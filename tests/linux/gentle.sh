#!/usr/bin/env bash
# The gentle lightning reaches the scene from each of the saver's sources: its first
# frame is arcveil3d-render --gentle's (seed 5: a strike in view, so the looks differ)
# when -gentle or Gentle=1 in the settings file asks for it, the designed one when
# nothing does or -no-gentle overrides the file; --save -gentle stores it.
#   third argument: arcveil3d-render
source "$(dirname "$0")/xvfb-lib.sh"
start_xvfb 320x240
RUN=(--seed 5 --step 0.25)
for look in designed --gentle; do
  # shellcheck disable=SC2086
  "$3" --size 96x72 "${RUN[@]}" ${look#designed} --out "$WORK/${look#--}.png" >/dev/null 2>&1 &&
    convert "$WORK/${look#--}.png" "$WORK/${look#--}.ppm" || fail "arcveil3d-render"
done
same designed gentle && fail "seed 5's first frame is the same in both looks"
while read -r name file expected options; do
  mkdir -p "$(dirname "$SETTINGS")"
  printf '%b' "${file#-}" >"$SETTINGS"
  # shellcheck disable=SC2086
  own_scene "$name" 96x72 -geometry 96x72+150+100 "${RUN[@]}" -delay 10000000 $options
  stop_saver
  same "$name" "$expected" || fail "$name ($options, file '$file'): not the $expected frame"
done <<'EOF_ROWS'
none - designed
option - gentle -gentle
file [Arcveil3D]\nGentle=1\n gentle
overridden [Arcveil3D]\nGentle=1\n designed -no-gentle
last-wins - gentle -no-gentle --gentle
EOF_ROWS
[ -z "$(cat "$WORK"/*.err)" ] || fail "a message: $(cat "$WORK"/*.err)"
rm -f "$SETTINGS"
env -u DISPLAY "$SAVER" -gentle --save >/dev/null 2>&1 && grep -qx Gentle=1 "$SETTINGS" ||
  fail "--save -gentle: $(cat "$SETTINGS")"
echo "the gentle lightning from -gentle and the file, -no-gentle over the file, stored by --save: ok"
