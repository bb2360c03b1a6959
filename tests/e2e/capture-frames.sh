#!/usr/bin/env bash
# The running saver shows moving pictures: two captures of the screen a moment apart
# are each more than one colour, and they differ.
#   capture-frames.sh <saver_driver.exe> <Arcveil3D.scr> <output folder>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../wine/session.sh"
require_wine_session "" "$0" "$@"
driver="$1"
saver="$2"
out="$3"
mkdir -p "$out"
rm -f "$out/ready" "$out/go" "$out/frame1.png" "$out/frame2.png"

WINE_TEST_TIMEOUT=120 "$here/../../cmake/wine-run.sh" "$driver" "$(winpath "$saver")" end key \
  "$(winpath "$out/ready")" "$(winpath "$out/go")" &
driver_pid=$!
for _ in $(seq 1 300); do
  [ -e "$out/ready" ] && break
  kill -0 "$driver_pid" 2>/dev/null || break
  sleep 0.1
done
status=0
if [ -e "$out/ready" ]; then
  import -display "$DISPLAY" -window root "$out/frame1.png"
  sleep 0.7
  import -display "$DISPLAY" -window root "$out/frame2.png"
  touch "$out/go"
  colours1=$(convert "$out/frame1.png" -format %k info:)
  colours2=$(convert "$out/frame2.png" -format %k info:)
  changed=$(compare -metric AE "$out/frame1.png" "$out/frame2.png" null: 2>&1 || true)
  echo "frame 1: $colours1 colours; frame 2: $colours2 colours; $changed pixels changed between them"
  [ "$colours1" -gt 1 ] || { echo "FAILED: first capture is one colour"; status=1; }
  [ "$colours2" -gt 1 ] || { echo "FAILED: second capture is one colour"; status=1; }
  [ "${changed%%.*}" -gt 0 ] 2>/dev/null || { echo "FAILED: the picture did not change"; status=1; }
else
  echo "FAILED: the saver never became ready"
  status=1
fi
wait "$driver_pid" || status=1
exit $status
