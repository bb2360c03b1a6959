#!/usr/bin/env bash
# Runs end-to-end scenarios of the saver driver on an X screen of the given size:
#   run-e2e.sh WxH <saver_driver.exe> <Arcveil3D.scr> scenario[:arg...] ...
# Inside a with-wine.sh session whose screen has that size it uses that session;
# otherwise it starts a private one (Xvfb, prefix, wineserver) around itself.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
size="$1"
shift
. "$here/../wine/session.sh"
require_wine_session "$size" "$0" "$size" "$@"

driver="$1"
saver="$2"
shift 2

failed=0
for scenario in "$@"; do
  IFS=: read -r -a words <<<"$scenario"
  echo "== $scenario"
  if ! WINE_TEST_TIMEOUT=120 "$here/../../cmake/wine-run.sh" "$driver" "$(winpath "$saver")" "${words[@]}"; then
    echo "== $scenario: FAILED"
    failed=1
  fi
done
exit $failed
