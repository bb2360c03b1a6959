#!/usr/bin/env bash
# Several monitors (an 800x600 primary, a 640x480 to its right) as a user sees them: -s
# and -root in the bare root window show each its view, as arcveil3d-render --monitors
# draws them; -s ends at once, whatever -delay, at any input on either monitor.
#   third argument: arcveil3d-render
source "$(dirname "$0")/xvfb-lib.sh"
RENDER="$3"
RUN=(--seed 3 --step 0.25)
LAYOUT=800x600+0+0,640x480+800+0
"$RENDER" --size 1440x600 --monitors "$LAYOUT" "${RUN[@]}" --out "$WORK/views.png" >/dev/null 2>&1 || fail "render"
"$RENDER" --size 800x600 "${RUN[@]}" --out "$WORK/one.png" >/dev/null 2>&1
start_xephyr +xinerama -extension RANDR -screen 800x600 -screen 640x480
start_host desktop 1440x600 # the desktop's stand-in, under everything

# monitor N NAME: monitor N's part of NAME.png (0: the primary), as NAME-N.png.
CROPS=(${LAYOUT//,/ })
monitor() { convert "$WORK/$2.png" -crop "${CROPS[$1]}" +repage "$WORK/$2-$1.png"; }
same_png() { [ "$(compare -metric AE "$WORK/$1.png" "$WORK/$2.png" null: 2>&1)" = 0 ]; }
# covered NAME: the saver's first frame is on the screen, with no magenta on a monitor.
covered() {
  timeout 10 import -window root -depth 8 "$WORK/$1.png" 2>/dev/null || return 1
  monitor 0 "$1" && monitor 1 "$1" && [ "$(identify -format '%k' "$WORK/$1-0.png")" -gt 50 ] &&
    [ "$(convert "$WORK/$1-0.png" "$WORK/$1-1.png" +append -fill black +opaque '#ff00ff' -format '%[fx:maxima.r]' info:)" = 0 ]
}
monitor 0 views && monitor 1 views

# NAME|options|where the pointer starts|what is done before the input that ends it|that input
while IFS='|' read -r name options start before input; do
  xdotool mousemove $start
  start_saver "$name" $options "${RUN[@]}" -delay 10000000
  eventually 20 covered "$name" || fail "$name: the monitors are not covered"
  case "$name" in
  each)
    same_png each-0 one || fail "each: the primary's view is not the one-monitor picture"
    same_png each-1 views-1 || fail "each: the second monitor's view is not arcveil3d-render's"
    same_png each-1 each-0 && fail "each: both monitors show the same" ;;
  primary)
    same_png primary-0 one || fail "primary: the primary's view is not the one-monitor picture"
    [ "$(convert "$WORK/primary-1.png" -format '%[fx:maxima]' info:)" = 0 ] || fail "primary: the other is not black" ;;
  fps)
    # The rest of the frame: the two lines' corner blacked out.
    convert "$WORK/fps-0.png" -fill black -draw 'rectangle 0,558 95,599' "$WORK/fps-rest.png"
    convert "$WORK/one.png" -fill black -draw 'rectangle 0,558 95,599' "$WORK/one-rest.png"
    # Its lines at the primary's own scale: "Load: -" reaches past x = 50.
    convert "$WORK/fps-0.png" "$WORK/one.png" -compose difference -composite -crop 46x42+50+558 "$WORK/fps-far.png"
    same_png fps-rest one-rest && same_png fps-1 views-1 &&
      [ "$(convert "$WORK/fps-far.png" -format '%[fx:maxima]' info:)" != 0 ] ||
      fail "fps: not in the primary's lower-left corner at its scale" ;;
  esac
  sleep 0.3
  if [ -n "$before" ]; then
    $before
    sleep 0.5
    gone "$SAVER_PID" && fail "$name: ended by '$before'"
  fi
  $input
  wait_exit "$SAVER_PID" 5 0
  echo "$name: covered, ended by '$input' on the second monitor: ok"
done <<EOF2
each|-s|1000 100||xdotool mousemove 1001 100
primary|-monitors primary --s|1000 300|xdotool click 4 click 5|xdotool click 3
fps|-fps /S|1200 50||xdotool key a
focus|-no-rain -S|1000 100||xdotool windowfocus $HOST_ID
EOF2

# -root in the bare root window: the same views, drawn into the root itself (no window
# of another client over it, whose going would repaint the root).
kill "$HOST_PID"
start_saver root -root "${RUN[@]}" -delay 10000000
eventually 20 covered root && same_png root-0 one && same_png root-1 views-1 || fail "-root: not one view per monitor"
echo "-root in the bare root window: a view per monitor: ok"
[ -z "$(cat "$WORK"/*.err)" ] || fail "stderr: $(cat "$WORK"/*.err)"

# A screen that grows (RandR): the stand-alone window follows it out to its new edges.
start_xephyr -resizeable -screen 640x480
start_saver grown -s "${RUN[@]}" -delay 100000
# grown W H: the screen is WxH, with the scene in its lower-right corner.
grown() {
  timeout 10 import -window root -depth 8 "$WORK/grown.png" 2>/dev/null &&
    [ "$(identify -format '%wx%h' "$WORK/grown.png")" = "$1x$2" ] &&
    [ "$(convert "$WORK/grown.png" -crop "160x120+$(($1 - 160))+$(($2 - 120))" -format '%k' info:)" -gt 20 ]
}
eventually 20 grown 640 480 || fail "grown: no scene at 640x480: $(cat "$WORK/grown.err")"
xrandr -s 800x600 2>/dev/null
eventually 20 grown 800 600 || fail "grown: the window did not follow the screen to 800x600"
kill "$SAVER_PID"
echo "a screen that grows is covered again: ok"
