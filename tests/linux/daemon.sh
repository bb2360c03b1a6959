#!/usr/bin/env bash
# Several monitors as XScreenSaver's daemon runs a saver, without the daemon: a window on
# each of two monitors (an 800x600 primary and a 640x480 to its right), the blanking's
# status on the root, and a process in each window as the daemon starts them (-root,
# XSCREENSAVER_WINDOW). Each shows its monitor's part of the panorama that
# arcveil3d-render --monitors draws with the blank time for seed; -seed wins; only the
# primary's process opens the sound; -monitors span gives one view of the window's own
# and -monitors primary leaves the other black; a window that is no monitor shows one
# view, and takes a monitor's when it is moved onto one.
#   third argument: arcveil3d-render
source "$(dirname "$0")/xvfb-lib.sh"
RENDER="$3"
BLANK=1796723547
# still NAME WxH SEED [options]: the first frame of a still scene, as NAME.png.
still() {
  "$RENDER" --size "$2" --seed "$3" --step 0 --frames 1 "${@:4}" --out "$WORK/$1.png" >/dev/null 2>&1 || fail "render $1"
}
still views 1440x600 $BLANK --monitors 800x600+0+0,640x480+800+0
still seeded 1440x600 7 --monitors 800x600+0+0,640x480+800+0
still alone 400x300 $BLANK
still own-1 640x480 $BLANK
convert "$WORK/views.png" -crop 800x600+0+0 +repage "$WORK/views-0.png"
convert "$WORK/views.png" -crop 640x480+800+0 +repage "$WORK/views-1.png"
convert "$WORK/seeded.png" -crop 640x480+800+0 +repage "$WORK/seeded-1.png"

start_xephyr +xinerama -extension RANDR -screen 800x600 -screen 640x480
# The daemon's windows. Their client stays connected, and so the root keeps its status.
start_host primary 800x600
PRIMARY=$HOST_ID
start_host second 640x480
SECOND=$HOST_ID
SECOND_HOST_PID=$HOST_PID
xdotool windowmove "$SECOND" 800 0
xprop -root -f _SCREENSAVER_STATUS 32i -set _SCREENSAVER_STATUS "253, $BLANK, 1, 1"

# instance NAME WINDOW options...: a process in the window, its sound (if any) to NAME.raw.
instance() {
  XSCREENSAVER_WINDOW=$2 SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/$1.raw" \
    start_saver "$1" --root -step 0 -delay 10000000 "${@:3}"
}
# shows WINDOW NAME PNG: the window's picture is exactly PNG's.
shows() { capture "$1" "$2" 2>/dev/null && [ "$(compare -metric AE "$WORK/$2.ppm" "$3" null: 2>&1)" = 0 ]; }
instance primary-saver "$PRIMARY" -sounds
instance second-saver "$SECOND" -sounds
eventually 20 shows "$PRIMARY" primary-shot "$WORK/views-0.png" || fail "the primary's process does not show its view"
eventually 20 shows "$SECOND" second-shot "$WORK/views-1.png" || fail "the second monitor's process does not show its view"
[ -s "$WORK/primary-saver.raw" ] && [ ! -e "$WORK/second-saver.raw" ] || fail "not the primary's process alone opened the sound"
echo "a process per monitor: the panorama of the blank time's storm, the sound on the primary: ok"

kill "$SAVER_PID"
instance seeded "$SECOND" -seed 7
eventually 20 shows "$SECOND" seeded "$WORK/seeded-1.png" || fail "-seed does not win over the blank time"
kill "$SAVER_PID"
instance span "$SECOND" -monitors span
eventually 20 shows "$SECOND" span "$WORK/own-1.png" || fail "-monitors span: not one view of the window's own"
kill "$SAVER_PID"
instance dark "$SECOND" -monitors primary
eventually 20 sh -c "import -window $SECOND $WORK/dark.png && [ \$(convert $WORK/dark.png -format '%[fx:maxima]' info:) = 0 ]" ||
  fail "-monitors primary: the other monitor is not black"
echo "-seed wins; -monitors span gives one view, primary leaves the other black: ok"

# A window over the primary's, on no monitor exactly; then, the second monitor's window
# gone, put in its place.
start_host other 400x300
OTHER=$HOST_ID
xdotool windowmove "$OTHER" 100 60
instance other "$OTHER" -delay 100000
eventually 20 shows "$OTHER" other "$WORK/alone.png" || fail "a window that is no monitor does not show one view"
kill "$SECOND_HOST_PID"
# Sized first, and drawn at that size off every monitor; then moved onto one.
xdotool windowsize "$OTHER" 640 480
eventually 20 shows "$OTHER" sized "$WORK/own-1.png" || fail "a window sized off every monitor does not show one view"
xdotool windowmove "$OTHER" 800 0
eventually 20 shows "$OTHER" moved "$WORK/views-1.png" || fail "a window moved onto a monitor does not take its view"
echo "a window that is no monitor shows one view, and a monitor's when moved onto it: ok"
