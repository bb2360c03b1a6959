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
    --monitors) monitors="$2"; shift 2 ;;
    --prefix) prefix="$2"; shift 2 ;;
    *) sed -n '6s/^#  */usage: /p' "$0" >&2; exit 2 ;; # the usage line above
  esac
done
shift
. "$(dirname "${BASH_SOURCE[0]}")/../../cmake/wine-paths.sh"
. "$(dirname "${BASH_SOURCE[0]}")/../shell-lib.sh"
export WINEPREFIX="${prefix:-$WORK/prefix}"
# Wine's processes first (never -w: it waits forever on a hung program), then the X servers.
trap 'rc=$?; "$WINESERVER" -k >/dev/null 2>&1; cleanup; exit $rc' EXIT
trap 'exit 130' INT TERM
if [ -n "$monitors" ]; then
  # shellcheck disable=SC2046 # one -screen option a size
  start_xephyr +xinerama -extension RANDR $(printf -- '-screen %s ' ${monitors//,/ })
else
  start_xvfb "$screen"
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
  >"$WORK/settings.reg"
timeout 60 "$WINE" regedit /S "Z:${WORK//\//\\}\\settings.reg" </dev/null >/dev/null 2>&1 || true
"$@"
