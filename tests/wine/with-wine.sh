#!/usr/bin/env bash
# Runs a command inside a private Wine world: its own Xvfb display and Wine prefix,
# both ended on every way out. The command sees DISPLAY, WINEPREFIX and Wine's settings.
# --monitors gives it monitors side by side instead of one screen: a Xephyr nested in
# the Xvfb, with Xinerama and without RandR, which Wine reads as that many monitors.
#   tests/wine/with-wine.sh [--screen WxH | --monitors WxH,WxH...] [--prefix DIR] -- command args...
set -euo pipefail
screen=640x480 prefix="" monitors=""
while [ "${1:-}" != "--" ]; do
  case "${1:-}" in
    --screen) screen="$2"; shift 2 ;;
    --monitors) monitors="$2"; screen=2048x1024; shift 2 ;;
    --prefix) prefix="$2"; shift 2 ;;
    *) echo "usage: with-wine.sh [--screen WxH | --monitors WxH,WxH...] [--prefix DIR] -- command args..." >&2
       exit 2 ;;
  esac
done
shift
. "$(dirname "${BASH_SOURCE[0]}")/../../cmake/wine-paths.sh"
work=$(mktemp -d /tmp/arcveil-wine.XXXXXX)
export WINEPREFIX="${prefix:-$work/prefix}"
xvfb="" xephyr=""
finish() {
  local rc=$?
  "$WINESERVER" -k >/dev/null 2>&1 || true # never -w: it waits forever on a hung program
  if [ -n "$xephyr" ]; then kill "$xephyr" 2>/dev/null || true; wait "$xephyr" 2>/dev/null || true; fi
  if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true; fi
  rm -rf "$work"
  exit $rc
}
trap finish EXIT
trap 'exit 130' INT TERM

# Xvfb takes a free display and writes its number to fd 3.
Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "with-wine.sh: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"
if [ -n "$monitors" ]; then
  heads=()
  for size in ${monitors//,/ }; do heads+=(-screen "$size"); done
  Xephyr -displayfd 4 +xinerama -extension RANDR "${heads[@]}" -nolisten tcp 4>"$work/nested" >"$work/xephyr.log" 2>&1 &
  xephyr=$!
  for _ in $(seq 100); do [ -s "$work/nested" ] && break; sleep 0.1; done
  [ -s "$work/nested" ] || { echo "with-wine.sh: Xephyr did not start" >&2; cat "$work/xephyr.log" >&2; exit 1; }
  export DISPLAY=":$(head -n1 "$work/nested")"
fi

# One wineserver for the whole run, started first: a test that started it would spawn
# Wine's background processes, which hold CTest's output pipe open.
mkdir -p "$WINEPREFIX"
"$WINESERVER" -p
[ -f "$WINEPREFIX/system.reg" ] || timeout 180 "$WINE" wineboot -i </dev/null >/dev/null 2>&1 || true
# Without a window manager closing a window waits 2 s unless Wine manages none; no sound
# card; a program that crashes ends at once instead of waiting in a debugger.
printf '%s\n' REGEDIT4 '' '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' '' \
  '[HKEY_CURRENT_USER\Software\Wine\Drivers]' '"Audio"=""' '' \
  '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]' '"Auto"="1"' '"Debugger"=""' \
  >"$work/settings.reg"
timeout 60 "$WINE" regedit /S "Z:${work//\//\\}\\settings.reg" </dev/null >/dev/null 2>&1 || true
"$@"
