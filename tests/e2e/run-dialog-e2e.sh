#!/usr/bin/env bash
# Runs the dialog, preview and information-page driver on an X screen of the given
# size, turning its BMP screenshots into PNG files:
#   run-dialog-e2e.sh WxH <dialog_driver.exe> <Arcveil3D.scr> <open_recorder.exe> <shot folder> [doctest options]
# Inside a with-wine.sh session of that size it uses that session; otherwise it starts
# a private one around itself.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
size="$1"
shift
. "$here/../wine/session.sh"
require_wine_session "$size" "$0" "$size" "$@"

driver="$1"
saver="$2"
recorder="$3"
shots="$4"
shift 4

mkdir -p "$shots"
export ARCVEIL_SCR="$(winpath "$saver")"
export ARCVEIL_OPEN_RECORDER="$(winpath "$recorder")"
export ARCVEIL_SHOT_DIR="$(winpath "$shots")"
status=0
WINE_TEST_TIMEOUT=240 "$here/../../cmake/wine-run.sh" "$driver" "$@" || status=$?
for bmp in "$shots"/*.bmp; do
  [ -e "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
exit $status
