#!/usr/bin/env bash
# Runs a command inside a private Wine world: its own Xvfb display and its own Wine
# prefix, both ended on every way out. Usage:
#   tests/wine/with-wine.sh [--screen WxH] [--prefix DIR] -- command args...
# The command sees DISPLAY, WINEPREFIX, WINEDEBUG and WINEDLLOVERRIDES, and XVFB_PID.
set -euo pipefail

screen=640x480
prefix=""
while [ $# -gt 0 ]; do
  case "$1" in
    --screen) screen="$2"; shift 2 ;;
    --prefix) prefix="$2"; shift 2 ;;
    --) shift; break ;;
    *) echo "with-wine.sh: unknown option $1" >&2; exit 2 ;;
  esac
done
[ $# -gt 0 ] || { echo "with-wine.sh: no command given" >&2; exit 2; }

. "$(dirname "${BASH_SOURCE[0]}")/../../cmake/wine-paths.sh"

workdir=$(mktemp -d /tmp/arcveil-wine.XXXXXX)
[ -n "$prefix" ] || prefix="$workdir/prefix"
export WINEPREFIX="$prefix"

xvfb_pid=""
cleanup() {
  local rc=$?
  # Never 'wineserver -w': it waits forever on a hung program.
  WINEPREFIX="$prefix" "$WINESERVER" -k >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$workdir"
  exit $rc
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A free display chosen by Xvfb itself, read back from fd 3.
exec 3> "$workdir/display"
Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp >"$workdir/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 1 100); do
  [ -s "$workdir/display" ] && break
  sleep 0.1
done
[ -s "$workdir/display" ] || { echo "with-wine.sh: Xvfb did not start" >&2; cat "$workdir/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$workdir/display")"
export XVFB_PID="$xvfb_pid"

mkdir -p "$prefix"
# One persistent wineserver for the whole run, started first so that wineboot and
# every test binary share it and none spawns Wine's background processes again
# (they would hold CTest's output pipe open).
"$WINESERVER" -p
if [ ! -f "$prefix/system.reg" ]; then
  timeout 180 "$WINE" wineboot -i </dev/null >/dev/null 2>&1 || true
fi
cat > "$workdir/settings.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine\Drivers]
"Audio"=""
REG
timeout 60 "$WINE" regedit /S "Z:$(echo "$workdir/settings.reg" | tr / '\\')" </dev/null >/dev/null 2>&1 || true

"$@"
