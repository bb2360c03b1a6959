#!/usr/bin/env bash
# Every failure is one line on stderr, "arcveil3d: <text> (<call chain>)", and status 1
# (2 for a refused command line), leaving no window or process behind.
source "$(dirname "$0")/xvfb-lib.sh"
start_xvfb 320x240 -extension GLX
NO_GLX=$DISPLAY
start_host noglx 64x48
NO_GLX_HOST=$HOST_ID
start_xvfb 320x240
start_host inputonly 64x48 --input-only # nothing can draw on it
INPUT_ONLY=$HOST_ID HOST_ID=$NO_GLX_HOST
SAVER_FILE="$(realpath "$SAVER")" # pidof matches a path against what each process runs
touch "$WORK/file"

RUN='CLinuxSaverApp::Run() -> CLinuxSaverApp::MainLoop()'
OPEN="$RUN -> CXSaverWnd::Open()"
# name|environment|arguments|status|the one line expected
while IFS='|' read -r name environment arguments status line; do
  before="$(xwininfo -root -tree; DISPLAY=$NO_GLX xwininfo -root -tree)"
  timeout 20 env $environment "$SAVER" $arguments >/dev/null 2>"$WORK/$name.err" && got=0 || got=$?
  [ "$got" = "$status" ] || fail "$name: status $got: $(cat "$WORK/$name.err")"
  [ "$(wc -l <"$WORK/$name.err")" = 1 ] || fail "$name: not one line: $(cat "$WORK/$name.err")"
  grep -qxF "$line" "$WORK/$name.err" || fail "$name: $(cat "$WORK/$name.err")"
  [ "$before" = "$(xwininfo -root -tree; DISPLAY=$NO_GLX xwininfo -root -tree)" ] || fail "$name: the window tree changed"
  ! pidof "$SAVER_FILE" >/dev/null || fail "$name: a saver process is left: $(pidof "$SAVER_FILE")"
  echo "$name: ok"
done <<EOF
no display|-u DISPLAY|-window|1|arcveil3d: cannot open the X display: DISPLAY is not set; set it or use -display NAME ($OPEN -> CXSaverWnd::OpenDisplay())
wrong display||-display :9999 -root|1|arcveil3d: cannot open display ":9999": is an X server running there? Set DISPLAY or use -display NAME ($OPEN -> CXSaverWnd::OpenDisplay())
missing window||-window-id 0x3fffff1|1|arcveil3d: the window to draw into (0x3fffff1) does not exist ($OPEN -> CXSaverWnd::AttachToForeignWindow())
bad variable|XSCREENSAVER_WINDOW=garbage|-root|1|arcveil3d: XSCREENSAVER_WINDOW="garbage" is not a window id ($OPEN)
no GLX, own window|DISPLAY=$NO_GLX|-window|1|arcveil3d: the X server offers no GLX visual with a depth buffer (is its GLX extension on? Xvfb needs it, and Mesa's libGL for software drawing) ($OPEN -> CXSaverWnd::CreateOwnWindow())
no GLX, foreign window|DISPLAY=$NO_GLX|-window-id $HOST_ID|1|arcveil3d: the X server offers no GLX visual with a depth buffer (is its GLX extension on? Xvfb needs it, and Mesa's libGL for software drawing) ($OPEN -> CXSaverWnd::AttachToForeignWindow())
X error||-window-id $INPUT_ONLY|1|arcveil3d: the X server refused X_CreateGC: BadMatch (invalid parameter attributes) ($OPEN)
unwritable settings|-u DISPLAY XDG_CONFIG_HOME=$WORK/file|-no-rain --save|1|arcveil3d: the settings file $WORK/file/arcveil3d/settings.ini could not be written: Not a directory ($RUN -> CLinuxSaverApp::SaveSettings())
refused geometry||-geometry +40000+0|2|arcveil3d: -geometry: '+40000+0' is not WIDTHxHEIGHT+X+Y (either part may be left out; offsets up to 32767) (arcveil3d --help lists the options)
refused option||-fps -window-id nonsense|2|arcveil3d: -window-id: 'nonsense' is not a window id (arcveil3d --help lists the options)
EOF

# The X server killed during a run: the one line, status 1, however the loss is seen.
start_xvfb 320x240
XVFB_PID=${PIDS[-1]}
own_scene killed 64x48 --size 64x48 -delay 0
# libxcb reads the end of the connection before it writes; where a write comes first
# (SIGPIPE, signal 13), the signal must not end the saver silently.
(("0x$(sed -n 's/^SigIgn:\t//p' "/proc/$SAVER_PID/status")" & 1 << 12)) || fail "SIGPIPE is not ignored"
kill "$XVFB_PID"
wait_exit "$SAVER_PID" 10
[ "$EXIT_STATUS" = 1 ] && [ "$(cat "$WORK/killed.err")" = "arcveil3d: the connection to the X server was lost" ] ||
  fail "X server killed: status $EXIT_STATUS: $(cat "$WORK/killed.err")"
echo "X server killed: ok"
