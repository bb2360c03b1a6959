#!/usr/bin/env bash
# Where the settings come from in each way of running, and --save. With a fixed seed and
# step the saver's first frame is the renderer's. (A malformed file: SettingsFileTest.)
#   third argument: arcveil3d-render
source "$(dirname "$0")/xvfb-lib.sh"
RENDER="$3"
OLD="$XDG_CONFIG_HOME/Quenmoor Soft./arcveil3d/settings.ini"
start_xvfb 320x240
start_host host 96x72
RUN=(--seed 5 --step 0.25)
RUN_CHAIN='CLinuxSaverApp::Run() -> CLinuxSaverApp::MainLoop()'

# foreign NAME [options]: the first frame, drawn into the test window as XScreenSaver asks.
foreign() { frame_in "$HOST_ID" "$1" "${RUN[@]}" --frames 1 "${@:2}"; }
# own NAME [options]: the first frame in a window of its own (the next is 10 s away),
# away from the test window, whose picture would show through until the first frame.
own() {
  own_scene "$1" 96x72 -geometry 96x72+150+100 "${RUN[@]}" -delay 10000000 "${@:2}"
  stop_saver # its window goes with it
}
# render NAME options...: arcveil3d-render's first frame as NAME.ppm.
render() {
  "$RENDER" --size 96x72 "${RUN[@]}" "${@:2}" --out "$WORK/$1.png" >/dev/null 2>&1 || fail "arcveil3d-render ${*:2}"
  convert "$WORK/$1.png" "$WORK/$1.ppm"
}
render render --set Cross=0
render gentle --gentle
foreign defaults -window-id "$HOST_ID"
foreign nocross -window-id "$HOST_ID" -no-cross
same nocross render || fail "the saver's frames are not arcveil3d-render's"
same defaults nocross && fail "-no-cross did not change the picture"
echo "the same frames as arcveil3d-render, switches included: ok"

# A file at the old place: moved when a way of running that reads it starts, not before.
mkdir -p "$(dirname "$OLD")"
printf '[Arcveil3D]\nCross=0\n' >"$OLD"
XSCREENSAVER_WINDOW="$((HOST_ID))" foreign root -root
foreign window-id -window-id "$HOST_ID"
same root defaults && same window-id defaults || fail "the settings file was read under XScreenSaver"
[ -f "$OLD" ] && [ ! -e "$SETTINGS" ] || fail "the file moved under XScreenSaver"
own file
same file nocross || fail "Cross=0 in the file did not reach the scene"
[ ! -e "$XDG_CONFIG_HOME/Quenmoor Soft." ] && [ "$(cat "$SETTINGS")" = "$(printf '[Arcveil3D]\nCross=0')" ] ||
  fail "the old file did not move: $(find "$XDG_CONFIG_HOME")"
own overridden -cross
same overridden defaults || fail "-cross did not override the file"
[ "$(cat "$SETTINGS")" = "$(printf '[Arcveil3D]\nCross=0')" ] || fail "running changed the settings file"
echo "the file: ignored by -root and -window-id, moved, applied, overridden, never written: ok"

same gentle defaults && fail "seed 5's first frame is the same in both looks"
while read -r name file expected options; do
  printf '%b' "${file#-}" >"$SETTINGS"
  # shellcheck disable=SC2086
  own "$name" $options
  same "$name" "$expected" || fail "$name ($options, file '$file'): not the $expected frame"
done <<'EOF_ROWS'
option - gentle -gentle
gentle-file [Arcveil3D]\nGentle=1\n gentle
no-gentle [Arcveil3D]\nGentle=1\n defaults -no-gentle
last-wins - gentle -no-gentle --gentle
EOF_ROWS
[ -z "$(cat "$WORK"/*.err)" ] || fail "a message: $(cat "$WORK"/*.err)"
echo "the gentle lightning from -gentle and the file, -no-gentle over the file: ok"

