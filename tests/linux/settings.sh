#!/usr/bin/env bash
# One source of truth per way of running. With a fixed seed and clock step the saver's
# first frame is the offscreen renderer's; a switch changes it as --set does there. In
# a window of its own the settings file applies and flags override it; under
# XScreenSaver (-root, -window-id) the file is not read at all. A file at the old place
# moves to the new one when it is read; nothing is written unless --save asks. (What a
# malformed file gives is the settings file's unit test.)
#   third argument: arcveil3d-render
source "$(dirname "$0")/xvfb-lib.sh"
RENDER="$3"
OLD="$XDG_CONFIG_HOME/Quenmoor Soft./arcveil3d/settings.ini"
start_xvfb 320x240
start_host host 96x72
RUN=(--seed 1234 --step 0.25)
RUN_CHAIN='CLinuxSaverApp::Run() -> CLinuxSaverApp::MainLoop()'

# foreign NAME [options]: the first frame, drawn into the test window as XScreenSaver asks.
foreign() { frame_in "$HOST_ID" "$1" "${RUN[@]}" --frames 1 "${@:2}"; }
# own NAME [options]: the first frame in a window of its own (the next is 10 s away),
# away from the test window, whose picture would show through until the first frame.
own() {
  own_scene "$1" 96x72 -geometry 96x72+150+100 "${RUN[@]}" -delay 10000000 "${@:2}"
  stop_saver # its window goes with it
}
"$RENDER" --size 96x72 "${RUN[@]}" --set Cross=0 --out "$WORK/render.png" >/dev/null 2>&1 || fail "arcveil3d-render"
convert "$WORK/render.png" "$WORK/render.ppm"
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
[ -z "$(cat "$WORK"/*.err)" ] || fail "a message: $(cat "$WORK"/*.err)"
echo "the file: ignored by -root and -window-id, moved, applied, overridden, never written: ok"

# --save: the file's values, then the flags, written once; no display is needed.
printf '[Arcveil3D]\nWidth=1024\n' >"$SETTINGS"
env -u DISPLAY "$SAVER" -no-rain --set Hieroglyphs=0 --save >"$WORK/save.out" 2>"$WORK/save.err" ||
  fail "--save: $(cat "$WORK/save.err")"
[ "$(cat "$WORK/save.out")" = "$SETTINGS" ] || fail "--save printed $(cat "$WORK/save.out")"
for pair in Width=1024 Height=480 Depth=16 Desktop=0 Sounds=0 Cross=1 Hieroglyphs=0 Rain=0 HighQuality=1; do
  grep -qx "$pair" "$SETTINGS" || fail "--save: $pair missing: $(cat "$SETTINGS")"
done
[ "$(ls -A "$(dirname "$SETTINGS")")" = settings.ini ] || fail "--save left $(ls -A "$(dirname "$SETTINGS")")"
echo "--save: ok"

# --save as the user's own account (root reads anything): a file it cannot read whole,
# its own or another user's in its folder, or a FIFO (which must not block), is named in
# one line, status 1, and stays as it was.
AS_USER=()
[ "$(id -u)" != 0 ] || AS_USER=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
FILE="$WORK/user/arcveil3d/settings.ini"
chmod 755 "$WORK"
snapshot() { ls -li --time-style=+%s.%N "$WORK/user/arcveil3d"; [ -p "$FILE" ] || [ ! -r "$FILE" ] || cat "$FILE"; }
while IFS='|' read -r setup reason; do # setup, in the user's settings folder|reason
  rm -rf "$WORK/user" && mkdir -p "$(dirname "$FILE")" && { [ "${#AS_USER[@]}" = 0 ] || chown -R nobody "$WORK/user"; }
  (cd "$(dirname "$FILE")" && eval "$setup")
  before="$(snapshot)"
  timeout 10 env -u DISPLAY XDG_CONFIG_HOME="$WORK/user" "${AS_USER[@]}" "$SAVER" -no-rain --save >/dev/null \
    2>"$WORK/refused.err" && got=0 || got=$?
  [ "$got:$(cat "$WORK/refused.err")" = "1:arcveil3d: the settings file $FILE cannot be read ($reason); --save leaves \
it as it is ($RUN_CHAIN -> CLinuxSaverApp::SaveSettings())" ] && [ "$before" = "$(snapshot)" ] ||
    fail "--save after '$setup': status $got: $(cat "$WORK/refused.err"); $(snapshot)"
done <<'ROWS'
echo Rain=1 >settings.ini; chmod 000 settings.ini; chown --reference=. settings.ini|Permission denied
echo Rain=1 >settings.ini; chmod 600 settings.ini; if [ "$(id -u)" != 0 ]; then chmod 000 settings.ini; fi|Permission denied
mkfifo settings.ini; chown --reference=. settings.ini|not a regular file
ROWS
echo "--save over what it cannot read: refused: ok"
