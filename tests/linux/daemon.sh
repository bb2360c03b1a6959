#!/usr/bin/env bash
# Several monitors as XScreenSaver's daemon runs a saver, without the daemon: a window and
# a process on each monitor, the blanking's status on the root. Each shows its part of
# arcveil3d-render's panorama for the blank time as seed; the primary's alone has sound.
#   third argument: arcveil3d-render
source "$(dirname "$0")/xvfb-lib.sh"
RENDER="$3"
BLANK=1796723547
# still NAME WxH SEED [options] [CROP]: the first frame of a still scene, cropped, as NAME.png.
still() {
  "$RENDER" --size "$2" --seed "$3" --step 0 --frames 1 ${5:+--monitors "$4"} --out "$WORK/$1.png" >/dev/null 2>&1 &&
    convert "$WORK/$1.png" -crop "${5:-$2+0+0}" +repage "$WORK/$1.png" || fail "render $1"
}
LAYOUT=800x600+0+0,640x480+800+0
still primary 1440x600 $BLANK $LAYOUT 800x600+0+0
still second 1440x600 $BLANK $LAYOUT 640x480+800+0
still seeded 1440x600 7 $LAYOUT 640x480+800+0
still own 640x480 $BLANK
still alone 400x300 $BLANK
convert -size 640x480 xc:black "$WORK/black.png"
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
# shows WINDOW NAME: the window's picture is exactly NAME.png.
shows() { capture "$1" "$2-shot" 2>/dev/null && [ "$(compare -metric AE "$WORK/$2-shot.ppm" "$WORK/$2.png" null: 2>&1)" = 0 ]; }
instance primary "$PRIMARY" -sounds
for name in seeded own black second; do
  case $name in seeded) option=(-seed 7) ;; own) option=(-monitors span) ;; black) option=(-monitors primary) ;;
    second) option=(-sounds) ;; esac
  instance "$name" "$SECOND" "${option[@]}"
  eventually 20 shows "$SECOND" "$name" || fail "the other monitor's process under ${option[*]} does not show $name.png"
  [ $name = second ] || kill "$SAVER_PID"
done
eventually 20 shows "$PRIMARY" primary || fail "the primary's process does not show its view"
[ -s "$WORK/primary.raw" ] && [ ! -e "$WORK/second.raw" ] || fail "not the primary's process alone opened the sound"
echo "a process per monitor: the panorama of the blank time's storm, the sound on the primary; -seed, -monitors: ok"

# A window over the primary's, on no monitor exactly; then, the other monitor's window
# gone, sized (drawn off every monitor) and moved onto it.
start_host other 400x300
OTHER=$HOST_ID
xdotool windowmove "$OTHER" 100 60
instance alone "$OTHER" -delay 100000
eventually 20 shows "$OTHER" alone || fail "a window that is no monitor does not show one view"
kill "$SECOND_HOST_PID"
xdotool windowsize "$OTHER" 640 480
eventually 20 shows "$OTHER" own || fail "a window sized off every monitor does not show one view"
xdotool windowmove "$OTHER" 800 0
eventually 20 shows "$OTHER" second || fail "a window moved onto a monitor does not take its view"
echo "a window that is no monitor shows one view, and a monitor's when moved onto it: ok"
