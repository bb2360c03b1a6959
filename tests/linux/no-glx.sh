#!/usr/bin/env bash
# A display without OpenGL: the saver reports "Could not init OpenGL" through the call
# chain, in the box and on stderr, for a window of its own and for a foreign window.
source "$(dirname "$0")/xvfb-lib.sh"
start_xvfb 320x240 -extension GLX
start_host host 64x48

check_report() {
  local name="$1" chain="$2"
  find_box
  [ -n "$BOX" ] || fail "$name: no message box"
  xdotool windowfocus --sync "$BOX" key Return
  wait_exit "$SAVER_PID" 10
  [ "$EXIT_STATUS" = 1 ] || fail "$name: ended with $EXIT_STATUS"
  grep -qxF "Arcveil 3D: $chain" "$WORK/$name.err" || fail "$name: $(cat "$WORK/$name.err")"
  grep -qxF '"Could not init OpenGL. Try to choose another video mode or color depth"' "$WORK/$name.err" ||
    fail "$name: text: $(cat "$WORK/$name.err")"
  echo "$name: ok"
}

start_saver own -window --size 64x48
check_report own 'CLinuxSaverApp::Run() -> CLinuxSaverApp::MainLoop() -> CXSaverWnd::Create() -> CXSaverWnd::CreateOwnWindow()'
start_saver foreign -window-id "$HOST_ID"
check_report foreign 'CLinuxSaverApp::Run() -> CLinuxSaverApp::MainLoop() -> CXSaverWnd::Create() -> CXSaverWnd::AttachToForeignWindow()'
