#!/usr/bin/env bash
# Failures go through the call chain: the report is printed on stderr and shown in a
# message box captioned "Arcveil 3D:"; the program ends with status 1 once it is closed.
source "$(dirname "$0")/xvfb-lib.sh"
start_xvfb 320x240


# A window that does not exist.
start_saver missing -window-id 0x3fffff1
find_box
[ -n "$BOX" ] || fail "no message box"
kill -0 "$SAVER_PID" || fail "the program did not wait for the box"
xdotool windowfocus --sync "$BOX" key Return
wait_exit "$SAVER_PID" 10
[ "$EXIT_STATUS" = 1 ] || fail "ended with $EXIT_STATUS after the box"
EXPECTED='CLinuxSaverApp::Run() -> CLinuxSaverApp::MainLoop() -> CXSaverWnd::Create() -> CXSaverWnd::AttachToForeignWindow()'
grep -qxF "Arcveil 3D: $EXPECTED" "$WORK/missing.err" || fail "chain: $(cat "$WORK/missing.err")"
grep -qxF '"Could not find the window to draw into"' "$WORK/missing.err" || fail "text: $(cat "$WORK/missing.err")"
echo "missing window: box, chain, text, status 1: ok"

# An XSCREENSAVER_WINDOW that is not a window id.
XSCREENSAVER_WINDOW=garbage "$SAVER" -root --frames 1 >/dev/null 2>"$WORK/garbage.err" &
SAVER_PID=$!
PIDS+=("$SAVER_PID")
find_box
[ -n "$BOX" ] || fail "no message box for a bad XSCREENSAVER_WINDOW"
xdotool windowfocus --sync "$BOX" key Return
wait_exit "$SAVER_PID" 10
[ "$EXIT_STATUS" = 1 ] || fail "bad XSCREENSAVER_WINDOW: ended with $EXIT_STATUS"
grep -qF 'CXSaverWnd::Create()' "$WORK/garbage.err" || fail "$(cat "$WORK/garbage.err")"
echo "bad XSCREENSAVER_WINDOW: ok"

# -display names the display for the drawing and for the box alike.
env -u DISPLAY "$SAVER" -display "$DISPLAY" -window-id 0x3fffff1 >/dev/null 2>"$WORK/option.err" &
SAVER_PID=$!
PIDS+=("$SAVER_PID")
find_box
[ -n "$BOX" ] || fail "-display: no message box on $DISPLAY"
xdotool windowfocus --sync "$BOX" key Return
wait_exit "$SAVER_PID" 10
[ "$EXIT_STATUS" = 1 ] || fail "-display: ended with $EXIT_STATUS"
grep -qF 'CXSaverWnd::AttachToForeignWindow()' "$WORK/option.err" || fail "-display: $(cat "$WORK/option.err")"
echo "-display: ok"

# No display at all: the report on stderr alone, and no wait.
env -u DISPLAY timeout 20 "$SAVER" -window >/dev/null 2>"$WORK/nodisplay.err" && status=0 || status=$?
[ "$status" = 1 ] || fail "no display: ended with $status"
grep -qxF 'Arcveil 3D: CLinuxSaverApp::Run() -> CLinuxSaverApp::MainLoop() -> CXSaverWnd::Create() -> CXSaverWnd::OpenDisplay()' \
  "$WORK/nodisplay.err" || fail "no display: $(cat "$WORK/nodisplay.err")"
grep -qxF '"Could not open the X display"' "$WORK/nodisplay.err" || fail "no display text"
echo "no display: ok"

# A refused command line is no failure report: usage, status 2, no box.
"$SAVER" -window-id nonsense >/dev/null 2>"$WORK/usage.err" && status=0 || status=$?
[ "$status" = 2 ] || fail "bad option: ended with $status"
grep -q "^arcveil3d: -window-id: 'nonsense' is not a window id" "$WORK/usage.err" || fail "$(cat "$WORK/usage.err")"
echo "refused option: ok"