# --save: the file's values, then the flags, written once; no display is needed.
printf '[Arcveil3D]\nWidth=1024\n' >"$SETTINGS"
env -u DISPLAY "$SAVER" -no-rain --set Hieroglyphs=0 -gentle --save >"$WORK/save.out" 2>"$WORK/save.err" ||
  fail "--save: $(cat "$WORK/save.err")"
[ "$(cat "$WORK/save.out")" = "$SETTINGS" ] || fail "--save printed $(cat "$WORK/save.out")"
for pair in Width=1024 Height=480 Depth=16 Desktop=0 Sounds=0 Cross=1 Hieroglyphs=0 Rain=0 HighQuality=1 Gentle=1; do
  grep -qx "$pair" "$SETTINGS" || fail "--save: $pair missing: $(cat "$SETTINGS")"
done
[ "$(ls -A "$(dirname "$SETTINGS")")" = settings.ini ] || fail "--save left $(ls -A "$(dirname "$SETTINGS")")"
echo "--save: ok"

# Saves at once: each through a file of its own, none failing for another's.
AT_ONCE=()
for i in $(seq 24); do
  env -u DISPLAY "$SAVER" --set Width=$((100 + i)) --save >/dev/null 2>"$WORK/at-once-$i.err" &
  AT_ONCE+=($!)
done
for pid in "${AT_ONCE[@]}"; do wait "$pid" || fail "saves at once: $(cat "$WORK"/at-once-*.err)"; done
grep -qx "Width=1[0-2][0-9]" "$SETTINGS" && [ "$(ls -A "$(dirname "$SETTINGS")")" = settings.ini ] ||
  fail "saves at once left $(ls -A "$(dirname "$SETTINGS")"): $(cat "$SETTINGS")"
echo "--save, 24 at once: ok"

# --save as the user's own account (root reads anything): a file it cannot read whole,
# its own or another user's in its folder, or a FIFO (which must not block), and one its
# owner made read-only, is named in one line, status 1, and stays as it was.
AS_USER=()
[ "$(id -u)" != 0 ] || AS_USER=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
FILE="$WORK/user/arcveil3d/settings.ini"
chmod 755 "$WORK"
snapshot() { ls -li --time-style=+%s.%N "$WORK/user/arcveil3d"; [ -p "$FILE" ] || [ ! -r "$FILE" ] || cat "$FILE"; }
while IFS='|' read -r setup problem; do # setup, in the user's settings folder|problem
  rm -rf "$WORK/user" && mkdir -p "$(dirname "$FILE")" && { [ "${#AS_USER[@]}" = 0 ] || chown -R nobody "$WORK/user"; }
  (cd "$(dirname "$FILE")" && eval "$setup")
  before="$(snapshot)"
  timeout 10 env -u DISPLAY XDG_CONFIG_HOME="$WORK/user" "${AS_USER[@]}" "$SAVER" -no-rain --save >/dev/null \
    2>"$WORK/refused.err" && got=0 || got=$?
  [ "$got:$(cat "$WORK/refused.err")" = "1:arcveil3d: the settings file $FILE $problem ($RUN_CHAIN -> \
CLinuxSaverApp::SaveSettings())" ] && [ "$before" = "$(snapshot)" ] ||
    fail "--save after '$setup': status $got: $(cat "$WORK/refused.err"); $(snapshot)"
done <<'ROWS'
echo Rain=1 >settings.ini; chmod 000 settings.ini; chown --reference=. settings.ini|cannot be read (Permission denied); --save leaves it as it is
echo Rain=1 >settings.ini; chmod 600 settings.ini; if [ "$(id -u)" != 0 ]; then chmod 000 settings.ini; fi|cannot be read (Permission denied); --save leaves it as it is
mkfifo settings.ini; chown --reference=. settings.ini|cannot be read (not a regular file); --save leaves it as it is
printf '[Arcveil3D]\nRain=1\n' >settings.ini; chmod 400 settings.ini; chown --reference=. settings.ini|could not be written: it is read-only
ROWS
echo "--save over what it cannot read or its owner made read-only: refused: ok"
