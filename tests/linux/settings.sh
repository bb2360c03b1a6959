#!/usr/bin/env bash
# Settings reach the scene: with a fixed seed and a fixed clock step the saver draws the
# same frames as the offscreen renderer; a switch off changes the picture as it does
# there, whether it comes from a flag or from the settings file, and a flag overrides
# the file. A malformed file gives the defaults and one warning; nothing is written
# unless --save asks, and --save writes what the file and the flags say.
#   third argument: arcveil3d-render
source "$(dirname "$0")/xvfb-lib.sh"
RENDER="$3"
SETTINGS_DIR="$XDG_CONFIG_HOME/Quenmoor Soft./arcveil3d"
SETTINGS="$SETTINGS_DIR/settings.ini"
start_xvfb 320x240
start_host host 96x72
RUN=(--seed 1234 --step 0.25 --frames 8)

# frame NAME [options]: the saver's last frame in the test window, as NAME.ppm.
frame() {
  local name="$1"
  shift
  "$SAVER" -window-id "$HOST_ID" "${RUN[@]}" "$@" >"$WORK/$name.out" 2>"$WORK/$name.err" ||
    fail "$name: ended with $?: $(cat "$WORK/$name.err")"
  "$XWIN" capture "$HOST_ID" "$WORK/$name.ppm"
}

# reference NAME [--set ...]: the offscreen renderer's frame for the same run.
reference() {
  local name="$1"
  shift
  "$RENDER" --size 96x72 "${RUN[@]}" "$@" --out "$WORK/$name.png" >/dev/null 2>&1 || fail "$name: arcveil3d-render failed"
  convert "$WORK/$name.png" "$WORK/$name.ppm"
}

same() { cmp -s "$WORK/$1.ppm" "$WORK/$2.ppm"; }

frame defaults
frame again
same defaults again || fail "the same seed and step drew different frames"
[ -z "$(ls -A "$XDG_CONFIG_HOME" 2>/dev/null)" ] || fail "running wrote settings: $(ls -R "$XDG_CONFIG_HOME")"

reference render-defaults
reference render-nocross --set Cross=0
same render-defaults render-nocross && fail "the offscreen renderer draws the same with Cross=0"

frame flag-nocross -no-cross
same flag-nocross defaults && fail "-no-cross did not change the picture"
frame set-nocross --set Cross=0
same set-nocross flag-nocross || fail "--set Cross=0 and -no-cross differ"

mkdir -p "$SETTINGS_DIR"
printf '[Arcveil3D]\nCross=0\n' >"$SETTINGS"
cp "$SETTINGS" "$WORK/before.ini"
frame file-nocross
same file-nocross flag-nocross || fail "Cross=0 in the file did not reach the scene"
frame file-overridden -cross
same file-overridden defaults || fail "-cross did not override the file"
cmp -s "$SETTINGS" "$WORK/before.ini" || fail "running changed the settings file"
[ -z "$(cat "$WORK"/file-*.err)" ] || fail "a good file gave a message: $(cat "$WORK"/file-*.err)"
echo "flags, file and override reach the scene: ok"

# The offscreen renderer draws the same frames: the same renderer, seed and clock.
cmp -s "$WORK/defaults.ppm" "$WORK/render-defaults.ppm" &&
  cmp -s "$WORK/flag-nocross.ppm" "$WORK/render-nocross.ppm" ||
  fail "the saver's frames differ from arcveil3d-render's"
echo "same frames as arcveil3d-render: ok"

printf '[Arcveil3D]\nCross=zero\nthis line is not a setting\nRain=1.5\n' >"$SETTINGS"
frame malformed
same malformed defaults || fail "a malformed file did not give the defaults"
[ "$(wc -l <"$WORK/malformed.err")" = 1 ] || fail "not one warning: $(cat "$WORK/malformed.err")"
grep -q "^arcveil3d: warning: $SETTINGS: " "$WORK/malformed.err" || fail "warning: $(cat "$WORK/malformed.err")"
echo "malformed file: defaults, one warning: ok"

# --save: the file's values, then the flags, written atomically; no window is needed.
printf '[Arcveil3D]\nWidth=1024\n' >"$SETTINGS"
env -u DISPLAY "$SAVER" -no-rain --set Sounds=0 --save >"$WORK/save.out" 2>"$WORK/save.err" || fail "--save: $(cat "$WORK/save.err")"
[ "$(cat "$WORK/save.out")" = "$SETTINGS" ] || fail "--save printed $(cat "$WORK/save.out")"
for pair in Width=1024 Height=480 Depth=16 Desktop=0 Sounds=0 Cross=1 Hieroglyphs=1 Rain=0 HighQuality=1; do
  grep -qx "$pair" "$SETTINGS" || fail "--save: $pair missing: $(cat "$SETTINGS")"
done
[ "$(ls -A "$SETTINGS_DIR")" = settings.ini ] || fail "--save left $(ls -A "$SETTINGS_DIR")"
echo "--save: ok"
