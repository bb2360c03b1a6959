#!/usr/bin/env bash
# XScreenSaver's standard options, and the window of its own. The settings description
# passes only options the saver takes, and ticks by default (a box without arg-set,
# XScreenSaver's rule) just the layers on by default.
#   third argument: the settings description, linux/arcveil3d.xml
source "$(dirname "$0")/xvfb-lib.sh"
XML="$3"
xmllint --xpath '//@arg | //@arg-set | //@arg-unset' "$XML" | sed -n 's/^ *arg[a-z-]*="\([^"]*\)"$/\1/p' >"$WORK/args"
while read -r arg; do
  "$SAVER" ${arg//%/20000} --help >/dev/null || fail "the settings description passes '$arg', which is refused"
done <"$WORK/args"
[ "$(xmllint --xpath '//boolean[not(@arg-set)]/@id' "$XML" | tr -d '\n')" = ' id="rain" id="cross" id="hieroglyphs"' ] ||
  fail "the boxes ticked by default are not the layers on by default"
start_xvfb 400x300

own_scene options 80x60 -geometry 80x60-250+20 -visual default --install -noinstall --mono -pair --sync \
  --fps -no-fps --delay 20000
xwininfo -id "$OWN" | grep -q 'Absolute upper-left X:  70$' && xwininfo -id "$OWN" | grep -q 'upper-left Y:  20$' ||
  fail "-geometry 80x60-250+20: $(xwininfo -id "$OWN")"
props="$(xprop -id "$OWN" WM_CLASS _NET_WM_PID WM_CLIENT_MACHINE)"
[ "$props" = "WM_CLASS(STRING) = \"arcveil3d\", \"Arcveil3D\"
_NET_WM_PID(CARDINAL) = $SAVER_PID
WM_CLIENT_MACHINE(STRING) = \"$(hostname)\"" ] || fail "window properties: $props"
xdotool key --window "$OWN" a click --window "$OWN" 1
sleep 0.3
gone "$SAVER_PID" && fail "-window: ended by a key or a button, which only the stand-alone saver heeds"
xdotool windowsize "$OWN" 200 100
wait_scene "$OWN" options-resized 200x100
xdotool windowclose "$OWN"
wait_exit "$SAVER_PID" 10 0
[ ! -s "$WORK/options.err" ] || fail "stderr: $(cat "$WORK/options.err")"
echo "standard options, geometry, window properties, resized, closed: ok"
